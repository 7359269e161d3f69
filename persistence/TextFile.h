#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The data files are lines of text ending in CR LF. Readers take LF alone
// too; writers always write CR LF, whole, through a temporary file that is
// renamed over the old one, so a crash leaves the old file or the new one.
namespace persistence {

using TLines = std::vector<std::string>;

// The lines of `text`; a last line without an ending counts, an empty text
// has no lines.
TLines SplitLines(const std::string& text);

// The lines joined, each followed by CR LF.
std::string JoinLines(const TLines& lines);

// The lines of a file, or nullopt when it cannot be read.
std::optional<TLines> ReadLines(const std::filesystem::path& file);

// Writes the lines whole; false (the old file untouched, the reason in
// `error`) on any failure.
bool WriteLines(const std::filesystem::path& file, const TLines& lines, std::string* error = nullptr);

// A whole decimal number (optional sign, no other characters); nullopt otherwise.
std::optional<int> ParseInt(const std::string& text);

// Copies a damaged file beside itself as NAME.damaged, once: a copy kept from
// an earlier damage is not overwritten. Called before the first rewrite.
void KeepDamagedCopy(const std::filesystem::path& file);

} // namespace persistence

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File and folder names are compared without regard to letter case, as the
// program's data files and card sets have always been named loosely. These
// helpers find an existing entry whatever its case on a case-sensitive disk.
namespace platform {

// True when the two names are equal ignoring ASCII letter case.
bool SameName(std::string_view a, std::string_view b);

// The entry of `folder` whose name equals `name` without regard to case; the
// exact spelling wins when several differ only by case.
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder,
                                               std::string_view name);

// Resolves `relative` (components separated by "/" or "\") below `folder`,
// one component at a time, without regard to case.
std::optional<std::filesystem::path> FindPath(const std::filesystem::path& folder,
                                              std::string_view relative);

// Like FindPath, but the components that do not exist yet are kept as
// written, so a caller can create them.
std::filesystem::path ResolvePath(const std::filesystem::path& folder, std::string_view relative);

// The folders of a search-path list such as $PATH, split at ":".
std::vector<std::filesystem::path> SplitSearchPath(std::string_view list);

// Writes `contents` to `file` through a temporary file in the same folder that
// is renamed over the old one, so a crash never leaves half a file behind.
// Returns false (and leaves the old file alone) when anything fails.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view contents);

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

} // namespace platform

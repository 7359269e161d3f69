#pragma once

#include <cstdint>
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

// How much each kind of file may hold. Anything larger is not one of ours
// (or is a device or a runaway file) and is refused before it is read.
inline constexpr std::uintmax_t DataFileLimit = std::uintmax_t(4) << 20;     // options, statistics, lists
inline constexpr std::uintmax_t SavedGameLimit = std::uintmax_t(64) << 20;   // far above a million actions
inline constexpr std::uintmax_t PictureFileLimit = std::uintmax_t(64) << 20;
inline constexpr std::uintmax_t SoundFileLimit = std::uintmax_t(64) << 20;

// Writes `contents` to `file` through a temporary file in the same folder
// ("NAME.tmp", one per file, so a write cut short by a kill leaves nothing
// the next write does not reuse) that is flushed to the disk and renamed over
// the old one; the folder is flushed after the rename. So a crash or a power
// cut leaves the old file or the new one, never a short or empty one.
// Returns false (and leaves the old file alone) when anything fails;
// `error`, when given, then says why in a few words.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view contents,
                         std::string* error = nullptr);

// The temporary name WriteFileAtomically uses for `file`.
std::filesystem::path TemporaryFileFor(const std::filesystem::path& file);

// Reads a whole regular file of at most `limit` bytes. A device, a pipe, a
// folder or a larger file is refused without blocking and without reading
// it; nullopt then or when it cannot be read, and `error` says why.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file,
                                         std::uintmax_t limit = DataFileLimit,
                                         std::string* error = nullptr);

// True for a regular file (links followed) of at most `limit` bytes; for
// readers that take a file name rather than its bytes.
bool IsRegularFileWithin(const std::filesystem::path& file, std::uintmax_t limit);

// For tests: while set to an errno value, every WriteFileAtomically fails
// with it after creating its temporary file (a full disk, a read-only one).
// Zero writes normally again.
void SimulateWriteFailure(int errorNumber);

} // namespace platform

#pragma once

#include <QDateTime>

#include <filesystem>
#include <string>

// The player's saved games: files "*.tsg" under "Save Games" in the data
// folder, also in sub-folders.
namespace persistence {

inline constexpr const char* SaveGamesFolder = "Save Games";

// The name a new saved game is offered under: the game's name, a space and
// the date and time, with "/" and ":" (which no file name may hold on every
// desktop) replaced by "-".
std::string ProposedSaveName(const std::string& gameName, const QDateTime& when);

// Deletes every ".tsg" file (any letter case) in `folder` below the data
// folder and in all its sub-folders; folders and other files stay. Returns
// the number of files deleted.
int DeleteFiles(const std::filesystem::path& dataRoot, const std::string& folder);

} // namespace persistence

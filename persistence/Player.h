#pragma once

#include <filesystem>
#include <string>

// Player.dat: the name last typed into a high-score entry, and the data version.
namespace persistence {

// Line 0 of Player.dat, or empty when there is none.
std::string ReadPlayerName(const std::filesystem::path& dataRoot);

// Makes `name` line 0 of Player.dat, keeping the version line; false when it
// cannot be written.
bool WritePlayerName(const std::filesystem::path& dataRoot, const std::string& name);

} // namespace persistence

#include "persistence/Player.h"

#include "persistence/FileLocation.h"
#include "persistence/TextFile.h"
#include "platform/FilePath.h"

namespace persistence {

namespace {

std::filesystem::path PlayerFile(const std::filesystem::path& dataRoot)
{
    return platform::ResolvePath(dataRoot, "Player.dat");
}

} // namespace

std::string ReadPlayerName(const std::filesystem::path& dataRoot)
{
    const std::optional<TLines> lines = ReadLines(PlayerFile(dataRoot));
    return lines && !lines->empty() ? lines->front() : std::string();
}

bool WritePlayerName(const std::filesystem::path& dataRoot, const std::string& name)
{
    const std::filesystem::path file = PlayerFile(dataRoot);
    TLines lines = ReadLines(file).value_or(TLines{});
    // The file always has exactly its two lines; anything else was not
    // written by us and is kept aside before it is replaced.
    if (!lines.empty() && lines.size() != 2)
        KeepDamagedCopy(file);
    lines.resize(2);
    if (lines[1].empty())
        lines[1] = std::to_string(DataVersion);
    lines[0] = name;
    return WriteLines(file, lines);
}

} // namespace persistence

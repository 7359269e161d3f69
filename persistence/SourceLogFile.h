#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The saved-game file is the game record written out line by line: the game
// name, the seed, the open/closed mark, then four lines per action. The reader
// refuses anything it could not replay faithfully instead of guessing.
struct TSavedGame {
    std::string GameName;
    std::uint32_t Seed = 0;   // stored as a signed 32-bit number, used as the generator state
    bool Open = true;         // "O" open, "0" closed
    struct TAction {
        int Kind = 0;         // 0..7
        int Pile = 0;
        int Position = 0;
        int DropPoint = 0;
    };
    std::vector<TAction> Actions;
};

// Parses the text of a saved game; on failure returns nullopt and sets `error`
// to a one-line reason.
std::optional<TSavedGame> ParseSavedGame(const std::string& text, std::string& error);

// A line of a file for a message: in double quotes, at most 40 characters,
// control and non-ASCII bytes written as \xNN so that a damaged file can
// neither break the message's one line nor send a terminal its codes.
std::string QuotedExcerpt(const std::string& text);

// Reads and parses a file; a missing or unreadable file is an error too.
std::optional<TSavedGame> ReadSavedGame(const std::filesystem::path& file, std::string& error);

// The record lines joined with CR LF, each line terminated.
std::string FormatSourceLog(const std::vector<std::string>& sourceLog);

// Writes the record whole; false (the old file kept, the reason in `error`)
// when it cannot be written.
bool WriteSourceLog(const std::filesystem::path& file, const std::vector<std::string>& sourceLog,
                    std::string* error = nullptr);

// Marks a saved game's file closed ("0" in its third line) so that its result
// is never counted again; a file already closed, missing or unreadable is left
// alone. False when the file should have been closed but could not be written.
bool CloseSavedGameFile(const std::filesystem::path& file);

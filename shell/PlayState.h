#pragma once

#include <string>

class TEngine;

// Whether a game is in play and whether the table takes commands: the one
// place the window and its parts ask. Without a card set there is no engine,
// and then no game is ever in play and the table never takes a command.
class TPlayState {
public:
    TPlayState() = default;
    explicit TPlayState(const TEngine& engine) : Engine(&engine) {}

    bool HasTable() const { return Engine != nullptr; }
    // A game is dealt (a preview on the start screen is none).
    bool InPlay() const;
    // A deal, a replay or a show holds the table.
    bool Busy() const;
    // The table takes a new game or a file.
    bool Free() const { return HasTable() && !Busy(); }
    // The game in play takes a command.
    bool Commandable() const { return InPlay() && !Busy(); }
    // A dealt game is open and not yet counted in the statistics.
    bool Uncounted() const;
    // The window is closing: no more cues.
    bool ShuttingDown() const;
    // Empty while no game is in play.
    std::string GameName() const;

private:
    const TEngine* Engine = nullptr;
};

#pragma once

#include <cstdint>
#include <random>
#include <string>

class TEngine;

// One random player action: a drag of a draggable card (or of the stock's
// top card) to a random drop point, legal or not, a stock click, a redeal, an
// undo, a redo or the automatic moves; in the games played by clicking, a
// click on a random card. Every action goes through the same routines as the
// mouse and the menus, so the game record replays it.
// How the random player may use undo and redo:
// - Free: any action at any time, so a new move after an undo closes the game;
// - KeepRedoable: while undone actions wait for a redo, only undo and redo,
//   so the game record never loses its tail and a replay scores the same;
// - Never: no undo or redo, every action stays in the record.
enum class TUndoUse { Free, KeepRedoable, Never };

void PlayRandomAction(TEngine& engine, std::mt19937& random, TUndoUse undoUse = TUndoUse::Free);

// Redoes every undone action (the random player's way of finishing).
void RedoEverything(TEngine& engine);

// Deals `game` from `seed` and plays `actions` random actions with undo and
// redo kept redoable, then redoes everything, so that the game record
// replays to exactly the state reached, points and positions included. The
// player's choices come from a generator of their own seeded with `seed`.
// False when there is no such game.
bool PlayRandomGame(TEngine& engine, const std::string& game, std::uint32_t seed, long long actions);

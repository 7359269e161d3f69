#pragma once

#include <functional>

// Waits that let the window repaint: a local event loop with a timer, never a
// busy spin. Input by the player stays queued unless `withInput` is set, so
// nothing the engine is in the middle of can be re-entered by a click.
//
// Returns once `done` is true or `milliseconds` have passed, whichever comes
// first; `done` may be empty.
void PauseUntil(int milliseconds, const std::function<bool()>& done, bool withInput = false);

// Sleeps without looking at the window at all (the short pauses between
// cards of a deal, which must not let anything else happen).
void SleepFor(int milliseconds);

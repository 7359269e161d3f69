#pragma once

#include "persistence/TextFile.h"

#include <filesystem>
#include <string>

// Options.dat: the lines the main window keeps, read once at start and
// written only when the player saves the options. Lines:
// 0 placeholder, 1 sound, 2 scoring, 3 winning animation, 4 card size step,
// 5 layout, 6 the verdict as you play, 7 winnable deals only. Lines came
// to the end over time, so an older, shorter file reads with the defaults
// of the lines it lacks.
namespace persistence {

enum TOptionLine { olUnused = 0, olSound = 1, olScoring = 2, olWinAnimation = 3, olScaleStep = 4, olLayout = 5, olShowVerdict = 6, olWinnableOnly = 7 };

// The lines a start without Options.dat uses.
const TLines& DefaultOptions();

std::filesystem::path OptionsFile(const std::filesystem::path& dataRoot);

// Appends the defaults of the missing lines; longer lists are kept as they are.
void PadOptions(TLines& options);

// The file's lines padded to the full count; the defaults when there is no readable
// file. The file itself is left as it is.
TLines LoadOptions(const std::filesystem::path& dataRoot);

// Writes the lines whole; false (the old file untouched, the reason in
// `error`) on failure.
bool SaveOptions(const std::filesystem::path& dataRoot, const TLines& options, std::string* error = nullptr);

// What the lines mean. Each reading is tolerant: a value it does not know
// means what the list says for it.
bool SoundOptionOn(const TLines& options);      // only "On" is on
bool ScoringOptionOff(const TLines& options);   // only "Off" is off

enum class TWinAnimation { Stars, CoolColours, Scribble, SlideShow, None, Unknown };
// "On" (the default) is "Stars".
TWinAnimation WinAnimationOption(const TLines& options);
// The word a choice is saved as: "Stars", "New", "Scribble", "Slide", "None".
std::string WinAnimationWord(TWinAnimation animation);

// One of -2, -1, 1, 2, 3, 5; anything else (a word, an unknown step) is 1.
int ScaleStepOption(const TLines& options);
bool ExtendedLayoutOption(const TLines& options);
// Only "On" is on for both.
bool ShowVerdictOption(const TLines& options);
bool WinnableOnlyOption(const TLines& options);

} // namespace persistence

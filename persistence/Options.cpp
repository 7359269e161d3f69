#include "persistence/Options.h"

#include <algorithm>
#include <array>

namespace persistence {

namespace {

constexpr std::array<int, 6> ScaleSteps{-2, -1, 1, 2, 3, 5};

const std::string& Line(const TLines& options, TOptionLine line)
{
    static const std::string none;
    return std::size_t(line) < options.size() ? options[std::size_t(line)] : none;
}

} // namespace

const TLines& DefaultOptions()
{
    static const TLines defaults{"Unused", "On", "On", "On", "1", "Extended", "Off", "Off"};
    return defaults;
}

std::filesystem::path OptionsFile(const std::filesystem::path& dataRoot) { return dataRoot / "Options.dat"; }

void PadOptions(TLines& options)
{
    const TLines& defaults = DefaultOptions();
    while (options.size() < defaults.size())
        options.push_back(defaults[options.size()]);
}

TLines LoadOptions(const std::filesystem::path& dataRoot)
{
    TLines options = ReadLines(OptionsFile(dataRoot)).value_or(TLines{});
    PadOptions(options);
    return options;
}

bool SaveOptions(const std::filesystem::path& dataRoot, const TLines& options, std::string* error)
{
    return WriteLines(OptionsFile(dataRoot), options, error);
}

bool SoundOptionOn(const TLines& options) { return Line(options, olSound) == "On"; }

bool ScoringOptionOff(const TLines& options) { return Line(options, olScoring) == "Off"; }

TWinAnimation WinAnimationOption(const TLines& options)
{
    const std::string& word = Line(options, olWinAnimation);
    if (word == "On" || word == "Stars")
        return TWinAnimation::Stars;
    if (word == "New")
        return TWinAnimation::CoolColours;
    if (word == "Scribble")
        return TWinAnimation::Scribble;
    if (word == "Slide")
        return TWinAnimation::SlideShow;
    if (word == "None")
        return TWinAnimation::None;
    return TWinAnimation::Unknown;
}

std::string WinAnimationWord(TWinAnimation animation)
{
    switch (animation) {
    case TWinAnimation::Stars:
        return "Stars";
    case TWinAnimation::CoolColours:
        return "New";
    case TWinAnimation::Scribble:
        return "Scribble";
    case TWinAnimation::SlideShow:
        return "Slide";
    case TWinAnimation::None:
        return "None";
    case TWinAnimation::Unknown:
        break;
    }
    return "On";
}

int ScaleStepOption(const TLines& options)
{
    const std::optional<int> step = ParseInt(Line(options, olScaleStep));
    if (!step || std::find(ScaleSteps.begin(), ScaleSteps.end(), *step) == ScaleSteps.end())
        return 1;
    return *step;
}

bool ExtendedLayoutOption(const TLines& options) { return Line(options, olLayout) == "Extended"; }

bool ShowVerdictOption(const TLines& options) { return Line(options, olShowVerdict) == "On"; }

bool WinnableOnlyOption(const TLines& options) { return Line(options, olWinnableOnly) == "On"; }

} // namespace persistence

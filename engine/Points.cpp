// Points are not counted by a scoring module: each outcome emits a named cue
// and the cue decides the change of points before anything is played, so a
// game scores the same with sound on or off.
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "platform/FilePath.h"

void TEngine::Sound(const std::string& cue, int channel, int volume)
{
    const bool fanfare = platform::SameName(cue, "fanfare_x.wav");
    if (ShuttingDown || (!Table.PaintEnabled && !fanfare))
        return;
    std::string file = cue;
    if (platform::SameName(cue, "drop.wav")) {
        Points -= 1;
    } else if (platform::SameName(cue, "success.wav")) {
        Points += 50;
        ++FoundationCards;
        if (FoundationCards >= (Rules.DeckCount == 2 ? 88 : 44)) {
            file = "BEEPSPAC.WAV";
            Host.SetFlourishColour(0x00FFFF);
        }
    } else if (platform::SameName(cue, "undo.wav")) {
        Points -= 5;
    } else if (platform::SameName(cue, "waste.wav")) {
        Points -= 10;
    } else if (platform::SameName(cue, "drop0.wav")) {
        file = "drop.wav";
    }
    // A load is heard as claps alone; its replayed moves still score.
    const bool quietedByLoad = Loading && !platform::SameName(cue, "claps.wav");
    if (Host.SoundOn() && !quietedByLoad)
        Host.PlaySoundFile(file, channel, volume);
    if (Tag != 1)
        UpdatePointsLabel();
}

void TEngine::UpdatePointsLabel()
{
    Host.ShowPoints(Host.ScoringOn() ? "Points = " + std::to_string(Points) + " " : "Points = 0 ");
}

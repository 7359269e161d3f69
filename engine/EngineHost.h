#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <string>

// The commands the engine shows, hides, enables or disables. The window maps
// each to its tool button and menu item; the headless tool just records them.
enum class TEngineCommand {
    NewGame,
    Restart,
    SaveGame,
    Undo,
    Redo,
    Redeal,
    Automove,
    Toolbar,
};

// Everything the engine needs from the world outside the card table. The main
// window implements it; tests and the headless tool implement it with no-ops
// and recorders. Keep it small: the engine decides, the host only shows.
class EngineHost {
public:
    virtual ~EngineHost() = default;

    // Sound: a file name such as "drop.wav" with the two numbers the player
    // takes (channel kind and volume); the points were already counted.
    virtual void PlaySoundFile(const std::string& file, int channel, int volume) = 0;
    virtual void StopSound() = 0;
    virtual bool SoundOn() const = 0;
    virtual void Beep() = 0;

    // Labels and caption.
    virtual void ShowPoints(const std::string& text) = 0;
    virtual void ShowFoundationLabel(const std::string& text) = 0;
    virtual void ShowCaption(const std::string& text) = 0;
    // Whether the player has scoring and statistics switched on.
    virtual bool ScoringOn() const = 0;

    virtual void SetCommandEnabled(TEngineCommand command, bool enabled) = 0;
    virtual void SetCommandVisible(TEngineCommand command, bool visible) = 0;
    // Keeps the Redeal button over the stock (table coordinates).
    virtual void PlaceRedealButton(int left, int top) = 0;

    // Yes/No question; true only for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // A notification with an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

    // The flourish drawn round a foundation, the win animation and the win picture.
    virtual void StartFlourish(const QRect& area, unsigned colour) = 0;
    virtual void SetFlourishColour(unsigned colour) = 0;
    virtual void StopFlourish() = 0;
    virtual void RunWinAnimation() = 0;
    virtual void StopWinAnimation() = 0;

    // Counts a finished or abandoned game in the statistics.
    virtual void RecordGameResult(const std::string& gameName, const std::string& saveName,
                                  bool won, int points) = 0;

    // The game's preview picture (a path in the program folder, or empty for none).
    virtual void ShowPreview(const std::string& file) = 0;
    // Leaves the start screen for the table, when it is showing.
    virtual void ShowTable() = 0;

    virtual QSize ScreenSize() const = 0;
    virtual void ProcessPendingMessages() = 0;
    // The folder the program's own files (previews) are read from.
    virtual std::string ProgramFolder() const = 0;
};

// A host that does nothing: the headless tool, tests and benchmarks derive
// from it and override what they want to watch.
class TQuietHost : public EngineHost {
public:
    void PlaySoundFile(const std::string&, int, int) override {}
    void StopSound() override {}
    bool SoundOn() const override { return false; }
    void Beep() override {}
    void ShowPoints(const std::string&) override {}
    void ShowFoundationLabel(const std::string& text) override { FoundationLabel = text; }
    void ShowCaption(const std::string& text) override { Caption = text; }
    bool ScoringOn() const override { return true; }
    void SetCommandEnabled(TEngineCommand, bool) override {}
    void SetCommandVisible(TEngineCommand command, bool visible) override
    {
        if (command == TEngineCommand::Redeal)
            RedealVisible = visible;
    }
    void PlaceRedealButton(int, int) override {}
    bool AskYesNo(const std::string&) override { return true; }
    void ShowMessage(const std::string& text, const std::string&) override { LastMessage = text; }
    void StartFlourish(const QRect&, unsigned) override {}
    void SetFlourishColour(unsigned) override {}
    void StopFlourish() override {}
    void RunWinAnimation() override {}
    void StopWinAnimation() override {}
    void RecordGameResult(const std::string&, const std::string&, bool, int) override {}
    void ShowPreview(const std::string&) override {}
    void ShowTable() override {}
    QSize ScreenSize() const override { return {1280, 1024}; }
    void ProcessPendingMessages() override {}
    std::string ProgramFolder() const override { return {}; }

    std::string FoundationLabel;
    std::string Caption;
    std::string LastMessage;
    bool RedealVisible = false;
};

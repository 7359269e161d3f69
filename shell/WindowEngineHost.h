#pragma once

#include "engine/EngineHost.h"

class TForm1;

// The engine's way to the window: each request handed to the part that
// answers it (sound, menus, options, saved games, the start screen, the win
// show). The engine is made before the parts; it asks nothing until a game
// is chosen, by which time they all exist.
class TWindowEngineHost : public EngineHost {
public:
    explicit TWindowEngineHost(TForm1& window) : Window(window) {}

    void PlaySoundFile(const std::string& file, int channel, int volume) override;
    void StopSound() override;
    bool SoundOn() const override;
    void Beep() override;
    void ShowPoints(const std::string& text) override;
    void ShowFoundationLabel(const std::string& text) override;
    void ShowCaption(const std::string& text) override;
    bool ScoringOn() const override;
    void SetCommandEnabled(TEngineCommand command, bool enabled) override;
    void SetCommandVisible(TEngineCommand command, bool visible) override;
    void PlaceRedealButton(int left, int top) override;
    bool AskYesNo(const std::string& text) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void StartFlourish(const QRect& area, unsigned colour) override;
    void SetFlourishColour(unsigned colour) override;
    void StopFlourish() override;
    void RunWinAnimation() override;
    void StopWinAnimation() override;
    void RecordGameResult(const std::string& gameName, const std::string& saveName, bool won, int points) override;
    void ShowPreview(const std::string& file) override;
    void ShowTable() override;
    QSize ScreenSize() const override;
    void ProcessPendingMessages() override;
    std::string ProgramFolder() const override;

private:
    TForm1& Window;
};

#include "shell/WindowEngineHost.h"

#include "shell/GameCommands.h"
#include "shell/Main.h"
#include "shell/SavedGames.h"
#include "shell/StartScreenControl.h"
#include "shell/WinShowControl.h"
#include "shell/WindowMenus.h"
#include "shell/WindowOptions.h"
#include "shell/WindowSound.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

void TWindowEngineHost::PlaySoundFile(const std::string& file, int channel, int volume)
{
    Window.Sounds().PlaySoundFile(file, channel, volume);
}

void TWindowEngineHost::StopSound() { Window.Sounds().StopSound(); }

bool TWindowEngineHost::SoundOn() const { return Window.Sounds().SoundOn(); }

void TWindowEngineHost::Beep() { QApplication::beep(); }

void TWindowEngineHost::ShowPoints(const std::string& text)
{
    Window.Menus().PointsLabel->setText(QString::fromStdString(text));
}

void TWindowEngineHost::ShowFoundationLabel(const std::string& text)
{
    Window.Menus().FoundationLabel->setText(QString::fromStdString(text));
}

void TWindowEngineHost::ShowCaption(const std::string& text)
{
    Window.setWindowTitle(QString::fromStdString(text) + Window.Commands().CaptionNote());
}

bool TWindowEngineHost::ScoringOn() const { return Window.Options().ScoringOn(); }

void TWindowEngineHost::SetCommandEnabled(TEngineCommand command, bool enabled)
{
    Window.Menus().SetCommandEnabled(command, enabled);
}

void TWindowEngineHost::SetCommandVisible(TEngineCommand command, bool visible)
{
    Window.Menus().SetCommandVisible(command, visible);
}

void TWindowEngineHost::PlaceRedealButton(int left, int top)
{
    // The engine places the button the way the window's own child would lie
    // (its top includes the table's top); the button lives on the table.
    Window.Menus().RedealButton->move(left, top - Window.CardTableWidget()->y());
}

bool TWindowEngineHost::AskYesNo(const std::string& text)
{
    return Window.Prompts.AskYesNo(QString::fromStdString(text));
}

void TWindowEngineHost::ShowMessage(const std::string& text, const std::string& caption)
{
    Window.Prompts.ShowNotice(QString::fromStdString(caption), QString::fromStdString(text));
}

void TWindowEngineHost::StartFlourish(const QRect& area, unsigned colour)
{
    Window.Sounds().StartFlourish(area, colour);
}

void TWindowEngineHost::SetFlourishColour(unsigned colour) { Window.Sounds().SetFlourishColour(colour); }

void TWindowEngineHost::StopFlourish() { Window.Sounds().StopFlourish(); }

void TWindowEngineHost::RunWinAnimation() { Window.WinShow().RunWinAnimation(); }

void TWindowEngineHost::StopWinAnimation() { Window.WinShow().StopWinAnimation(); }

void TWindowEngineHost::RecordGameResult(const std::string& gameName, const std::string& saveName, bool won, int points)
{
    Window.Saves().RecordGameResult(gameName, saveName, won, points);
}

void TWindowEngineHost::ShowPreview(const std::string& file) { Window.StartPage().ShowPreview(file); }

void TWindowEngineHost::ShowTable() { Window.StartPage().ShowTable(); }

QSize TWindowEngineHost::ScreenSize() const { return Window.ScreenSize(); }

void TWindowEngineHost::ProcessPendingMessages() { QCoreApplication::processEvents(); }

std::string TWindowEngineHost::ProgramFolder() const { return Window.ProgramFolder(); }

// The main window's Help and Debug commands: the debug trace, the help
// window, and the picture tools that made the games' preview pictures.
#include "shell/Main.h"

#include "cardtable/Backdrop.h"
#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"
#include "catalogue/GameDefinitions.h"
#include "catalogue/MenuTree.h"
#include "engine/Engine.h"
#include "persistence/FileLocation.h"
#include "platform/FilePath.h"
#include "shell/AboutBox.h"
#include "shell/HelpWindow.h"
#include "shell/StartScreen.h"
#include "shell/Trace.h"

#include <QAction>
#include <QPainter>
#include <QTimer>

void TForm1::StartDebugTrace1Click()
{
    if (TraceLog != nullptr)
        return;
    if (!Prompts.AskQuestion(QStringLiteral("Debug Mode."), QStringLiteral("Start trace in debug.dat?")))
        return;
    TraceLog = std::make_unique<TTraceLog>(DataPlaces.Path("debug.dat"));
    TraceLog->Begin(OptionsList);
}

bool TForm1::TraceRunning() const { return TraceLog != nullptr; }

void TForm1::FollowDataRoot()
{
    if (TraceLog != nullptr)
        TraceLog->MoveTo(DataPlaces.Path("debug.dat"));
}

void TForm1::StopTrace() { TraceLog.reset(); }

THelpWindow& TForm1::Help()
{
    if (HelpWindow == nullptr)
        HelpWindow = new THelpWindow(ProgramFolder(), this);
    return *HelpWindow;
}

void TForm1::HelpContents1Click() { Help().ShowContents(); }

void TForm1::RulesExecute()
{
    if (StartScreenActive()) {
        // The heading row names no game; a game row is looked at, not dealt.
        if (Engine_ != nullptr && PreviewSelectedGame())
            Help().ShowPage(Engine_->Rules.HelpCode, HelpAnchor(Engine_->Rules.GameName));
        return;
    }
    const std::string code = Engine_ != nullptr ? Engine_->Rules.HelpCode : std::string();
    if (code.empty() || !GameInPlay())
        Help().ShowContents();
    else
        Help().ShowPage(code, HelpAnchor(Engine_->Rules.GameName));
}

bool TForm1::ShowGameRules(const std::string& gameName)
{
    const TGameDefinition* game = FindGameDefinition(gameName);
    if (game == nullptr)
        return false;
    Help().ShowPage(game->HelpCode, HelpAnchor(game->GameName));
    return true;
}

// Preview pictures are drawn from the table as the game is dealt. A number
// already used keeps its picture, except the numbers several games share.
void TForm1::SaveImage1Click()
{
    if (Engine_ == nullptr || CardTable1 == nullptr)
        return;
    // A preview shows the game on the plain table, never on a gradient.
    if (CardTable1->BackDrop().Enabled()) {
        CardTable1->BackDrop().SetEnabled(false);
        CardTable1->SetTag(0);
        ClearGradientChecks();
        SyncOptionChecks();
        CardTable1->RefreshBackground();
    }
    const int number = Engine_->Rules.GameNumber;
    const std::filesystem::path folder = ImageBitmapsFolder.empty()
                                             ? platform::ResolvePath(ProgramFolder(), "GameImagesBitmaps")
                                             : ImageBitmapsFolder;
    const std::filesystem::path target = folder / (std::to_string(number) + ".bmp");
    const bool shared = number == 4 || number == 29 || number == 102;
    if (std::filesystem::exists(target) && !shared) {
        Prompts.ShowNotice(QString::number(number), QStringLiteral("INO = Used"));
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    WriteBitmapFile(CardTable1->SurfaceImage(), target); // a failed write is no concern of a tool
}

void TForm1::SaveImageBitmaps(const std::vector<std::string>& gameNames)
{
    if (Engine_ == nullptr)
        return;
    for (const std::string& name : gameNames) {
        // The game in play is not dealt again; its number is already right.
        if (CurrentGameName() != name)
            Engine_->ForgetGameNumber();
        ChooseGame(name);
        // A tool run is no game played: nothing goes into the statistics.
        Engine_->MarkGameCounted();
        if (Engine_->Rules.GameNumber == 0) {
            Prompts.ShowNotice(QString::fromStdString(name), QStringLiteral("INO = 0"));
            return;
        }
        SaveImage1Click();
    }
}

void TForm1::SaveAllImageBitmaps1Click()
{
    const TMenuItem* all = GetMenuItem(StandardGameTypeMenu(), AlphabeticalGamesCaption, false);
    if (all != nullptr)
        SaveImageBitmaps(GetMenuItems(*all));
}

void TForm1::About1Click()
{
    // Through the one sound routine, so that "Sound Off" keeps the box quiet
    // and does not hold the window for the length of the rings.
    Sound("ring.wav", 2, 100);
    Sound("ring.wav", 2, 100);
    Sound("r2.wav", 1, 100);
    // The start screen's stars stand still while the box has its own, and
    // come back afresh however the box ends.
    struct TStarsBack {
        TForm1& Form;
        bool StartScreen;
        bool Looping;
        ~TStarsBack()
        {
            if (StartScreen)
                Form.StartScreen_->Image1->Restart();
            if (Looping)
                Form.FollowSight();
        }
    } starsBack{*this, StartScreenActive(), LoopTimer != nullptr && LoopTimer->isActive()};
    if (starsBack.Looping)
        LoopTimer->stop();
    if (starsBack.StartScreen) {
        StartScreen_->Image1->Restart();
        StartScreen_->Image1->repaint();
    }
    TAboutBox box(QStringLiteral("Tessalyn."), QStringLiteral("v 2.03"), persistence::DataVersion, this);
    if (RunAboutBox)
        RunAboutBox(box);
    else
        box.exec();
}

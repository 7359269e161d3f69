// The window's Help and Debug commands: the help window, the debug trace,
// the about box, and the picture tools that made the games' preview pictures.
#include "shell/HelpTools.h"

#include "shell/AboutBox.h"
#include "shell/GameCommands.h"
#include "shell/HelpWindow.h"
#include "shell/Main.h"
#include "shell/StartScreenControl.h"
#include "shell/Trace.h"
#include "shell/WindowOptions.h"
#include "shell/WindowSound.h"

#include "cardtable/Backdrop.h"
#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"
#include "catalogue/GameDefinitions.h"
#include "catalogue/MenuTree.h"
#include "engine/Engine.h"
#include "persistence/FileLocation.h"
#include "platform/FilePath.h"

THelpTools::THelpTools(TForm1& window, TEngine& engine, TCardTable& table)
    : Window(window),
      Engine(engine),
      Table(table)
{}

THelpTools::~THelpTools() = default;

void THelpTools::StartDebugTrace1Click()
{
    if (TraceLog != nullptr)
        return;
    if (!Window.Prompts.AskQuestion(QStringLiteral("Debug Mode."), QStringLiteral("Start trace in debug.dat?")))
        return;
    TraceLog = std::make_unique<TTraceLog>(Window.DataPlaces.Path("debug.dat"));
    TraceLog->Begin(Window.OptionsList);
}

bool THelpTools::TraceRunning() const { return TraceLog != nullptr; }

void THelpTools::FollowDataRoot()
{
    if (TraceLog != nullptr)
        TraceLog->MoveTo(Window.DataPlaces.Path("debug.dat"));
}

void THelpTools::StopTrace() { TraceLog.reset(); }

THelpWindow& THelpTools::Help()
{
    if (HelpWindow == nullptr)
        HelpWindow = new THelpWindow(Window.ProgramFolder(), &Window);
    return *HelpWindow;
}

void THelpTools::HelpContentsClick() { Help().ShowContents(); }

void THelpTools::RulesExecute()
{
    if (Window.StartPage().Active()) {
        // The heading row names no game; a game row is looked at, not dealt.
        if (Window.StartPage().PreviewSelectedGame())
            Help().ShowPage(Engine.Rules.HelpCode, HelpAnchor(Engine.Rules.GameName));
        return;
    }
    const std::string& code = Engine.Rules.HelpCode;
    if (code.empty() || !Window.GameInPlay())
        Help().ShowContents();
    else
        Help().ShowPage(code, HelpAnchor(Engine.Rules.GameName));
}

bool THelpTools::ShowGameRules(const std::string& gameName)
{
    const TGameDefinition* game = FindGameDefinition(gameName);
    if (game == nullptr)
        return false;
    Help().ShowPage(game->HelpCode, HelpAnchor(game->GameName));
    return true;
}

// Preview pictures are drawn from the table as the game is dealt. A number
// already used keeps its picture, except the numbers several games share.
void THelpTools::SaveImage1Click()
{
    // A preview shows the game on the plain table, never on a gradient.
    if (Table.BackDrop().Enabled()) {
        Table.BackDrop().SetEnabled(false);
        Table.SetTag(0);
        Window.Options().SyncOptionChecks();
        Table.RefreshBackground();
    }
    const int number = Engine.Rules.GameNumber;
    const std::filesystem::path folder = ImageBitmapsFolder.empty()
        ? platform::ResolvePath(Window.ProgramFolder(), "GameImagesBitmaps")
        : ImageBitmapsFolder;
    const std::filesystem::path target = folder / (std::to_string(number) + ".bmp");
    const bool shared = number == 4 || number == 29 || number == 102;
    if (std::filesystem::exists(target) && !shared) {
        Window.Prompts.ShowNotice(QString::number(number), QStringLiteral("INO = Used"));
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    WriteBitmapFile(Table.SurfaceImage(), target); // a failed write is no concern of a tool
}

void THelpTools::SaveImageBitmaps(const std::vector<std::string>& gameNames)
{
    for (const std::string& name : gameNames) {
        // The game in play is not dealt again; its number is already right.
        if (Window.CurrentGameName() != name)
            Engine.ForgetGameNumber();
        Window.Commands().ChooseGame(name);
        // A tool run is no game played: nothing goes into the statistics.
        Engine.MarkGameCounted();
        if (Engine.Rules.GameNumber == 0) {
            Window.Prompts.ShowNotice(QString::fromStdString(name), QStringLiteral("INO = 0"));
            return;
        }
        SaveImage1Click();
    }
}

void THelpTools::SaveAllImageBitmaps1Click()
{
    const TMenuItem* all = GetMenuItem(StandardGameTypeMenu(), AlphabeticalGamesCaption, false);
    if (all != nullptr)
        SaveImageBitmaps(GetMenuItems(*all));
}

void THelpTools::About1Click()
{
    // Through the one sound routine, so that "Sound Off" keeps the box quiet
    // and does not hold the window for the length of the rings.
    Window.Sounds().Sound("ring.wav", 2, 100);
    Window.Sounds().Sound("ring.wav", 2, 100);
    Window.Sounds().Sound("r2.wav", 1, 100);
    Window.StartPage().WithStarsStill([this] {
        TAboutBox box(QStringLiteral("Tessalyn."), QStringLiteral("v 2.03"), persistence::DataVersion, &Window);
        if (RunAboutBox)
            RunAboutBox(box);
        else
            box.exec();
    });
}

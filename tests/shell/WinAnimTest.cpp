#include "shell/Flourish.h"
#include "shell/WindowParts.h"
#include "shell/MergePic.h"
#include "shell/PictureView.h"
#include "shell/ShowRandom.h"
#include "shell/Sound.h"
#include "shell/WinAnim.h"

#include "RecordingAudio.h"
#include "support/TestPaths.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "platform/Trace.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TCue {
    std::string Name;
    int Mode = 0;
    bool operator==(const TCue&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TCue& cue) { return out << cue.Name << "/" << cue.Mode; }

class TShowHost : public TWinAnimHost {
public:
    void Sound(const std::string& name, int mode, int) override
    {
        Cues.push_back({name, mode});
        if (mode == pmSync && SyncLength > 0) {
            // A long synchronous sound: it ends early when the break says so.
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(SyncLength);
            while (std::chrono::steady_clock::now() < end && !(SoundBreak && SoundBreak()))
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            CutShortAt.push_back(std::chrono::steady_clock::now() < end);
        }
    }
    bool Stream(const std::string& name, int) override
    {
        Cues.push_back({name, 0});
        return Library;
    }
    void SoundStop(const std::string& name, bool) override { Stops.push_back(name); }
    void SetSoundBreak(std::function<bool()> cutShort) override { SoundBreak = std::move(cutShort); }
    bool FlourishRunning() const override
    {
        if (FlourishPolls > 0) {
            --FlourishPolls;
            return true;
        }
        if (!FlourishOverAt)
            FlourishOverAt = int(Cues.size());
        return false;
    }

    std::vector<TCue> Cues;
    std::vector<std::string> Stops;
    bool Library = true;
    mutable int FlourishPolls = 0;
    std::function<bool()> SoundBreak;
    int SyncLength = 0;            // milliseconds a synchronous cue lasts
    std::vector<bool> CutShortAt;  // per synchronous cue: ended early
    mutable std::optional<int> FlourishOverAt; // cues heard before the flourish ended
};

// Collects the trace while it lives.
struct TTraceLines {
    std::vector<std::string> Lines;
    TTraceLines()
    {
        platform::SetTraceSink([this](std::string_view line) { Lines.emplace_back(line); });
    }
    ~TTraceLines() { platform::SetTraceSink({}); }
};

struct WinAnimTest : testing::Test {
    std::unique_ptr<TCardTable> Table;
    TShowHost Host;
    TMergePic MergePic;
    std::unique_ptr<TWinAnim> Show;
    QTemporaryDir Folder;

    void SetUp() override
    {
        Table = std::make_unique<TCardTable>(nullptr, testpaths::ProgramDir() / "Cardsets");
        Table->SetTableSize(640, 480);
        Show = std::make_unique<TWinAnim>(*Table, Host, MergePic);
    }
    void TearDown() override
    {
        Show.reset();
        Table.reset();
    }

    TWinShow Settings(const std::string& option, bool open)
    {
        TWinShow show;
        show.Option = option;
        show.OpenGame = open;
        show.ProgramFolder = Folder.path().toStdString();
        show.CardSetFolder = testpaths::ProgramDir() / "Cardsets" / "Standard";
        return show;
    }

    // A picture strip of eight coloured frames, as "Big.jpg" would be.
    void WriteSlides()
    {
        QImage strip(8 * 80, 120, QImage::Format_RGB32);
        for (int f = 0; f < 8; ++f)
            for (int y = 0; y < strip.height(); ++y)
                for (int x = 0; x < 80; ++x)
                    strip.setPixel(f * 80 + x, y, qRgb(30 * f, 255 - 30 * f, (x + y) % 256));
        ASSERT_TRUE(strip.save(Folder.filePath(QStringLiteral("Big.jpg")), "JPG"));
    }

    QImage Screen() const { return Table->grab().toImage(); }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const TCue& cue : Host.Cues)
            names.push_back(cue.Name);
        return names;
    }
};

TEST_F(WinAnimTest, NoneOnlyCongratulatesAnOpenGameAndBangsForAClosedOne)
{
    Show->Run(Settings("None", true));
    EXPECT_EQ(Host.Cues, (std::vector<TCue>{{"congrat.wav", pmSync}}));
    Host.Cues.clear();
    Show->Run(Settings("None", false));
    EXPECT_EQ(Host.Cues, (std::vector<TCue>{{"explosion.wav", pmSync}}));
}

TEST_F(WinAnimTest, EachShowHasItsCuesWhenTheTableIsNotDrawing)
{
    TTraceLines trace;
    Show->Run(Settings("Stars", true));
    EXPECT_EQ(Names(), (std::vector<std::string>{"explosion.wav", "Crystal_Whoosh_01.wav", "ufo_x.wav",
                                                 "beepspac.wav", "thunder_x.wav", "congrat.wav"}));
    EXPECT_EQ(Host.Cues[1].Mode, pmLoop);
    EXPECT_EQ(Host.Cues[4].Mode, pmSync);
    EXPECT_EQ(Host.Stops, (std::vector<std::string>{"Crystal_Whoosh_01.wav", "beepspac.wav"}));
    EXPECT_EQ(trace.Lines, (std::vector<std::string>{
                               " No Flourish is animating.", " Explosion & shake finished.", " I See Stars started.",
                               " Full Stars started.", " Stars initialised and started.", " Sound ufo.",
                               " Stars to whiteout.", " Stars finished.", " Card fill started.", " Card fill ended.",
                               " Congrat sound started.", " Congrat sound finished.", "WinAnim finished."}));

    // A closed game: no star field and no congratulation.
    Host.Cues.clear();
    Show->Run(Settings("Stars", false));
    EXPECT_EQ(Names(), (std::vector<std::string>{"explosion.wav", "beepspac.wav", "thunder_x.wav"}));

    // Music through the library, else a sound instead.
    Host.Cues.clear();
    Host.Library = false;
    Show->Run(Settings("Scribble", true));
    EXPECT_EQ(Names(), (std::vector<std::string>{"explosion.wav", "New-5848.mp3", "spaced.wav", "congrat.wav"}));

    // An option no show knows: the explosion and the shake only.
    Host.Cues.clear();
    Show->Run(Settings("On", false));
    EXPECT_EQ(Names(), std::vector<std::string>{"explosion.wav"});
}

TEST_F(WinAnimTest, TheClocksCardZoomsAndSpinsFirstAndLeavesNoTrace)
{
    TCard* card = Table->NextCard();
    card->FaceUp = true;
    Table->PlaceCard(card, 200, 150);
    Table->show();
    const QImage before = Screen();
    std::vector<std::pair<float, float>> frames;
    Table->Sprite.OnDrawn = [&](float scale, float angle) { frames.emplace_back(scale, angle); };
    TWinShow show = Settings("None", true);
    show.SpriteCard = card;
    Show->Run(show);
    EXPECT_EQ(Names(), (std::vector<std::string>{"spaced.wav", "spaced.wav", "congrat.wav"}));
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), std::make_pair(1.0f, 0.0f)) << "the zoom starts upright at its size";
    EXPECT_LT(frames.back().second, -1.0f) << "the spin turns it backwards";
    EXPECT_EQ(Screen(), before);
}

TEST_F(WinAnimTest, AShowWaitsForTheFlourishToEnd)
{
    Host.FlourishPolls = 5;
    Show->Run(Settings("None", true));
    ASSERT_TRUE(Host.FlourishOverAt.has_value());
    EXPECT_EQ(*Host.FlourishOverAt, 0) << "a cue sounded while the flourish still sparkled";
    EXPECT_EQ(Host.FlourishPolls, 0);
}

TEST_F(WinAnimTest, AKeyEndsEveryShowAtOnceAndTheTableIsLeftAsItWas)
{
    WriteSlides();
    Table->show();
    ASSERT_TRUE(Table->IsDrawing());
    const QImage before = Screen();
    const QImage surface = Table->SurfaceImage().copy();
    for (const char* option : {"Slide", "New", "Scribble", "Stars", "On"}) {
        Host.Cues.clear();
        bool shown = false;
        QTimer::singleShot(400, Table.get(), [&] {
            const auto* canvas = Table->findChild<TPictureView*>(QStringLiteral("WinAnimCanvas"));
            shown = canvas != nullptr && canvas->isVisible();
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
            QApplication::sendEvent(Table.get(), &key);
        });
        const auto start = std::chrono::steady_clock::now();
        Show->Run(Settings(option, true));
        EXPECT_TRUE(Show->WasSkipped()) << option;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << option;
        EXPECT_TRUE(shown) << option << ": nothing was shown";
        EXPECT_EQ(Screen(), before) << option;
        EXPECT_EQ(Table->SurfaceImage(), surface) << option;
        // Cut short: the congratulation is not played, the loops are stopped.
        const std::vector<std::string> names = Names();
        EXPECT_EQ(std::count(names.begin(), names.end(), "congrat.wav"), 0) << option;
    }
}

TEST_F(WinAnimTest, AFullShowEndsWithTheTablePixelForPixel)
{
    Table->show();
    const QImage before = Screen();
    Show->Run(Settings("Scribble", false));
    EXPECT_FALSE(Show->WasSkipped());
    EXPECT_EQ(Screen(), before);
}

TEST_F(WinAnimTest, AKeyCutsShortASynchronousCue)
{
    Host.SyncLength = 5000;
    QTimer::singleShot(100, Table.get(), [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(Table.get(), &key);
    });
    Show->Run(Settings("None", true));
    EXPECT_EQ(Host.CutShortAt, std::vector<bool>{true}) << "congrat.wav played to its end";
    EXPECT_FALSE(Host.SoundBreak) << "later cues are no longer cut short";
}

TEST_F(WinAnimTest, TheShowCoversTheWindowsClientAreaAndTheStarsFlyOverTheShakenTable)
{
    // The table in a window with a menu bar and a tool bar, as the program has it.
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral(" Game "));
    window.addToolBar(QStringLiteral("Tools"))->addAction(QStringLiteral("New"));
    TCardTable* table = new TCardTable(&window, testpaths::ProgramDir() / "Cardsets");
    window.setCentralWidget(table);
    table->SetTableSize(640, 480);
    TCard* card = table->NextCard();
    card->FaceUp = true;
    table->PlaceCard(card, 100, 100);
    window.show();
    ASSERT_TRUE(table->IsDrawing());
    TMergePic mergePic;
    TWinAnim show(*table, Host, mergePic);
    SetRandSeed(4242);

    QRect covered;
    QImage seen;
    const QImage surface = table->SurfaceImage().copy();
    // After the three seconds of shaking the star field runs.
    QTimer::singleShot(3600, &window, [&] {
        const auto* canvas = window.findChild<TPictureView*>(QStringLiteral("WinAnimCanvas"));
        if (canvas != nullptr && canvas->isVisible()) {
            covered = canvas->geometry();
            seen = canvas->Picture.copy();
        }
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(&window, &key);
    });
    show.Run(Settings("Stars", true));
    ASSERT_FALSE(seen.isNull()) << "nothing was shown";
    EXPECT_EQ(covered, ClientArea(window));
    EXPECT_LT(covered.top(), table->mapTo(&window, QPoint(0, 0)).y()) << "the tool bar is covered too";
    EXPECT_EQ(covered.top(), window.menuBar()->geometry().bottom() + 1);

    // The table shows through between the stars (a blank black table before
    // them would show none of it).
    const QPoint origin = table->mapTo(&window, QPoint(0, 0)) - covered.topLeft();
    int same = 0;
    for (int y = 0; y < surface.height(); y += 4)
        for (int x = 0; x < surface.width(); x += 4)
            same += seen.pixel(origin.x() + x, origin.y() + y) == surface.pixel(x, y) ? 1 : 0;
    EXPECT_GT(same, (surface.width() / 4) * (surface.height() / 4) / 2);
    EXPECT_EQ(RandSeed(), 4242u) << "the show drew from the game's generator";
}

TEST(ShowRandom, EveryGeneratorDrawsItsOwnPattern)
{
    TShowRandom first;
    TShowRandom second;
    std::vector<int> a;
    std::vector<int> b;
    for (int i = 0; i < 8; ++i) {
        a.push_back(first.Below(1000));
        b.push_back(second.Below(1000));
    }
    EXPECT_NE(a, b);
    EXPECT_EQ(first.Below(0), 0);
}

// ---------------------------------------------------------------------------

struct FlourishTest : testing::Test {
    std::unique_ptr<TCardTable> Table;
    std::unique_ptr<TFlourish> Flourish;

    void SetUp() override
    {
        Table = std::make_unique<TCardTable>(nullptr, testpaths::ProgramDir() / "Cardsets");
        Table->SetTableSize(400, 300);
        Flourish = std::make_unique<TFlourish>(Table.get());
        Flourish->SetColour(0xFFAAFF);
        Flourish->SetSpots(14);
        Flourish->SetMaxRadius(5);
        Flourish->SetSteps(3);
    }
    void TearDown() override
    {
        Flourish.reset();
        Table.reset();
    }
    TPictureView* View() const { return Table->findChild<TPictureView*>(QStringLiteral("FlourishView")); }
};

TEST_F(FlourishTest, SparklesOverTheTableWithoutDrawingOnItAndVanishes)
{
    Flourish->Start(QRect(10, 10, 80, 100));
    EXPECT_FALSE(Flourish->Running()) << "nothing sparkles on a table that is not drawing";

    Table->show();
    QCoreApplication::processEvents();
    const QImage surface = Table->SurfaceImage().copy();
    Flourish->Start(QRect(-15, 10, 80, 100));
    ASSERT_TRUE(Flourish->Running());
    EXPECT_EQ(Flourish->Area(), QRect(0, 10, 65, 100)) << "cut to the table";
    Flourish->Step();
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(View()->isVisible());
    EXPECT_NE(View()->Picture, surface.copy(Flourish->Area())) << "no spots drawn";
    int pinkish = 0;
    for (int y = 0; y < View()->Picture.height(); ++y)
        for (int x = 0; x < View()->Picture.width(); ++x) {
            const QRgb p = View()->Picture.pixel(x, y);
            pinkish += qRed(p) > qGreen(p) + 20 && qBlue(p) > qGreen(p) + 20;
        }
    EXPECT_GT(pinkish, 0) << "the colour is given the Windows way: 0xFFAAFF is pink";

    // A card arriving under the burst shows through at once, not a step later.
    const QImage spotsOnly = View()->Picture;
    TCard* card = Table->NextCard();
    card->FaceUp = true;
    Table->PlaceCard(card, 20, 30);
    QCoreApplication::processEvents();
    EXPECT_NE(View()->Picture, spotsOnly);
    EXPECT_EQ(View()->Picture.pixel(60, 2), Table->SurfaceImage().pixel(60, 12)) << "away from any spot";
    Table->RemoveCard(card);
    Flourish->Step();
    Flourish->Step();
    Flourish->Step();
    EXPECT_FALSE(Flourish->Running());
    EXPECT_FALSE(View()->isVisible());
    EXPECT_EQ(Table->SurfaceImage(), surface);
}

TEST_F(FlourishTest, DisablingCutsItShortAndBadSettingsAreIgnored)
{
    Table->show();
    Flourish->Start(QRect(10, 10, 80, 100));
    Flourish->SetEnabled(false);
    EXPECT_FALSE(Flourish->Running());
    Flourish->Start(QRect(10, 10, 80, 100));
    EXPECT_FALSE(Flourish->Running());
    Flourish->SetEnabled(true);
    Flourish->Start(QRect(10, 10, 80, 100));
    EXPECT_TRUE(Flourish->Running());

    Flourish->SetInterval(0);
    Flourish->SetSteps(-1);
    Flourish->SetSpots(0);
    Flourish->SetMaxRadius(-5);
    EXPECT_EQ(Flourish->Interval(), 100);
    EXPECT_EQ(Flourish->Steps(), 3);
    EXPECT_EQ(Flourish->Spots(), 14);
    EXPECT_EQ(Flourish->MaxRadius(), 5);
}

// ---------------------------------------------------------------------------

TEST(WinAnimWindowTest, ViewWinningAnimationPlaysTheFullShowAndLeavesTheGameClosed)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    {
        TPrompts prompts;
        prompts.AskYesNo = [](const QString&) { return true; };
        prompts.ShowError = [](const QString&, const QString&) {};
        prompts.ShowNotice = [](const QString&, const QString&) {};
        TForm1 form(prompts);
        auto audio = std::make_unique<TRecordingAudio>();
        TRecordingAudio& heard = *audio;
        form.Sounds().UseAudioOutput(std::move(audio));
        form.FirstShow();
        form.hide();
        ASSERT_NE(form.Engine(), nullptr);
        QAction* stars = form.Menus().FindAction(form.Menus().TopMenu(QStringLiteral(" Options ")), QStringLiteral("I See Stars"));
        ASSERT_NE(stars, nullptr);
        stars->trigger();
        EXPECT_EQ(form.OptionsList[3], "Stars");
        heard.Played.clear();
        QAction* view =
            form.Menus().FindAction(form.Menus().TopMenu(QStringLiteral(" Debug ")), QStringLiteral("View Winning Animation"));
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->isEnabled());
        view->trigger();
        EXPECT_EQ(heard.Played, (std::vector<std::string>{"explosion.wav", "Crystal_Whoosh_01.wav", "ufo_x.wav",
                                                          "BEEPSPAC.wav", "thunder_x.wav", "congrat.wav"}));
        EXPECT_EQ(form.Engine()->SourceLog.at(2), "0");
        EXPECT_TRUE(form.Engine()->GameWon);
        EXPECT_FALSE(form.Engine()->DealBusy);
    }
    qputenv("HOME", oldHome);
}

} // namespace

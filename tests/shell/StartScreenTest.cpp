#include "shell/WindowParts.h"

#include "cardtable/Card.h"
#include "cardtable/Random.h"
#include "catalogue/MenuTree.h"
#include "engine/Engine.h"
#include "persistence/Favourites.h"
#include "persistence/TextFile.h"
#include "shell/FavouritesDialog.h"
#include "shell/Marquee.h"
#include "shell/MergePic.h"
#include "shell/StartScreen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <tuple>

namespace {

namespace fs = std::filesystem;

// The window's statistics and previews, as its engine host saw them.
struct TWatch {
    struct TResult {
        std::string Game;
        bool Won = false;
    };
    std::vector<TResult> Results;
    std::vector<std::string> Previews; // the games looked at, in order
};

class TWatchedHost : public TWindowEngineHost {
public:
    TWatchedHost(TForm1& window, TWatch& watch) : TWindowEngineHost(window), Form(window), Watch(watch) {}

    void RecordGameResult(const std::string& gameName, const std::string& saveName, bool won,
                          int points) override
    {
        Watch.Results.push_back({gameName, won});
        TWindowEngineHost::RecordGameResult(gameName, saveName, won, points);
    }

    void ShowPreview(const std::string& file) override
    {
        if (Form.Engine() != nullptr && Form.Engine()->Tag == 1)
            Watch.Previews.push_back(Form.Engine()->Rules.GameName);
        TWindowEngineHost::ShowPreview(file);
    }

private:
    TForm1& Form;
    TWatch& Watch;
};

// The window with its statistics and previews watched.
class TWatchedForm : public TWatch, public TForm1 {
public:
    explicit TWatchedForm(TPrompts prompts)
        : TForm1(std::move(prompts), [this](TForm1& window) { return std::make_unique<TWatchedHost>(window, *this); })
    {
    }
};

// Every test has a home, and so a data folder, of its own.
struct TStartScreenFixture : testing::Test {
    QTemporaryDir Home;
    QByteArray OldHome;
    bool Answer = true;
    int Questions = 0;
    QString LastError;
    std::unique_ptr<TWatchedForm> Form;

    void SetUp() override
    {
        OldHome = qgetenv("HOME");
        qputenv("HOME", Home.path().toLocal8Bit());
        TPrompts prompts;
        prompts.AskYesNo = [this](const QString&) {
            ++Questions;
            return Answer;
        };
        prompts.ShowError = [this](const QString&, const QString& text) { LastError = text; };
        prompts.ShowNotice = [this](const QString&, const QString& text) { LastError = text; };
        Form = std::make_unique<TWatchedForm>(prompts);
        ASSERT_NE(Form->Engine(), nullptr) << "no card set could be loaded";
        ASSERT_TRUE(Form->DataRoot().string().starts_with(Home.path().toStdString()));
    }

    void TearDown() override
    {
        Form.reset();
        qputenv("HOME", OldHome);
    }

    void Open()
    {
        Form->FirstShow();
        // A deal with sound on waits for its sounds with the window live, and the
        // table first shown then settles its size mid-deal; these tests compare
        // deals at once, before the layout follows.
        Form->Sounds().SetSoundOption(false);
    }

    TStartScreen& Screen() { return *Form->StartPage().StartScreen(); }
    QTableWidget& Grid() { return *Screen().GameList; }

    void ChooseCategory(const QString& caption)
    {
        const int index = Screen().CategoryBox->findText(caption);
        ASSERT_GE(index, 0) << caption.toStdString();
        Screen().CategoryBox->setCurrentIndex(index);
        Screen().CategoryChange();
    }

    void ChooseFilter(int index)
    {
        Screen().FilterBox->setCurrentIndex(index);
        Screen().FilterChange();
    }

    void Key(int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&Grid(), &press);
    }

    void Click(int row, Qt::MouseButton button, QEvent::Type type = QEvent::MouseButtonPress)
    {
        const QPoint at = Grid().visualItemRect(Grid().item(row, 0)).center();
        QMouseEvent event(type, at, Grid().viewport()->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(Grid().viewport(), &event);
    }

    std::vector<std::string> Rows()
    {
        std::vector<std::string> names;
        for (int row = 1; row < Screen().RowCount(); ++row)
            names.push_back(Screen().RowName(row));
        return names;
    }

    void WriteStats(const std::string& game, int played, int won)
    {
        fs::create_directories(Form->DataRoot() / "Data");
        ASSERT_TRUE(persistence::WriteLines(Form->DataRoot() / "Data" / (game + ".dat"),
                                            {std::to_string(played), std::to_string(won)}));
    }

    fs::path FavFile() { return Form->DataRoot() / "fav.dat"; }
};

TEST_F(TStartScreenFixture, TheFirstShowEndsOnTheStartScreenWithTheAlphabeticalListPreviewed)
{
    Open();
    EXPECT_TRUE(Form->StartPage().Active());
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn."));
    EXPECT_TRUE(Form->CardTableWidget()->isHidden());
    EXPECT_FALSE(Form->Menus().FindAction(Form->Menus().TopMenu(" Game "), "Start Screen   F12")->isEnabled());
    EXPECT_FALSE(Form->Menus().FindAction(Form->Menus().TopMenu(" Game "), "New Game")->isEnabled());

    QStringList categories;
    for (int i = 0; i < Screen().CategoryBox->count(); ++i)
        categories << Screen().CategoryBox->itemText(i);
    ASSERT_GE(categories.size(), 4);
    EXPECT_EQ(categories.mid(0, 4), (QStringList{"Alphabetical Games", "Small Screen Games", "Favourites",
                                                 "Baker's Dozen Type"}));
    EXPECT_EQ(categories.last(), QStringLiteral("Other Game Type"));
    EXPECT_EQ(Screen().FilterBox->count(), 4);
    EXPECT_EQ(Grid().item(0, 0)->text(), QStringLiteral("GAME NAME"));
    EXPECT_EQ(Grid().item(0, 1)->text(), QStringLiteral("PLAYED"));
    EXPECT_EQ(Grid().item(0, 2)->text(), QStringLiteral("WON"));
    const TMenuItem* alphabetical = GetMenuItem(StandardGameTypeMenu(), AlphabeticalGamesCaption, false);
    EXPECT_EQ(Rows(), GetMenuItems(*alphabetical));
    EXPECT_EQ(Grid().item(1, 1)->text(), QStringLiteral("0"));

    // The first row was looked at, and no game is in play after the look.
    EXPECT_EQ(Screen().Row(), 1);
    ASSERT_EQ(Form->Previews.size(), 1u);
    EXPECT_EQ(Form->Previews[0], Screen().RowName(1));
    EXPECT_FALSE(Form->GameInPlay());
    EXPECT_EQ(Form->Engine()->Tag, 0);
    EXPECT_FALSE(Screen().Image2->Picture().isNull()) << "the preview picture was shown";
}

TEST_F(TStartScreenFixture, FiltersKeepRowsByTheCountersOnFile)
{
    Open();
    ChooseFilter(gfWon);
    EXPECT_EQ(Screen().RowCount(), 1) << "a fresh installation has won nothing";

    WriteStats("Canfield", 5, 2);
    WriteStats("Aces Up", 3, 0);
    Form->Previews.clear();
    ChooseFilter(gfWon);
    ASSERT_EQ(Rows(), std::vector<std::string>{"Canfield"});
    EXPECT_EQ(Grid().item(1, 1)->text(), QStringLiteral("5"));
    EXPECT_EQ(Grid().item(1, 2)->text(), QStringLiteral("2"));
    EXPECT_EQ(Form->Previews, std::vector<std::string>{"Canfield"});

    ChooseFilter(gfNotWon);
    const std::vector<std::string> notWon = Rows();
    EXPECT_NE(std::find(notWon.begin(), notWon.end(), "Aces Up"), notWon.end());
    EXPECT_EQ(std::find(notWon.begin(), notWon.end(), "Canfield"), notWon.end());
    ChooseFilter(gfNotPlayed);
    const std::vector<std::string> notPlayed = Rows();
    EXPECT_EQ(std::find(notPlayed.begin(), notPlayed.end(), "Aces Up"), notPlayed.end());
    EXPECT_EQ(notPlayed.size() + 2, GetMenuItems(*GetMenuItem(StandardGameTypeMenu(), AlphabeticalGamesCaption, false)).size());
}

TEST_F(TStartScreenFixture, GamesWonOnAFreshInstallationShowsOnlyTheHeadingAndPreviewsNothing)
{
    Open();
    Form->Previews.clear();
    ChooseFilter(gfWon);
    EXPECT_EQ(Screen().RowCount(), 1);
    EXPECT_EQ(Screen().Row(), 0);
    EXPECT_TRUE(Form->Previews.empty());
    // Nothing to start, nothing to add.
    Key(Qt::Key_Down);
    Form->StartPage().AddtoFavourites1Click();
    EXPECT_TRUE(Form->StartPage().Favourites().Empty());
    EXPECT_FALSE(fs::exists(FavFile()));
    EXPECT_FALSE(Form->GameInPlay());
}

TEST_F(TStartScreenFixture, ArrowsAndWheelMoveOneRowPreviewingEachGameAndStopAtTheEnds)
{
    Open();
    ChooseCategory("Pairing Type");
    ASSERT_EQ(Rows(), (std::vector<std::string>{"Concentration", "Doublets", "Simple Pairs"}));
    Form->Previews.clear();
    Key(Qt::Key_Up);
    EXPECT_EQ(Screen().Row(), 1);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Screen().Row(), 3);
    Key(Qt::Key_Down);
    EXPECT_EQ(Screen().Row(), 3);
    EXPECT_EQ(Form->Previews, (std::vector<std::string>{"Doublets", "Simple Pairs"}));

    Form->Previews.clear();
    const QPoint at = Grid().viewport()->rect().center();
    QWheelEvent up(at, Grid().viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Grid().viewport(), &up);
    EXPECT_EQ(Screen().Row(), 2);
    EXPECT_EQ(Form->Previews, std::vector<std::string>{"Doublets"});
    EXPECT_FALSE(Form->GameInPlay());
}

TEST_F(TStartScreenFixture, ALetterJumpsToTheFirstGameWithThatCapital)
{
    Open();
    Form->Previews.clear();
    QKeyEvent k(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
    QApplication::sendEvent(&Grid(), &k);
    EXPECT_EQ(Screen().RowName(Screen().Row()), "Khedive");
    EXPECT_EQ(Form->Previews, std::vector<std::string>{"Khedive"});
    // No game begins with "Q": the selection stays, and is looked at again.
    QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QApplication::sendEvent(&Grid(), &q);
    EXPECT_EQ(Screen().RowName(Screen().Row()), "Khedive");
}

TEST_F(TStartScreenFixture, AMiddleClickStartsTheGameAndALeftClickOnlyLooks)
{
    Open();
    ChooseCategory("Pairing Type");
    Form->Previews.clear();
    Click(2, Qt::LeftButton);
    EXPECT_EQ(Screen().Row(), 2);
    EXPECT_EQ(Form->Previews, std::vector<std::string>{"Doublets"});
    EXPECT_FALSE(Form->GameInPlay());
    QWidget& headings = *Grid().horizontalHeader()->viewport();
    QMouseEvent middle(QEvent::MouseButtonPress, QPointF(5, 5), headings.mapToGlobal(QPointF(5, 5)),
                       Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&headings, &middle);
    EXPECT_FALSE(Form->GameInPlay()) << "the headings start nothing";

    Click(3, Qt::MiddleButton);
    EXPECT_TRUE(Form->GameInPlay());
    EXPECT_EQ(Form->CurrentGameName(), "Simple Pairs");
    EXPECT_FALSE(Form->StartPage().Active());
    EXPECT_TRUE(Screen().isHidden());
    EXPECT_FALSE(Form->CardTableWidget()->isHidden());
    EXPECT_TRUE(Form->Menus().FindAction(Form->Menus().TopMenu(" Game "), "Start Screen   F12")->isEnabled());
}

TEST_F(TStartScreenFixture, EnterAndDoubleClicksStartTheSelectedGame)
{
    Open();
    ChooseCategory("Pairing Type");
    Grid().setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(Form->CurrentGameName(), "Concentration");

    Answer = true;
    Form->StartPage().BackToStart1Click();
    ChooseCategory("Pairing Type");
    // A double click arrives after the press that selected its row.
    Click(2, Qt::LeftButton);
    Click(2, Qt::LeftButton, QEvent::MouseButtonDblClick);
    EXPECT_EQ(Form->CurrentGameName(), "Doublets");
}

TEST_F(TStartScreenFixture, TheHeadingsStayInSightAndNoKeyCanSelectThem)
{
    Open();
    Form->show();
    const QHeaderView& headings = *Grid().horizontalHeader();
    ASSERT_FALSE(headings.isHidden());
    const QStringList expected{"GAME NAME", "PLAYED", "WON"};
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(Grid().horizontalHeaderItem(column)->text(), expected[column]);

    // Far down the list the headings still show above the rows.
    QKeyEvent w(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    QApplication::sendEvent(&Grid(), &w);
    ASSERT_EQ(Screen().RowName(Screen().Row()).front(), 'W');
    EXPECT_FALSE(headings.isHidden());
    EXPECT_GT(Grid().rowViewportPosition(Screen().Row()), 0);

    // Paging back up stops on the first game, selected, never on the headings.
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&Grid(), &a);
    ASSERT_EQ(Screen().Row(), 1);
    Key(Qt::Key_PageDown);
    ASSERT_GT(Screen().Row(), 1);
    Key(Qt::Key_PageUp);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Screen().Row(), 1);
    EXPECT_FALSE(Grid().selectedItems().isEmpty());
    const std::string first = Screen().RowName(1);
    Grid().setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(Form->CurrentGameName(), first);
}

TEST_F(TStartScreenFixture, OnlyTheLeftButtonsDoubleClickStartsAGame)
{
    Open();
    ChooseCategory("Pairing Type");
    Click(2, Qt::RightButton);
    Click(2, Qt::RightButton, QEvent::MouseButtonDblClick);
    EXPECT_FALSE(Form->GameInPlay()) << "a right double click on the list";
    QMouseEvent right(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Screen().Image2, &right);
    EXPECT_FALSE(Form->GameInPlay()) << "a right double click on the preview";
    QMouseEvent left(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(Screen().Image2, &left);
    EXPECT_EQ(Form->CurrentGameName(), "Doublets");
}

TEST_F(TStartScreenFixture, ATitleCutShortLeavesNoTraceOnTheNextVisit)
{
    Open();
    TMergePic& title = *Form->StartPage().MergePicture();
    ASSERT_TRUE(title.Running()) << "the title shows when the start screen opens";
    const QRect area = Screen().TitleArea();
    const QImage clean = Screen().CleanBackground().copy(area);
    // How far the title area is from the clean background, on average per
    // colour of a pixel (the last frame is scaled there and back: not 0).
    const auto distance = [&] {
        const QImage shown = Screen().Canvas().copy(area);
        long long sum = 0;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x) {
                const QRgb a = shown.pixel(x, y);
                const QRgb b = clean.pixel(x, y);
                sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            }
        return double(sum) / (3.0 * area.width() * area.height());
    };
    // Half way through the first frame the gold title is on the canvas ...
    for (int i = 0; i < 10; ++i)
        title.Tick();
    const double halfWay = distance();
    ASSERT_GT(halfWay, 10.0);
    // ... when a game starts, and the player comes back later.
    Grid().setFocus();
    Key(Qt::Key_Return);
    ASSERT_TRUE(Form->GameInPlay());
    Form->StartPage().BackToStart1Click();
    ASSERT_TRUE(Form->StartPage().Active());
    while (title.Running())
        title.Tick();
    EXPECT_LT(distance(), 3.0) << "the title stays below the preview (half way it was " << halfWay << ")";
}

TEST_F(TStartScreenFixture, StarsAndTextStandStillWhileNobodyCanSeeThem)
{
    Open();
    Form->show();
    QApplication::processEvents();
    ASSERT_TRUE(Form->StartPage().Active());
    EXPECT_TRUE(Form->StartPage().StartScreenMoving());
    Form->showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(Form->StartPage().StartScreenMoving()) << "minimised";
    const int offset = Screen().Marquee->Offset();
    Screen().Marquee->Step();
    EXPECT_EQ(Screen().Marquee->Offset(), offset);
    Form->showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(Form->StartPage().StartScreenMoving());
    Form->hide();
    QApplication::processEvents();
    EXPECT_FALSE(Form->StartPage().StartScreenMoving()) << "hidden";
    Form->show();
    QApplication::processEvents();
    EXPECT_TRUE(Form->StartPage().StartScreenMoving());
}

TEST_F(TStartScreenFixture, GoingBackDuringAScoredGameCountsItOnceAndAfterAWinNothing)
{
    Open();
    Form->Commands().ChooseGame("Canfield");
    ASSERT_TRUE(Form->GameInPlay());

    Answer = false;
    Form->StartPage().BackToStart1Click();
    EXPECT_TRUE(Form->GameInPlay()) << "No keeps the game";
    EXPECT_TRUE(Form->Results.empty());

    Answer = true;
    QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QApplication::sendEvent(Form->CardTableWidget(), &f12);
    ASSERT_EQ(Form->Results.size(), 1u);
    EXPECT_EQ(Form->Results[0].Game, "Canfield");
    EXPECT_FALSE(Form->Results[0].Won);
    EXPECT_TRUE(Form->StartPage().Active());
    EXPECT_FALSE(Form->GameInPlay());
    EXPECT_TRUE(Form->Engine()->LastGameName.empty());
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn."));

    // F12 on the start screen itself asks nothing.
    const int asked = Questions;
    QApplication::sendEvent(&Grid(), &f12);
    EXPECT_EQ(Questions, asked);

    // A won game has been counted already.
    Form->Commands().ChooseGame("Canfield");
    Form->Engine()->GameWon = true;
    Form->StartPage().BackToStart1Click();
    EXPECT_EQ(Form->Results.size(), 1u);
    EXPECT_TRUE(Form->StartPage().Active());
}

TEST_F(TStartScreenFixture, FavouritesAreKeptSortedInTheMenuTheFileAndTheCategory)
{
    Open();
    for (const std::string game : {"Spider", "aces up", "Klondike 1 [Turn over 1]"}) {
        ChooseCategory("Alphabetical Games");
        const auto rows = Rows();
        const auto found = std::find_if(rows.begin(), rows.end(), [&game](const std::string& row) {
            return QString::fromStdString(row).compare(QString::fromStdString(game), Qt::CaseInsensitive) == 0;
        });
        ASSERT_NE(found, rows.end()) << game;
        Screen().SelectRow(int(found - rows.begin()) + 1);
        Form->StartPage().AddtoFavourites1Click();
    }
    const std::vector<std::string> sorted{"Aces Up", "Klondike 1 [Turn over 1]", "Spider"};
    EXPECT_EQ(Form->StartPage().Favourites().Items(), sorted);
    EXPECT_EQ(persistence::ReadLines(FavFile()), sorted);
    std::vector<std::string> menu;
    for (QAction* action : Form->Menus().Favourites->actions())
        menu.push_back(action->text().toStdString());
    EXPECT_EQ(menu, sorted);
    ChooseCategory("Favourites");
    EXPECT_EQ(Rows(), sorted);

    // Once more: nothing changes, nothing is written.
    fs::remove(FavFile());
    Screen().SelectRow(1);
    Form->StartPage().AddtoFavourites1Click();
    EXPECT_FALSE(fs::exists(FavFile()));
    EXPECT_EQ(Form->StartPage().Favourites().Items(), sorted);

    // A game in play is added by its name, the list following at once.
    Form->Commands().ChooseGame("Yukon");
    Form->StartPage().AddtoFavourites1Click();
    EXPECT_EQ(Form->StartPage().Favourites().Count(), 4);
    EXPECT_EQ(Form->CurrentGameName(), "Yukon") << "the game in play is left alone";
    EXPECT_EQ(Rows().back(), "Yukon");
}

TEST_F(TStartScreenFixture, AFavouriteDealsExactlyAsTheGamesOwnItem)
{
    Open();
    ChooseCategory("Other Game Type");
    Screen().SelectRow(1);
    const std::string game = Screen().RowName(1);
    Form->StartPage().AddtoFavourites1Click();
    ASSERT_EQ(Form->Menus().Favourites->actions().size(), 1);

    const auto deal = [this] {
        std::vector<std::string> cards = Form->Engine()->SourceLog;
        for (const auto& pile : Form->Engine()->TableauPiles)
            for (const TCard* card : pile)
                if (card != nullptr)
                    cards.push_back(std::to_string(card->Suit) + "/" + std::to_string(card->Value) + "/"
                                    + std::to_string(card->X) + "," + std::to_string(card->Y));
        return cards;
    };
    SetRandSeed(4242);
    Form->Menus().Favourites->actions()[0]->trigger();
    ASSERT_EQ(Form->CurrentGameName(), game);
    const auto fromFavourite = deal();
    Form->StartPage().BackToStart1Click();
    SetRandSeed(4242);
    Form->Menus().FindGameItem(game)->trigger();
    EXPECT_EQ(deal(), fromFavourite);
}

TEST_F(TStartScreenFixture, ADamagedFavouritesFileLosesOnlyItsBadLinesAndIsWrittenCleanlyAtTheNextChange)
{
    fs::create_directories(Form->DataRoot());
    const persistence::TLines damaged{"Canfield", "No Such Game", "canfield", "", "Aces Up"};
    ASSERT_TRUE(persistence::WriteLines(FavFile(), damaged));
    Open();
    EXPECT_EQ(Form->StartPage().Favourites().Items(), (std::vector<std::string>{"Aces Up", "Canfield"}));
    EXPECT_EQ(Form->Menus().Favourites->actions().size(), 2);
    EXPECT_EQ(persistence::ReadLines(FavFile()), damaged) << "reading alone rewrites nothing";

    Form->Commands().ChooseGame("Spider");
    Form->StartPage().AddtoFavourites1Click();
    EXPECT_EQ(persistence::ReadLines(FavFile()), (persistence::TLines{"Aces Up", "Canfield", "Spider"}));
    fs::path kept = FavFile();
    kept += ".damaged";
    EXPECT_EQ(persistence::ReadLines(kept), damaged);
}

TEST_F(TStartScreenFixture, TheEditDialogChangesTheFavouritesOnlyOnOk)
{
    Open();
    Form->StartPage().RunFavouritesDialog = [](TFavouritesDialog& dialog) {
        for (const char* game : {"Yukon", "Freecell", "Canfield"})
            dialog.ListBox1->findItems(QString::fromLatin1(game), Qt::MatchExactly).front()->setSelected(true);
        dialog.BitBtn3Click();
        dialog.BitBtn3Click();
        dialog.ListBox2->findItems(QStringLiteral("Freecell"), Qt::MatchExactly).front()->setSelected(true);
        dialog.BitBtn4Click();
        return true;
    };
    Form->StartPage().EditFavouriteMenu1Click();
    const std::vector<std::string> expected{"Canfield", "Yukon"};
    EXPECT_EQ(Form->StartPage().Favourites().Items(), expected);
    EXPECT_EQ(persistence::ReadLines(FavFile()), expected);
    EXPECT_EQ(Form->Menus().Favourites->actions().size(), 2);

    Form->StartPage().RunFavouritesDialog = [](TFavouritesDialog& dialog) {
        dialog.ListBox2->selectAll();
        dialog.BitBtn4Click();
        return false;
    };
    Form->StartPage().EditFavouriteMenu1Click();
    EXPECT_EQ(Form->StartPage().Favourites().Items(), expected);
}

TEST(StartScreenLines, HolidayBlocksComeOnTheirDaysBeforeTheProgramsName)
{
    const QStringList plain = StartScreenLines(QDate(2026, 6, 3));
    ASSERT_GE(plain.size(), 10);
    EXPECT_EQ(plain.first(), QStringLiteral("Tessalyn."));
    EXPECT_EQ(plain[1], QStringLiteral("v 2.03"));
    EXPECT_TRUE(plain.contains(QStringLiteral("Prog ID: 2008")));
    EXPECT_EQ(plain.mid(plain.size() - 5), (QStringList{"Goodbye.", "", "", "", ""}));

    const QStringList newYear = StartScreenLines(QDate(2027, 1, 1));
    EXPECT_EQ(newYear.mid(0, 5), (QStringList{"************", "Happy New Year!", "2027", "************", ""}));
    EXPECT_EQ(newYear.mid(5), plain);

    for (const int day : {24, 25, 26}) {
        const QStringList xmas = StartScreenLines(QDate(2026, 12, day));
        EXPECT_EQ(xmas.mid(0, 3), (QStringList{"* * * * * *", "Merry Xmas", "From"})) << day;
        EXPECT_EQ(xmas.mid(6), plain) << day;
    }
    EXPECT_EQ(StartScreenLines(QDate(2026, 12, 27)), plain);
}

TEST(EditFavourites, ListsStaySortedWithoutRegardToCaseAndAddEachGameOnce)
{
    TFavouritesDialog dialog;
    dialog.SetGames({"spider", "Aces Up", "Canfield"});
    dialog.SetFavourites({"Canfield"});
    EXPECT_EQ(dialog.ListBox1->item(0)->text(), QStringLiteral("Aces Up"));
    EXPECT_EQ(dialog.ListBox1->item(2)->text(), QStringLiteral("spider"));
    dialog.ListBox1->selectAll();
    dialog.BitBtn3Click();
    EXPECT_EQ(dialog.FavouriteNames(), (std::vector<std::string>{"Aces Up", "Canfield", "spider"}));
}

} // namespace

namespace {

// The panels share the window without overlapping, on the smallest screen
// the program runs on and on a large one, with the tool bar shown or not.
TEST(StartScreenLayout, PanelsFitSideBySideOnSmallAndLargeScreens)
{
    for (const QSize size : {QSize(800, 547), QSize(800, 577), QSize(1280, 971), QSize(1920, 1127)}) {
        TStartScreen screen;
        screen.resize(size);
        screen.Relayout(); // a hidden widget hears of its size only when shown
        const QRect page(QPoint(0, 0), size);
        const QWidget* panels[] = {screen.StarsPanel, screen.MarqueePanel, screen.ListPanel, screen.PreviewPanel,
                                   screen.CategoryBox, screen.FilterBox};
        for (const QWidget* a : panels) {
            EXPECT_TRUE(page.contains(a->geometry())) << a->objectName().toStdString() << " at " << size.width();
            for (const QWidget* b : panels) {
                if (a != b) {
                    EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                        << a->objectName().toStdString() << " / " << b->objectName().toStdString();
                }
            }
        }
        EXPECT_EQ(screen.StarsPanel->geometry().right(), size.width() - 11);
        EXPECT_EQ(screen.StarsPanel->geometry().bottom(), size.height() - 11);
        EXPECT_EQ(screen.MarqueePanel->x(), screen.StarsPanel->x());
        EXPECT_EQ(screen.MarqueePanel->width(), screen.StarsPanel->width());
        EXPECT_EQ(screen.PreviewPanel->y(), screen.ListPanel->y());
        EXPECT_EQ(screen.PreviewPanel->x(), screen.ListPanel->geometry().right() + 1 + 5);
        const QRect title = screen.TitleArea();
        EXPECT_FALSE(title.intersects(screen.StarsPanel->geometry())) << size.width();
        EXPECT_EQ(title.top(), screen.PreviewPanel->geometry().bottom() + 1 + 10);
    }
}

// The longest odds line is wider than the preview on every screen: it wraps,
// and the label is tall enough for all of its lines.
TEST(StartScreenLayout, TheOddsLineIsShownWholeUnderThePreview)
{
    const QString odds = QStringLiteral("About 100 % of deals can be won (50 deals solved, at most 100000 positions each)");
    for (const QSize size : {QSize(800, 547), QSize(1280, 971)}) {
        TStartScreen screen;
        screen.resize(size);
        screen.SetOddsText(odds);
        screen.Relayout();
        const QLabel* label = screen.OddsLabel;
        ASSERT_GT(label->fontMetrics().horizontalAdvance(odds), label->width()) << "the line must need wrapping here";
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << size.width();
        EXPECT_GE(label->height(), 2 * label->fontMetrics().height()) << size.width();
        EXPECT_EQ(label->geometry().bottom(), screen.PreviewPanel->contentsRect().bottom());
    }
}

} // namespace

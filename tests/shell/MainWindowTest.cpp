#include "shell/WindowParts.h"

#include "cardtable/CardTable.h"
#include "catalogue/GameDefinitions.h"
#include "catalogue/MenuTree.h"
#include "engine/Engine.h"
#include "shell/KeyboardPlay.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QKeyEvent>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

void PressKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

const std::string Klondike = "Klondike 1 [Turn over 1]";

// A window whose questions are answered by the test and counted.
struct TWindowFixture : testing::Test {
    int Questions = 0;
    bool Answer = true;
    QString LastQuestion;
    QString LastError;
    std::unique_ptr<TForm1> Form;

    void SetUp() override
    {
        TPrompts prompts;
        prompts.AskYesNo = [this](const QString& text) {
            ++Questions;
            LastQuestion = text;
            return Answer;
        };
        prompts.ShowError = [this](const QString&, const QString& text) { LastError = text; };
        prompts.ShowNotice = [this](const QString&, const QString& text) { LastError = text; };
        Form = std::make_unique<TForm1>(prompts);
        Form->FirstShow();
        ASSERT_NE(Form->Engine(), nullptr) << "no card set could be loaded";
        // A deal with sound on waits for its sounds; these tests are about the window.
        Form->Sounds().SetSoundOption(false);
    }

    void TearDown() override
    {
        Answer = true;
        if (Form != nullptr && Form->Engine() != nullptr)
            Form->Engine()->DealBusy = false;
    }

    void Choose(const std::string& game)
    {
        QAction* item = Form->Menus().FindGameItem(game);
        ASSERT_NE(item, nullptr) << game;
        item->trigger();
    }
};

// Walks the drawn menu and the model side by side.
void ExpectSameTree(const QMenu* menu, const TMenuItem& model, const std::string& path)
{
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), qsizetype(model.Items.size())) << path;
    for (std::size_t i = 0; i < model.Items.size(); ++i) {
        const TMenuItem& item = model.Items[i];
        const QAction* action = actions[qsizetype(i)];
        if (item.IsSeparator()) {
            EXPECT_TRUE(action->isSeparator()) << path << " #" << i;
            continue;
        }
        EXPECT_EQ(action->text().toStdString(), item.Caption) << path;
        if (!item.Items.empty() || item.Submenu) {
            ASSERT_NE(action->menu(), nullptr) << path << " > " << item.Caption;
            ExpectSameTree(action->menu(), item, path + " > " + item.Caption);
        } else {
            EXPECT_EQ(action->menu(), nullptr) << path << " > " << item.Caption;
        }
    }
}

TEST_F(TWindowFixture, MenusHoldEveryGameUnderItsCaption)
{
    const QStringList captions{" Game ", " Game Type ", " Statistics ", " Options ", " Help ", " Debug "};
    QStringList shown;
    for (QAction* action : Form->menuBar()->actions())
        shown << action->text();
    EXPECT_EQ(shown, captions);
    EXPECT_FALSE(Form->Menus().TopMenuAction(" Debug ")->isVisible());

    ExpectSameTree(Form->Menus().GameTypeMenu, StandardGameTypeMenu(), "Game Type");
    for (const TGameDefinition& game : GameDefinitions()) {
        const QAction* item = Form->Menus().FindGameItem(game.GameName);
        ASSERT_NE(item, nullptr) << game.GameName;
        EXPECT_EQ(item->text().toStdString(), game.GameName);
        EXPECT_TRUE(item->isEnabled());
    }
    EXPECT_EQ(Form->Menus().FindGameItem(""), nullptr);
    EXPECT_EQ(Form->Menus().FindGameItem("A - B"), nullptr) << "a letter group is no game";
}

TEST_F(TWindowFixture, ChoosingAGameDealsItAndChoosingItAgainLeavesItAlone)
{
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn."));
    EXPECT_FALSE(Form->Menus().FindAction(Form->Menus().TopMenu(" Game "), "Undo")->isEnabled());
    Choose(Klondike);
    TEngine& engine = *Form->Engine();
    EXPECT_EQ(Form->windowTitle().toStdString(), "Tessalyn. Game: " + Klondike + "  [Open Game]");
    ASSERT_EQ(engine.TableauPiles.size(), 7u);
    EXPECT_EQ(engine.TableauPiles[6].size(), 7u);
    EXPECT_FALSE(engine.DealBusy);
    EXPECT_TRUE(Form->Menus().FindAction(Form->Menus().TopMenu(" Game "), "Undo")->isEnabled());
    EXPECT_TRUE(Form->Menus().ToolBar->isEnabled());

    const std::vector<std::string> record = engine.SourceLog;
    const auto firstCard = engine.TableauPiles[0][0];
    Choose(Klondike);
    EXPECT_EQ(engine.SourceLog, record);
    EXPECT_EQ(engine.TableauPiles[0][0], firstCard);

    // The same game from its type submenu is the same choice.
    QAction* typeItem = Form->Menus().FindAction(Form->Menus().FindAction(Form->Menus().GameTypeMenu, "Klondike Type")->menu(),
                                         QString::fromStdString(Klondike));
    ASSERT_NE(typeItem, nullptr);
    typeItem->trigger();
    EXPECT_EQ(engine.SourceLog, record);

    Choose("Freecell");
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tessalyn. Game: Freecell  [Open Game]"));
    EXPECT_EQ(engine.TableauPiles.size(), 8u);
}

// The play keys belong to the table, unless a tool bar widget holds the
// focus: then they are that widget's.
TEST_F(TWindowFixture, PlayKeysGoToAToolBarWidgetThatHasTheFocus)
{
    Choose(Klondike);
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_NE(Form->KeyboardPlay(), nullptr);
    PressKey(Form.get(), Qt::Key_Home);  // the first key shows the ring
    PressKey(Form.get(), Qt::Key_Right);
    const int focused = Form->KeyboardPlay()->FocusIndex();
    EXPECT_EQ(focused, 1);

    QComboBox* box = Form->Menus().ScaleBox;
    box->setFocusPolicy(Qt::StrongFocus);
    box->setFocus();
    if (QApplication::focusWidget() != box)
        GTEST_SKIP() << "the platform gives no focus";
    const int size = box->currentIndex();
    PressKey(box, Qt::Key_Down);
    EXPECT_EQ(Form->KeyboardPlay()->FocusIndex(), focused);
    EXPECT_EQ(box->currentIndex(), size + 1);
    box->clearFocus();
    PressKey(Form.get(), Qt::Key_Right);
    EXPECT_EQ(Form->KeyboardPlay()->FocusIndex(), focused + 1);
}

// Every game item of every submenu deals its own game. With the window
// hidden the table does not draw, so the deals are instant.
TEST_F(TWindowFixture, EveryGameItemDealsItsGame)
{
    Form->hide();
    int items = 0;
    std::vector<QMenu*> menus{Form->Menus().GameTypeMenu};
    while (!menus.empty()) {
        QMenu* menu = menus.back();
        menus.pop_back();
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr) {
                menus.push_back(action->menu());
                continue;
            }
            if (action->isSeparator())
                continue;
            action->trigger();
            ++items;
            const std::string name = action->text().toStdString();
            ASSERT_EQ(Form->CurrentGameName(), name);
            ASSERT_EQ(Form->windowTitle().toStdString(), "Tessalyn. Game: " + name + "  [Open Game]");
            ASSERT_FALSE(Form->DealBusy()) << name;
        }
    }
    // Each game is listed alphabetically and by type, the small-screen ones once more.
    EXPECT_EQ(items, 2 * 205 + 53);
}

TEST_F(TWindowFixture, GameCommandsReachTheEngine)
{
    Choose(Klondike);
    TEngine& engine = *Form->Engine();
    QMenu* game = Form->Menus().TopMenu(" Game ");
    ASSERT_TRUE(engine.WasteCards.empty());
    engine.MakeMove(6, 0, 0, 0); // a click on the stock turns one card
    ASSERT_EQ(engine.WasteCards.size(), 1u);
    Form->Menus().FindAction(game, "Undo")->trigger();
    EXPECT_TRUE(engine.WasteCards.empty());
    QAction* redo = Form->Menus().FindAction(game, "Redo");
    ASSERT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(engine.WasteCards.size(), 1u);

    const std::string seed = engine.SourceLog[1];
    Answer = true;
    Form->Menus().FindAction(game, "Restart")->trigger();
    EXPECT_EQ(engine.SourceLog[1], seed);
    EXPECT_TRUE(engine.WasteCards.empty());
    EXPECT_TRUE(Form->windowTitle().endsWith(QStringLiteral("  [Closed Game]")));

    Form->Commands().NewExecute();
    EXPECT_EQ(engine.SourceLog.size(), 3u);
    EXPECT_TRUE(Form->Menus().FindAction(game, "New Game")->isEnabled()) << "the deal enables it again";
}

// The tool bar is disabled while a click is handled; the points shown at the
// end of it must still be the points counted.
TEST_F(TWindowFixture, PointsLabelFollowsThePointsOfAClickGame)
{
    Form->show();
    Choose("Concentration");
    TEngine& engine = *Form->Engine();
    ASSERT_FALSE(engine.TableauPiles.empty());
    TCard* first = engine.TableauPiles[0].back();
    TCard* other = nullptr;
    for (const TPile& pile : engine.TableauPiles)
        for (TCard* card : pile)
            if (card != nullptr && other == nullptr && card->Value != first->Value)
                other = card;
    ASSERT_NE(other, nullptr);
    engine.CardClickEvent(first, 0);
    engine.CardClickEvent(other, 0);
    EXPECT_LT(engine.Points, 0) << "a pair that does not match costs points";
    EXPECT_TRUE(Form->Options().ScoringOn());
    EXPECT_EQ(Form->Menus().PointsLabel->text().toStdString(),
              "Points = " + std::to_string(engine.Points) + " ");

    Form->Menus().SetCommandEnabled(TEngineCommand::Toolbar, false);
    EXPECT_TRUE(Form->Options().ScoringOn()) << "a disabled tool bar is no scoring switch";
    Form->Menus().SetCommandEnabled(TEngineCommand::Toolbar, true);
}

TEST_F(TWindowFixture, RedealButtonSitsOnTheStockAndRedeals)
{
    Form->show();
    Choose("Klondike 2 [Turn over 3]");
    TEngine& engine = *Form->Engine();
    QPushButton* button = Form->Menus().RedealButton;
    EXPECT_FALSE(button->isVisible());
    for (int i = 0; i < 8 && engine.StockCount() > 0; ++i)
        engine.MakeMove(6, 0, 0, 0);
    ASSERT_EQ(engine.StockCount(), 0);
    ASSERT_TRUE(button->isVisible());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->parentWidget(), Form->CardTableWidget());
    const QRect stock(15, 15, Form->CardTable()->CardDeck().CardWidth, Form->CardTable()->CardDeck().CardHeight);
    EXPECT_TRUE(stock.contains(button->geometry().center())) << "the button lies over the stock";

    button->click();
    EXPECT_FALSE(button->isVisible());
    EXPECT_TRUE(engine.WasteCards.empty());
    EXPECT_EQ(engine.StockCount(), 24);
}

TEST_F(TWindowFixture, FullScreenTwiceBringsBackBorderToolBarAndTableTop)
{
    Form->show();
    QApplication::processEvents();
    EXPECT_EQ(Form->TableTop(), 53);
    Form->FullScreenF111Click();
    QApplication::processEvents();
    EXPECT_EQ(Form->TableTop(), 23);
    EXPECT_FALSE(Form->Menus().ToolBar->isVisible());
    EXPECT_TRUE(Form->windowFlags() & Qt::FramelessWindowHint);

    Form->FullScreenF111Click();
    QApplication::processEvents();
    EXPECT_EQ(Form->TableTop(), 53);
    EXPECT_TRUE(Form->Menus().ToolBar->isVisible());
    EXPECT_FALSE(Form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Form->size(), Form->RestoreBounds.size());

    // The key does the same as the menu item, whichever control has it first.
    PressKey(Form->CardTableWidget(), Qt::Key_F11);
    EXPECT_EQ(Form->TableTop(), 23);
    PressKey(Form.get(), Qt::Key_F11);
    EXPECT_EQ(Form->TableTop(), 53);
}

TEST_F(TWindowFixture, ClosingIsRefusedDuringADealAndAskedOtherwise)
{
    Form->show();
    Choose(Klondike);
    TEngine& engine = *Form->Engine();
    const std::vector<std::string> record = engine.SourceLog;

    engine.DealBusy = true;
    EXPECT_FALSE(Form->close());
    EXPECT_EQ(Questions, 0);
    EXPECT_TRUE(Form->isVisible());
    engine.DealBusy = false;

    Answer = false;
    EXPECT_FALSE(Form->close());
    EXPECT_EQ(Questions, 1);
    EXPECT_EQ(LastQuestion, QStringLiteral("Quit Tessalyn?"));
    EXPECT_EQ(engine.SourceLog, record);
    EXPECT_FALSE(engine.GameWon);

    Answer = true;
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(Questions, 2);
    EXPECT_TRUE(engine.GameWon) << "the abandoned game is counted once";
}

// F12 on the start
// screen and F1 leave the caption alone, and "Debug Menu" toggles its menu.
TEST_F(TWindowFixture, StartScreenKeysLeaveTheCaptionAndDebugMenuToggles)
{
    const QString title = Form->windowTitle();
    PressKey(Form.get(), Qt::Key_F12);
    PressKey(Form.get(), Qt::Key_F1);
    EXPECT_EQ(Form->windowTitle(), title);

    QAction* debugToggle = Form->Menus().FindAction(Form->Menus().TopMenu(" Help "), "Debug Menu");
    debugToggle->trigger();
    EXPECT_TRUE(Form->Menus().TopMenuAction(" Debug ")->isVisible());
    debugToggle->trigger();
    EXPECT_FALSE(Form->Menus().TopMenuAction(" Debug ")->isVisible());
}

TEST_F(TWindowFixture, LayoutToggleAndCardScaleFollowTheEngine)
{
    Choose(Klondike);
    QMenu* options = Form->Menus().TopMenu(" Options ");
    QAction* compact = Form->Menus().FindAction(options, "Compact");
    QAction* extended = Form->Menus().FindAction(options, "Extended");
    ASSERT_TRUE(Form->Engine()->ExtendedLayout());
    EXPECT_FALSE(extended->isEnabled());
    compact->trigger();
    EXPECT_FALSE(Form->Engine()->ExtendedLayout());
    EXPECT_FALSE(compact->isEnabled());
    EXPECT_TRUE(extended->isEnabled());
    EXPECT_EQ(Form->OptionsList[5], "Compact");

    Form->Commands().SetScaleStepIndex(1); // 80%
    EXPECT_EQ(Form->CardTable()->CardDeck().ScaleStep(), -1);
    EXPECT_EQ(Form->Menus().ScaleBox->currentIndex(), 1);
    EXPECT_TRUE(Form->Menus().FindAction(options, "80% Normal")->isChecked());
    EXPECT_EQ(Form->OptionsList[4], "-1");
    Form->Commands().SetScaleStepIndex(2);
    EXPECT_EQ(Form->CardTable()->CardDeck().ScaleStep(), 1);
}

TEST_F(TWindowFixture, ScreenTooSmallIsReportedWithItsSize)
{
    EXPECT_TRUE(Form->ScreenOk(640, 480, true));
    EXPECT_TRUE(LastError.isEmpty());
    EXPECT_FALSE(Form->ScreenOk(20000, 10000, false));
    EXPECT_TRUE(LastError.isEmpty());
    EXPECT_FALSE(Form->ScreenOk(20000, 10000, true));
    EXPECT_EQ(LastError, QStringLiteral("Screen resolution must be at least 20000 x 10000 to play this game."));
}

} // namespace

#include "shell/KeyboardPlay.h"

#include "engine/EngineFixture.h"
#include "engine/Snapshot.h"
#include "persistence/SourceLogFile.h"
#include "platform/FilePath.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>

#include <cctype>
#include <sstream>

namespace {

struct TLine {
    std::vector<std::string> Header;  // game, seed, open
    std::vector<int> Actions;         // four numbers per action
    std::string State;
};

TLine ReadLine(const std::string& game)
{
    std::string name;
    for (const char c : game)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    const auto text = platform::ReadWholeFile(testpaths::SourceDir() / "tests" / "engine" / "golden" / (name + ".golden"));
    TLine line;
    if (!text)
        return line;
    std::istringstream lines(*text);
    for (std::string row; std::getline(lines, row);) {
        const std::size_t blank = row.find(' ');
        const std::string key = row.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : row.substr(blank + 1);
        if (key == "game" || key == "seed" || key == "open")
            line.Header.push_back(value);
        else if (key == "state")
            line.State = value;
        else if (key == "actions") {
            std::istringstream numbers(value);
            for (int n = 0; numbers >> n;)
                line.Actions.push_back(n);
        }
    }
    return line;
}

class KeyboardPlayTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Keys = std::make_unique<TKeyboardPlay>(*Engine, *Table);
        Keys->OnRedeal = [this] { Engine->Redeal(); };
        Keys->OnAutomoves = [this] { Engine->AutomoveExecute(); };
        Table->SetDragAndDrop(true);
    }
    void TearDown() override
    {
        Keys.reset();
        EngineTest::TearDown();
    }

    bool Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { return Keys->KeyDown(key, modifiers); }

    // Starts the line's deal as a saved game with no moves would.
    void StartDeal(const TLine& line)
    {
        std::string error;
        const auto saved = ParseSavedGame(FormatSourceLog(line.Header), error);
        ASSERT_TRUE(saved) << error;
        ASSERT_TRUE(Engine->LoadGame(*saved));
        Key(Qt::Key_Home);  // the first key of a deal shows the ring
    }

    int PlaceIndex(const std::function<bool(const TTablePlace&)>& match) const
    {
        const std::vector<TTablePlace> places = Keys->Places();
        for (std::size_t i = 0; i < places.size(); ++i)
            if (match(places[i]))
                return int(i);
        return -1;
    }

    // Home, then Right until the focus is on place `index`.
    ::testing::AssertionResult GoTo(int index)
    {
        if (index < 0)
            return ::testing::AssertionFailure() << "no such place";
        Key(Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            Key(Qt::Key_Right);
        if (Keys->FocusIndex() != index)
            return ::testing::AssertionFailure() << "focus at " << Keys->FocusIndex() << ", not " << index;
        return ::testing::AssertionSuccess();
    }

    TCard* CardOf(int kind, int pile, int position) const
    {
        const auto at = [](const TPile& p, int i) -> TCard* {
            return i >= 0 && i < int(p.size()) ? p[std::size_t(i)] : nullptr;
        };
        switch (kind) {
        case pkTableau:
            return at(Engine->TableauPiles.at(std::size_t(pile)), position);
        case pkFoundation:
            return at(Engine->FoundationPiles.at(std::size_t(pile)), position);
        case pkReserve:
            return at(Engine->ReserveCards, position);
        case pkWaste:
            return at(Engine->WasteCards, position);
        case pkExcept:
            return at(Engine->ExceptPiles.at(std::size_t(pile)), position);
        default:
            return nullptr;
        }
    }

    // Plays one recorded action with keys only, as a player would: focus
    // the card, Space, focus the target, Space.
    ::testing::AssertionResult PlayByKeys(int kind, int pile, int position, int dropPoint)
    {
        if (kind == pkStockDeal || kind == pkRedeal || kind == pkStock) {
            if (auto r = GoTo(PlaceIndex([](const TTablePlace& p) { return p.Kind == pkStock; })); !r)
                return r;
        } else {
            TCard* card = CardOf(kind, pile, position);
            if (card == nullptr)
                return ::testing::AssertionFailure() << "no card at " << kind << " " << pile << " " << position;
            const int place = PlaceIndex([card](const TTablePlace& p) {
                return std::find(p.Cards.begin(), p.Cards.end(), card) != p.Cards.end();
            });
            if (auto r = GoTo(place); !r)
                return r;
            for (int i = 0; i < 60 && Keys->FocusIndex() == place; ++i) {
                const TTablePlace focused = Keys->Places()[std::size_t(place)];
                if ((Keys->Focus().Card ? Keys->Focus().Card : focused.Cards.back()) == card)
                    break;
                Key(Qt::Key_Up);
            }
            const TTablePlace focused = Keys->Places()[std::size_t(place)];
            if (Keys->FocusIndex() != place || (Keys->Focus().Card ? Keys->Focus().Card : focused.Cards.back()) != card)
                return ::testing::AssertionFailure() << "Up never reached the card at " << kind << " " << pile << " "
                                                     << position;
        }
        Key(Qt::Key_Space);
        if (!Keys->Lifted())
            return ::testing::AssertionSuccess();
        const std::vector<TTablePlace> places = Keys->Places();
        int target = -1;
        for (std::size_t i = 0; i < places.size(); ++i) {
            const TTablePlace& p = places[i];
            const auto drop = p.Drop ? std::find(Engine->DropPoints.begin(), Engine->DropPoints.end(), *p.Drop)
                                     : Engine->DropPoints.end();
            const int index = drop == Engine->DropPoints.end() ? -1 : int(drop - Engine->DropPoints.begin());
            const bool own = int(i) == Keys->FocusIndex();
            if (!own && index == dropPoint) {
                target = int(i);
                break;
            }
        }
        if (target < 0) {
            // Only the pile the card came from has that drop point: a drop a
            // player cannot make (a press released there is a click).
            Key(Qt::Key_Escape);
            Skipped = true;
            return ::testing::AssertionSuccess();
        }
        if (auto r = GoTo(target); !r)
            return r << " (drop point " << dropPoint << ")";
        Key(Qt::Key_Space);
        if (Keys->Lifted())
            return ::testing::AssertionFailure() << "still lifted after the drop";
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<TKeyboardPlay> Keys;
    bool Skipped = false;  // the last action was one no player can make
};

// A long known line of each kind of game, played by keys alone on the same
// deal, must end exactly where the same line played by the engine's own move
// routine ended: every card in its place, the same points, the same record.
TEST_F(KeyboardPlayTest, KnownLinesPlayedByKeysEndAsTheRecordedGames)
{
    for (const std::string game : {"Freecell", "Klondike 1 [Turn over 1]", "Spider", "The Clock", "Egyptian Pyramid",
                                   "Osmosis"}) {
        SCOPED_TRACE(game);
        const TLine line = ReadLine(game);
        ASSERT_EQ(line.Header.size(), 3u);
        StartDeal(line);
        std::vector<std::string> played = line.Header;
        int skipped = 0;
        for (std::size_t i = 0; i + 3 < line.Actions.size(); i += 4) {
            Skipped = false;
            const auto result = PlayByKeys(line.Actions[i], line.Actions[i + 1], line.Actions[i + 2], line.Actions[i + 3]);
            ASSERT_TRUE(result) << "action " << i / 4;
            if (Skipped) {
                ++skipped;
                continue;
            }
            for (std::size_t k = i; k < i + 4; ++k)
                played.push_back(std::to_string(line.Actions[k]));
        }
        EXPECT_LT(skipped * 2, int(line.Actions.size()) / 4) << "most of the line is played";
        EXPECT_EQ(Engine->SavedRecord(), played);
        EXPECT_TRUE(EveryCardOnce());
        const std::string byKeys = StateJson(*Engine, true);
        if (skipped == 0) {
            EXPECT_EQ(byKeys, line.State);
        }
        // The same line through the engine's own move routine.
        std::string error;
        const auto saved = ParseSavedGame(FormatSourceLog(played), error);
        ASSERT_TRUE(saved) << error;
        ASSERT_TRUE(Engine->LoadGame(*saved));
        EXPECT_EQ(byKeys, StateJson(*Engine, true));
    }
}

// A winning line of each kind of game (found by the solver, kept as saved
// games), played by keys alone, wins the game with the same points as the
// same line replayed through the engine's move routine.
TEST_F(KeyboardPlayTest, WinningLinesPlayedByKeysAloneWinWithTheSamePoints)
{
    const std::filesystem::path folder = testpaths::SourceDir() / "tests" / "shell" / "data" / "won";
    for (const std::string file : {"Freecell.tsg", "Klondike.tsg", "Spider.tsg", "TheClock.tsg", "Concentration.tsg",
                                   "Osmosis.tsg", "SimplePairs.tsg"}) {
        SCOPED_TRACE(file);
        std::string error;
        const auto saved = ReadSavedGame(folder / file, error);
        ASSERT_TRUE(saved) << error;
        TSavedGame start = *saved;
        start.Actions.clear();
        ASSERT_TRUE(Engine->LoadGame(start));
        ASSERT_FALSE(Engine->GameWon);
        Key(Qt::Key_Home);
        Host.Results.clear();
        for (std::size_t i = 0; i < saved->Actions.size(); ++i) {
            const TSavedGame::TAction& a = saved->Actions[i];
            Skipped = false;
            ASSERT_TRUE(PlayByKeys(a.Kind, a.Pile, a.Position, a.DropPoint)) << "action " << i;
            ASSERT_FALSE(Skipped) << "action " << i << " cannot be made by keys";
            // Each key action makes exactly the recorded action, no more.
            const std::vector<std::string> record = Engine->SavedRecord();
            ASSERT_EQ(record.size(), 3 + 4 * (i + 1)) << "action " << i;
            EXPECT_EQ(std::vector<std::string>(record.end() - 4, record.end()),
                      (std::vector<std::string>{std::to_string(a.Kind), std::to_string(a.Pile),
                                                std::to_string(a.Position), std::to_string(a.DropPoint)}))
                << "action " << i;
        }
        EXPECT_TRUE(Engine->GameWon);
        ASSERT_EQ(Host.Results.size(), 1u);
        const TRecordingHost::TResult byKeys = Host.Results.front();
        EXPECT_TRUE(byKeys.Won);
        EXPECT_EQ(byKeys.Game, saved->GameName);

        Host.Results.clear();
        ASSERT_TRUE(Engine->LoadGame(*saved));
        EXPECT_TRUE(Engine->GameWon);
        ASSERT_EQ(Host.Results.size(), 1u);
        EXPECT_TRUE(Host.Results.front().Won);
        EXPECT_EQ(byKeys.Points, Host.Results.front().Points);
    }
}

TEST_F(KeyboardPlayTest, EscapePutsALiftBackWithoutPointsOrRecordAndTheMouseDoesTheSame)
{
    Deal("Freecell", 7);
    Key(Qt::Key_Home);
    ASSERT_TRUE(GoTo(PlaceIndex([](const TTablePlace& p) { return p.Kind == pkTableau; })));
    const std::string before = StateJson(*Engine, true);
    const int points = Engine->Points;
    const std::size_t record = Engine->SourceLog.size();
    Key(Qt::Key_Space);
    ASSERT_TRUE(Keys->Lifted());
    Key(Qt::Key_Right);
    EXPECT_GT(Table->DraggedCard()->X, Engine->Rules.TableauPositions[0].x() + 50) << "the lift follows the focus";
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Keys->Lifted());
    EXPECT_EQ(Table->DraggedCard(), nullptr);
    EXPECT_EQ(StateJson(*Engine, true), before);
    EXPECT_EQ(Engine->Points, points);
    EXPECT_EQ(Engine->SourceLog.size(), record);

    // A mouse press anywhere on the table clears a pick-up the same way.
    Key(Qt::Key_Space);
    ASSERT_TRUE(Keys->Lifted());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Table.get(), &press);
    EXPECT_FALSE(Keys->Lifted());
    EXPECT_EQ(StateJson(*Engine, true), before);
    EXPECT_EQ(Engine->SourceLog.size(), record);
}

// A lift carried over other piles and put back leaves the table exactly as
// it was: no trace of the card, its shadow or the drop shade anywhere.
TEST_F(KeyboardPlayTest, ALiftCarriedOverThePilesAndPutBackLeavesNoTrace)
{
    for (const bool liftOffset : {false, true}) {
        for (const int shadow : {int(smOriginal), int(smDarken)}) {
            SCOPED_TRACE(std::to_string(liftOffset) + " " + std::to_string(shadow));
            Table->SetLiftOffset(liftOffset);
            Table->SetShadowMode(TShadowMode(shadow));
            Deal("King Albert", 1);  // the seven of spades on pile 5, the ace of spades in the reserve
            Key(Qt::Key_Home);
            ASSERT_TRUE(GoTo(PlaceIndex([](const TTablePlace& p) { return p.Kind == pkTableau && p.Pile == 4; })));
            const QImage before = Table->SurfaceImage().copy();
            Key(Qt::Key_Space);
            ASSERT_TRUE(Keys->Lifted());
            const int count = int(Keys->Places().size());
            for (int i = 0; i < count; ++i)
                Key(Qt::Key_Right);
            Key(Qt::Key_Tab);
            Key(Qt::Key_Up);
            Key(Qt::Key_Backtab);
            Key(Qt::Key_Escape);
            ASSERT_FALSE(Keys->Lifted());
            const QImage after = Table->SurfaceImage();
            int differing = 0;
            QRect where;
            for (int y = 0; y < before.height(); ++y)
                for (int x = 0; x < before.width(); ++x)
                    if (before.pixel(x, y) != after.pixel(x, y)) {
                        ++differing;
                        where |= QRect(x, y, 1, 1);
                    }
            EXPECT_EQ(differing, 0) << "within " << where.x() << "," << where.y() << " " << where.width() << "x"
                                    << where.height();
        }
    }
}

// The ring is painted over the table only inside the rectangle that is
// repainted when it moves; a pixel beyond it would stay behind on screen.
TEST_F(KeyboardPlayTest, TheRingPaintsNothingOutsideItsRectangle)
{
    Deal("King Albert", 1);
    Key(Qt::Key_Home);
    ASSERT_TRUE(GoTo(PlaceIndex([](const TTablePlace& p) { return p.Kind == pkTableau && p.Pile == 4; })));
    const QRect ring = Table->KeyFocusRing();
    ASSERT_FALSE(ring.isEmpty());
    const QImage shown = Table->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage surface = Table->SurfaceImage().convertToFormat(QImage::Format_RGB32);
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < std::min(shown.height(), surface.height()); ++y)
        for (int x = 0; x < std::min(shown.width(), surface.width()); ++x)
            if (shown.pixel(x, y) != surface.pixel(x, y))
                ++(ring.contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 0) << "the ring is drawn";
    EXPECT_EQ(outside, 0);
}

TEST_F(KeyboardPlayTest, ARefusedDropIsARefusedMouseDropAndKeysGoOnFromTheFocusedPileAfterTheMouse)
{
    Deal("Klondike 1 [Turn over 1]", 11);
    Key(Qt::Key_Home);
    // A drop on the waste (no drop target) is refused as the mouse's would be.
    const int points = Engine->Points;
    const int waste = PlaceIndex([](const TTablePlace& p) { return p.Kind == pkWaste; });
    const int tableau = PlaceIndex([](const TTablePlace& p) { return p.Kind == pkTableau && p.Pile == 6; });
    ASSERT_TRUE(GoTo(tableau));
    TCard* card = Engine->TableauPiles[6].back();
    Key(Qt::Key_Space);
    ASSERT_TRUE(Keys->Lifted());
    ASSERT_TRUE(GoTo(waste));
    Key(Qt::Key_Space);
    EXPECT_FALSE(Keys->Lifted());
    EXPECT_EQ(Engine->TableauPiles[6].back(), card);
    EXPECT_EQ(Engine->Points, points - 5);
    EXPECT_EQ(Engine->SourceLog.size() % 4, 3u) << "the refused drop is recorded, as the mouse's is";

    // The mouse deals from the stock; the next key works from the focused pile.
    Engine->MakeMove(pkStockDeal, 0, 0, 0);
    EXPECT_EQ(Keys->FocusIndex(), waste);
    Key(Qt::Key_Right);
    EXPECT_EQ(Keys->FocusIndex(), (waste + 1) % int(Keys->Places().size()));
}

TEST_F(KeyboardPlayTest, NavigationFollowsReadingOrderFansAndPileKinds)
{
    Deal("Klondike 1 [Turn over 1]", 3);
    Key(Qt::Key_End);  // first key: only shows the ring
    ASSERT_FALSE(Table->KeyFocusRing().isEmpty());
    const std::vector<TTablePlace> places = Keys->Places();
    // Stock and waste and the foundations on the top row, then the tableau.
    EXPECT_EQ(places.front().Kind, pkStock);
    EXPECT_EQ(places.back().Kind, pkTableau);
    EXPECT_EQ(places.back().Pile, 6);
    Key(Qt::Key_End);
    EXPECT_EQ(Keys->FocusIndex(), int(places.size()) - 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(places[std::size_t(Keys->FocusIndex())].Kind, pkFoundation);
    Key(Qt::Key_Tab);
    EXPECT_EQ(places[std::size_t(Keys->FocusIndex())].Kind, pkStock);
    Key(Qt::Key_Backtab);
    EXPECT_EQ(places[std::size_t(Keys->FocusIndex())].Kind, pkFoundation);
    // Down from the top row lands on the tableau pile below.
    Key(Qt::Key_Down);
    const TTablePlace& below = places[std::size_t(Keys->FocusIndex())];
    EXPECT_EQ(below.Kind, pkTableau);
    // Up from a pile's single face-up card goes back above.
    Key(Qt::Key_Up);
    EXPECT_EQ(places[std::size_t(Keys->FocusIndex())].Kind, pkFoundation);

    // Assistive technology hears the focused place.
    ASSERT_TRUE(GoTo(int(places.size()) - 1));
    const QString name = QAccessible::queryAccessibleInterface(Table.get())->text(QAccessible::Name);
    EXPECT_TRUE(name.startsWith(QStringLiteral("Tableau pile 7, "))) << name.toStdString();
    EXPECT_TRUE(name.endsWith(QStringLiteral(", 7 cards"))) << name.toStdString();
}

// The ring shows only once keys are used: a new deal starts without it, and
// the mouse takes it away until the next key, which only shows it again.
TEST_F(KeyboardPlayTest, TheRingComesWithKeysAndGoesWithANewDealOrTheMouse)
{
    Deal("Freecell", 7);
    EXPECT_TRUE(Table->KeyFocusRing().isEmpty());
    Key(Qt::Key_Home);
    ASSERT_FALSE(Table->KeyFocusRing().isEmpty());
    Deal("Freecell", 8);
    EXPECT_TRUE(Table->KeyFocusRing().isEmpty()) << "the new deal shows the old ring";

    Key(Qt::Key_Home);
    Key(Qt::Key_Right);
    const int focused = Keys->FocusIndex();
    ASSERT_FALSE(Table->KeyFocusRing().isEmpty());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Table.get(), &press);
    EXPECT_TRUE(Table->KeyFocusRing().isEmpty()) << "the mouse leaves the ring up";
    Key(Qt::Key_Right);
    EXPECT_FALSE(Table->KeyFocusRing().isEmpty());
    EXPECT_EQ(Keys->FocusIndex(), focused) << "the first key after the mouse only shows the ring";
}

// A card in a fan is ringed with the cards lying on it, as a pick-up would
// take them.
TEST_F(KeyboardPlayTest, TheRingOfAFannedCardTakesInTheCardsOnIt)
{
    Deal("Yukon", 3); // any face-up card moves with the cards on it
    Key(Qt::Key_Home);
    const int pile = PlaceIndex([](const TTablePlace& p) { return p.Kind == pkTableau && p.Pile == 6; });
    ASSERT_TRUE(GoTo(pile));
    const TTablePlace place = Keys->Places()[std::size_t(pile)];
    for (int i = 0; i < int(place.Cards.size()) && Keys->Focus().Card == nullptr; ++i)
        Key(Qt::Key_Up);
    ASSERT_EQ(Keys->FocusIndex(), pile);
    TCard* focused = Keys->Focus().Card;
    ASSERT_NE(focused, nullptr) << "no card to go up to";
    ASSERT_NE(focused, place.Cards.back());
    const TCard* top = place.Cards.back();
    EXPECT_TRUE(Table->KeyFocusRing().contains(QRect(top->X, top->Y, top->Deck->CardWidth, top->Deck->CardHeight)));
}

TEST(TablePlacesTest, ReadingOrderGoesRowByRowAndUpDownPreferTheSameColumn)
{
    const QSize card(71, 96);
    const std::vector<QRect> bases = {QRect(QPoint(200, 170), card), QRect(QPoint(15, 15), card),
                                      QRect(QPoint(15, 180), card), QRect(QPoint(400, 20), card)};
    EXPECT_EQ(ReadingOrder(bases), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(PlaceInDirection(bases, 2, -1), 1);
    EXPECT_EQ(PlaceInDirection(bases, 1, 1), 2);
    EXPECT_EQ(PlaceInDirection(bases, 3, -1), -1);
}

} // namespace

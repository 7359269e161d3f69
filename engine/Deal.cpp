// Starting a game: the closed/open decision, the record header, the pack,
// the foundations, reserve, extra piles and tableau, in the order the deal
// has always used (saved games replay against it).
#include "engine/Engine.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "catalogue/GameDefinitions.h"
#include "catalogue/PlayRules.h"
#include "catalogue/Validation.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <algorithm>

namespace {

// The quarter step keeps the full step's sign (piles may fan upward).
int QuarterStep(int full)
{
    return full >= 0 ? full >> 2 : -((-full) >> 2);
}

} // namespace

TEngine::TEngine(TCardTable& table, EngineHost& host)
    : Table(table), Host(host)
{
    SetConstantVariables(Layout, 1.0f, 1.0f);
    Table.OnCardDropEvent = [this](TCard* card, int x, int y, int relX, int relY, int index) {
        CardDropEvent(card, x, y, relX, relY, index);
    };
    Table.OnCardClickEvent = [this](TCard* card, Qt::MouseButton button) {
        CardClickEvent(card, button == Qt::RightButton ? 1 : 0);
    };
    Table.OnCardRestoredEvent = [this] { CardRestoredEvent(); };
}

TCardDeck& TEngine::Deck() const
{
    return Table.CardDeck();
}

int TEngine::StockCount() const
{
    return Deck().StockCount();
}

bool TEngine::SelectGame(const std::string& name)
{
    const TGameDefinition* definition = FindGameDefinition(name);
    if (!definition)
        return false;
    TDefinitionContext context;
    context.Layout = Layout;
    context.QueryMode = Tag == 1;
    context.RulesCleared = [this] {
        EmptyCells = 0;
        PassesDone = 0;
    };
    context.StartGame = [this] { StartGame(); };
    ApplyGameDefinition(*definition, Rules, context);
    return true;
}

void TEngine::QueryGame(const std::string& name)
{
    struct TQueryMode {
        TEngine& Engine;
        explicit TQueryMode(TEngine& engine) : Engine(engine) { Engine.Tag = 1; }
        ~TQueryMode()
        {
            Engine.Tag = 0;
            Engine.Rules.GameName.clear();
        }
    } queryMode(*this);
    SelectGame(name);
}

void TEngine::AbandonGame()
{
    GameWon = true;
    Rules.GameName.clear();
    LastGameName.clear();
}

void TEngine::RunWinShowWithoutGame()
{
    ClearRules(Rules, false);
    if (SourceLog.size() < 2)
        SourceLog.insert(SourceLog.end(), 3, std::string());
    if (SourceLog.size() < 3)
        SourceLog.resize(3);
    Rules.GameName.clear();
    SourceLog[2] = "O";
    Host.RunWinAnimation();
    SourceLog[2] = "0";
    GameWon = true;
}

void TEngine::LoadPreview()
{
    const std::string folder = Host.ProgramFolder();
    std::string file;
    if (!folder.empty()) {
        if (auto found = platform::FindPath(folder, "GameImages/" + std::to_string(Rules.GameNumber) + ".jpg"))
            file = found->string();
        else if (auto fallback = platform::FindPath(folder, "qx3.jpg"))
            file = fallback->string();
    }
    Host.ShowPreview(file);
}

bool TEngine::DecideOpenOrClosed()
{
    const bool closed = Rules.GameName == LastGameName && SourceLog.size() >= 3
        && SourceLog[2] == "0" && NewGameEnabled;
    SourceLog.clear();
    History.clear();
    SourceLogPos = 0;
    HistoryPos = 0;
    SaveName.clear();
    SourceLog.push_back(Rules.GameName);
    return closed;
}

void TEngine::StartGame()
{
    platform::Trace("-- StartGame --");
    LoadPreview();
    if (Tag == 1) {
        platform::Trace("-- StartGame Early Exit --");
        return;
    }
    if (Rules.GameName.empty()) {
        platform::Trace("-- StartGame Exit GameName is empty --");
        return;
    }

    // 3. The game being left counts as lost.
    Host.StopWinAnimation();
    if (!GameWon && !LastGameName.empty() && Host.ScoringOn()) {
        platform::Trace("StartGame updates stats for " + LastGameName);
        Host.RecordGameResult(LastGameName, SaveName, false, Points);
    }

    // 4.
    Replay = false;
    Host.SetCommandEnabled(TEngineCommand::Toolbar, false);
    if (Extended && Rules.GameName != "Loading" && Table.PaintEnabled) {
        platform::Trace("StartGame calls AutoStart        ---------");
        AutoStart();
        platform::Trace("StartGame returns from AutoStart ---------");
    }

    // 5.
    GameWon = false;
    DealBusy = true;
    const std::string openMark = DecideOpenOrClosed() ? "0" : "O";
    platform::Trace("- New Game. -");
    platform::Trace("GameName: " + Rules.GameName);
    platform::Trace("LastGameName: " + LastGameName);
    platform::Trace("SaveName: " + SaveName);
    platform::Trace("LastSaveName: " + LastSaveName);

    // 6.
    const bool painting = Table.PaintEnabled;
    Table.PaintEnabled = false;
    Table.Sprite.Hide();
    Table.ResetTable();
    if (Rules.GameName != LastGameName)
        Table.ClearBottoms();
    LastGameName = Rules.GameName;
    Table.PaintEnabled = painting;
    Table.update();

    // 7.
    if (Table.PaintEnabled)
        Host.ShowTable();

    // 8. Every start enables them: the window switches them off behind our
    // back while it shows no game, so a remembered "already on" would lie.
    SaveEnabled = true;
    Host.SetCommandEnabled(TEngineCommand::SaveGame, true);
    Host.SetCommandEnabled(TEngineCommand::Restart, true);
    SetRedeal(false);

    // 9.
    ReserveCards.clear();
    FoundationPiles.clear();
    TableauPiles.clear();
    WasteCards.clear();
    ExceptPiles.clear();
    RemovedCards.clear();
    Points = 0;
    FoundationCards = 0;
    Rules.FoundationBaseCard = nullptr;
    PassesDone = 0;
    SelectedCard = nullptr;
    StockFromTop = true;
    LastDealt = nullptr;
    StockEndsBeforeDeal.clear();

    // 10, 11.
    Deck().SetCardCount(Rules.DeckCount == 2 ? 104 : 52);
    const QSize screen = Host.ScreenSize();
    if (screen.width() < 1024 || screen.height() < 768)
        Rules.GameOptions.Include(goTightFan);
    FanStep = ::FanStep(Layout, Rules);
    const bool fastDeal = Rules.GameOptions.Contains(goFastDeal);
    if (fastDeal) {
        Table.SetCardSpeed(Table.CardSpeed() * 8);
        Table.SetTurnOverAnimationSpeed(Table.TurnOverAnimationSpeed() * 8);
    }
    const bool lift = Table.TurnOverAnimationLift();
    const bool slowRegion = Table.SlowMoveRegion();
    Table.SetTurnOverAnimationLift(false);
    Table.SetSlowMoveRegion(false);

    // 12, 13.
    PlacePileMarkers();
    TableauPiles.assign(static_cast<std::size_t>(std::max(0, Rules.TableauCount)), TPile(1, nullptr));
    FoundationPiles.assign(static_cast<std::size_t>(std::max(0, Rules.FoundationCount)), TPile(1, nullptr));
    Deck().SetDefaultFaceUp(false);
    Table.SetDragFromDeck(false);

    // 14. Nothing may draw random numbers between recording the seed and the shuffle.
    if (ReseedNextDeal) {
        Randomize();
        ReseedNextDeal = false;
    }
    SourceLog.push_back(std::to_string(static_cast<std::int32_t>(RandSeed())));
    SourceLog.push_back(openMark);
    SetCaption(openMark == "0");
    SourceLogPos = static_cast<int>(SourceLog.size());

    // 15 - 17.
    Deck().Sort();
    const TRuleOptions& f = Rules.FoundationRules;
    if (f.Contains(roPreplaceAll) || f.Contains(roPreplaceOne) || f.Contains(roPreplaceTwo))
        PreplaceFoundations();
    if (Rules.DeckRules.Contains(roDragFromDeck)) {
        Deck().SetDefaultFaceUp(true);
        Table.SetDragFromDeck(true);
    }
    Deck().Shuffle();
    Sound("shuffle.wav", 2, 100);
    PlaceStock();

    // 18 - 20.
    if (f.Contains(roEmptyBaseRank))
        DealBaseCard();
    if (f.Contains(roDealToFoundations))
        DealToFoundations();
    DealReserve();
    DealExceptPiles();

    // 21.
    if (!fastDeal)
        Table.SetTurnOverAnimationSpeed(Table.TurnOverAnimationSpeed() * 8);
    TableauDeal();
    Table.SetTurnOverAnimationSpeed(Table.TurnOverAnimationSpeed() >> 3);
    if (fastDeal)
        Table.SetCardSpeed(std::max(1, Table.CardSpeed() >> 3));
    Table.SetTurnOverAnimationLift(lift);
    Table.SetSlowMoveRegion(slowRegion);

    // 22 - 24.
    FinishDeal();
    DealBusy = false;
    platform::Trace("-- StartGame Exit --");
}

void TEngine::FinishDeal()
{
    if (Table.PaintEnabled) {
        SetLists();
        SetFoundationLabel(FoundationLabelText());
        NewGameEnabled = true;
        Host.SetCommandEnabled(TEngineCommand::NewGame, true);
        if (playrules::RedealGathers(Rules)) // offered from the start
            SetRedeal(true);
        SetUndoRedo(true, false);
        Host.SetCommandEnabled(TEngineCommand::Automove, true);
        Host.SetCommandEnabled(TEngineCommand::Toolbar, true);
        UpdatePointsLabel();
    }
    Table.TurnAnimation = !Rules.FoundationRules.Contains(roNoTurnAnimation);
    Table.SetDragAndDrop(!Rules.TableauRules.Contains(roNoDragAndDrop));
}

std::string TEngine::FoundationLabelText() const
{
    const TRuleOptions& f = Rules.FoundationRules;
    if (f.Contains(roEmptyBaseRank) && Rules.FoundationBaseCard)
        return RankWord(Rules.FoundationBaseCard->Value);
    if (f.Contains(roEmptyAce))
        return "Ace";
    if (f.Contains(roEmptyKing))
        return "King";
    if (f.Contains(roEmptyTwo))
        return "Two";
    if (f.Contains(roEmptyJack))
        return "Jack";
    return "Move";
}

void TEngine::SetFoundationLabel(const std::string& text)
{
    FoundationLabel = text;
    Host.ShowFoundationLabel(text);
}

void TEngine::SetCaption(bool closed)
{
    const std::string name = SaveName.empty()
        ? Rules.GameName
        : std::filesystem::path(SaveName).filename().string();
    Caption = "Tessalyn. Game: " + name + (closed ? "  [Closed Game]" : "  [Open Game]");
    Host.ShowCaption(Caption);
}

QPoint TEngine::CellPosition(int k) const
{
    const QPoint r = Rules.ReservePosition;
    if (Rules.CellsVertical)
        return {r.x(), r.y() + k * Layout.RowStep};
    return {r.x() + (k + 1) * Layout.ColumnStep, r.y()};
}

void TEngine::PlacePileMarkers()
{
    const bool angled = !Rules.FoundationAngles.empty();
    for (int i = 1; i <= Rules.FoundationCount && i <= 13; ++i) {
        const QPoint p = Rules.FoundationPositions.at(static_cast<std::size_t>(i - 1));
        const float angle = angled ? Rules.FoundationAngles.at(static_cast<std::size_t>(i - 1)) : 0.0f;
        Table.PlaceBottom(1, p.x(), p.y(), i, nullptr, angle);
    }
    if (Rules.TableauCount >= 1 && Rules.TableauCount <= 20) {
        for (int i = 1; i <= Rules.TableauCount; ++i) {
            const QPoint p = Rules.TableauPositions.at(static_cast<std::size_t>(i - 1));
            Table.PlaceBottom(0, p.x(), p.y(), i);
        }
    }
    if (Rules.FreeCells) {
        for (int k = 0; k < Rules.ReserveCount && Rules.TableauCount + k + 1 <= 20; ++k) {
            const QPoint p = CellPosition(k);
            Table.PlaceBottom(0, p.x(), p.y(), Rules.TableauCount + k + 1);
        }
    }
}

void TEngine::PreplaceFoundations()
{
    const TRuleOptions& f = Rules.FoundationRules;
    const int n = StockCount();
    std::vector<TCard*> keep;
    keep.reserve(static_cast<std::size_t>(n));
    int j = 0;
    for (int taken = 0; taken < n; ++taken) {
        TCard* card = Table.NextCard();
        if (!card)
            break;
        const int v = card->Value;
        const bool matches = (v == cvAce && f.Contains(roEmptyAce)) || (v == cvKing && f.Contains(roEmptyKing))
            || (v == cvJack && f.Contains(roEmptyJack)) || (v == cvTwo && f.Contains(roEmptyTwo))
            || (v == cvAce && card->Suit == csSpade && f.Contains(roPreplaceSuit3Ace));
        const bool enoughPlaced = (f.Contains(roPreplaceOne) && j == 1) || (f.Contains(roPreplaceTwo) && j == 2);
        // More matching cards than foundations stay in the pack rather than
        // landing on a foundation that does not exist.
        if (enoughPlaced || !matches || j >= Rules.FoundationCount) {
            keep.push_back(card);
            continue;
        }
        Sound("success.wav", 1, 100);
        FoundationPiles[static_cast<std::size_t>(j)][0] = card;
        const QPoint p = Rules.FoundationPositions.at(static_cast<std::size_t>(j));
        Table.PlaceCard(card, p.x(), p.y());
        TurnUp(card);
        ++j;
        if (Host.SoundOn())
            Table.Wait(200);
    }
    if (!keep.empty())
        Deck().ReturnCards(keep, static_cast<int>(keep.size()) - 1);
}

QPoint TEngine::StockPosition() const
{
    const TRuleOptions& d = Rules.DeckRules;
    if (d.Contains(roDeckAltPosition)) {
        if (d.Contains(roDeckLow))
            return {Layout.LeftMargin + 2 * Layout.ColumnStep, Layout.TopMargin + 4 * Layout.RowStep};
        if (d.Contains(roDeckAtPosition))
            return Rules.DeckPosition;
        return {Layout.LeftMargin + 2 * Layout.ColumnStep, Layout.TopMargin - 7};
    }
    return {Layout.LeftMargin, Layout.TopMargin};
}

void TEngine::PlaceStock()
{
    const QPoint p = StockPosition();
    Table.PlaceDeck(p.x(), p.y());
    ModifyRedeal();
}

void TEngine::DealBaseCard()
{
    Sound("success.wav", 1, 100);
    TCard* card = Table.NextCard();
    if (!card || FoundationPiles.empty())
        return;
    FoundationPiles[0][0] = card;
    Glide(card, Rules.FoundationPositions.at(0));
    TurnUp(card);
    if (!Rules.FoundationAngles.empty())
        Table.RotateCard(card, Rules.FoundationAngles[0]);
    Rules.FoundationBaseCard = card;
    if (Host.SoundOn())
        Table.Wait(500);
}

void TEngine::DealToFoundations()
{
    Sound("deal.wav", 3, 100);
    const bool angled = !Rules.FoundationAngles.empty();
    while (StockCount() > 0 && Rules.FoundationCount > 0) {
        for (int i = 0; i < Rules.FoundationCount; ++i) {
            TCard* card = Table.NextCard();
            if (!card)
                break;
            TPile& pile = FoundationPiles[static_cast<std::size_t>(i)];
            if (!pile[0])
                pile[0] = card;
            else
                pile.push_back(card);
            Glide(card, Rules.FoundationPositions.at(static_cast<std::size_t>(i)));
            Table.Wait(25);
            if (angled)
                Table.RotateCard(card, Rules.FoundationAngles.at(static_cast<std::size_t>(i)));
        }
    }
    Host.StopSound();
    if (FoundationPiles.size() >= 13 && FoundationPiles[12].size() >= 4 && FoundationPiles[12][3]) {
        TurnUp(FoundationPiles[12][3]);
        if (Rules.GameName == "The Clock")
            ClockKingRule();
    }
}

void TEngine::ClockKingRule()
{
    TPile& centre = FoundationPiles[12];
    const float angle = Rules.FoundationAngles.size() > 12 ? Rules.FoundationAngles[12] : 0.0f;
    const QPoint at = Rules.FoundationPositions.at(12);
    const auto allFaceUp = [&centre] {
        return std::all_of(centre.begin(), centre.end(), [](const TCard* c) { return c && c->FaceUp; });
    };
    while (centre.back() && centre.back()->Value == cvKing && !allFaceUp()) {
        Sound("success.wav", 5, 500);
        TCard* king = centre.back();
        for (auto it = centre.rbegin(); it != centre.rend(); ++it)
            Table.RemoveCard(*it);
        centre.pop_back();
        centre.insert(centre.begin(), king);
        for (TCard* card : centre)
            Table.PlaceCard(card, at.x(), at.y(), angle);
        TurnUp(centre.back());
    }
}

QPoint TEngine::ReserveCardPosition(int i) const
{
    const int x0 = Rules.ReservePosition.x() == 0 ? Layout.ReserveLeft : Rules.ReservePosition.x();
    const int y = Rules.ReservePosition.y();
    if (y == -1)
        return {x0 + i * Layout.FanStepBase, Layout.TopMargin};
    if (y < -1)
        return {x0 + i * Layout.FanStepBase, Layout.TopMargin + 4 * Layout.RowStep - 60};
    if (Rules.ReserveFanned)
        return {x0, Layout.SecondRowTop + i * FanStep};
    if (!Rules.FreeCells)
        return {x0, Layout.SecondRowTop};
    if (Rules.CellsVertical)
        return {x0, y + i * Layout.RowStep};
    return {x0 + (i + 1) * Layout.ColumnStep, y};
}

void TEngine::LayOutReserveFrom(int first)
{
    for (std::size_t i = static_cast<std::size_t>(std::max(0, first)); i < ReserveCards.size(); ++i) {
        TCard* card = ReserveCards[i];
        if (!card)
            continue;
        // Re-placed in order even where it already lies, so later cards stay on top.
        const QPoint p = ReserveCardPosition(static_cast<int>(i));
        Table.RemoveCard(card);
        Table.PlaceCard(card, p.x(), p.y());
    }
}

void TEngine::DealReserve()
{
    ReserveCards.assign(static_cast<std::size_t>(std::max(0, Rules.ReserveCount)), nullptr);
    const int n = Rules.CellDealCount > 0 ? std::min(Rules.CellDealCount, Rules.ReserveCount) : Rules.ReserveCount;
    if (Rules.ReserveCount == 0 || (Rules.FreeCells && Rules.CellDealCount == 0))
        return;
    for (int i = 0; i < n; ++i) {
        TCard* card = Table.NextCard();
        if (!card)
            break;
        ReserveCards[static_cast<std::size_t>(i)] = card;
        Glide(card, ReserveCardPosition(i));
        Sound("drop0.wav", 1, 100);
        if (Rules.ReserveFaceUp || Rules.FreeCells)
            TurnUp(card);
    }
    // A stacked reserve that the stock could not fill keeps no empty slots
    // on top: its top card is always its last entry.
    if (!Rules.FreeCells && !Rules.ReserveAllAvailable)
        std::erase(ReserveCards, nullptr);
}

void TEngine::DealExceptPiles()
{
    ExceptPiles.assign(static_cast<std::size_t>(std::max(0, Rules.ExceptCount)), TPile{});
    for (int i = 0; i < Rules.ExceptCount; ++i) {
        TPile& pile = ExceptPiles[static_cast<std::size_t>(i)];
        const int count = Rules.ExceptDealCounts.at(static_cast<std::size_t>(i));
        const QPoint origin = Rules.ExceptPositions.at(static_cast<std::size_t>(i));
        for (int j = 0; j < count; ++j) {
            TCard* card = Table.NextCard();
            if (!card)
                break;
            pile.push_back(card);
            if (Rules.ExceptPlaced) {
                const QPoint to = Rules.ExceptSideways ? QPoint(origin.x() + j * Layout.FanStepBase, origin.y())
                                                       : QPoint(origin.x(), origin.y() + j * FanStep);
                Glide(card, to);
            }
            Sound("drop0.wav", 1, 100);
            if (Rules.ExceptFaceUp || j == count - 1 || StockCount() == 0)
                TurnUp(card);
        }
    }
}

void TEngine::TableauDeal()
{
    Sound("deal.wav", 3, 100);
    const TRuleOptions& t = Rules.TableauRules;
    const auto& counts = Rules.TableauDealCounts;
    const int piles = Rules.TableauCount;
    std::vector<int> offsets(static_cast<std::size_t>(std::max(0, piles)), 0);
    const auto countOf = [&counts](int p) { return counts.empty() ? 1 : counts.at(static_cast<std::size_t>(p - 1)); };

    if (t.Contains(roDealPileByPile) && t.Contains(roDealBySuit)) {
        for (int p = 1; p <= piles; ++p) {
            for (int k = 0; k < countOf(p) && StockCount() > 0; ++k) {
                // The next card decides its own pile: its suit code + 1.
                const TCard* next = Deck().CardByIndex(Deck().DealtCount + 1);
                const int target = next ? playrules::DealBySuitPile(Rules, static_cast<int>(next->Suit)) : 1;
                const TPile& pile = TableauPiles[static_cast<std::size_t>(target - 1)];
                const int r = pile[0] ? static_cast<int>(pile.size()) + 1 : 1;
                DealTableauCard(r, target, offsets);
            }
        }
    } else if (t.Contains(roDealPileByPile)) {
        for (int p = 1; p <= piles; ++p)
            for (int r = 1; r <= countOf(p); ++r)
                DealTableauCard(r, p, offsets);
    } else {
        int rows = 1;
        if (t.Contains(roDealRows))
            rows = counts.empty() ? 1 : *std::max_element(counts.begin(), counts.end());
        else if (t.Contains(roSquared) && !counts.empty())
            rows = counts.front();
        for (int r = 1; r <= rows; ++r)
            for (int p = 1; p <= piles - Rules.TableauUndealtPiles; ++p)
                if (counts.empty() || counts.at(static_cast<std::size_t>(p - 1)) >= r)
                    DealTableauCard(r, p, offsets);
    }
    Host.StopSound();
}

void TEngine::DealTableauCard(int r, int p, std::vector<int>& offsets)
{
    TCard* card = Table.NextCard();
    if (!card)
        return; // deal counts are upper bounds
    const TRuleOptions& t = Rules.TableauRules;
    const auto& counts = Rules.TableauDealCounts;
    const auto& faceDown = Rules.TableauFaceDownCounts;
    const auto at = [](const std::vector<int>& v, int p) { return v.at(static_cast<std::size_t>(p - 1)); };
    TPile& pile = TableauPiles[static_cast<std::size_t>(p - 1)];
    if (static_cast<int>(pile.size()) < r)
        pile.resize(static_cast<std::size_t>(r), nullptr);
    pile[static_cast<std::size_t>(r - 1)] = card;

    int& offset = offsets[static_cast<std::size_t>(p - 1)];
    if (r > 1 && !t.Contains(roSquared)) {
        const int full = t.Contains(roFanSideways) ? TLayoutConstants::SidewaysFanStep : FanStep;
        const int quarter = QuarterStep(full);
        int step = quarter;
        if (t.Contains(roDealFaceUp))
            step = full;
        else if (!faceDown.empty())
            step = at(faceDown, p) < r - 1 ? full : quarter;
        else if (counts.empty())
            step = full;
        else
            step = r == at(counts, p) + 1 ? full : quarter;
        offset += step;
    }
    const QPoint origin = Rules.TableauPositions.at(static_cast<std::size_t>(p - 1));
    Glide(card, t.Contains(roFanSideways) ? QPoint(origin.x() + offset, origin.y())
                                           : QPoint(origin.x(), origin.y() + offset));
    Table.Wait(25);

    if (playrules::DealtCardStaysDown(Rules, r, p, StockCount() > 0))
        return;
    if (!t.Contains(roDealFaceDown))
        TurnUp(card);
    if (playrules::KingGoesUnder(Rules, r, card->Value))
        KingToBottom(p, r);
}

void TEngine::KingToBottom(int p, int r)
{
    TPile& pile = TableauPiles[static_cast<std::size_t>(p - 1)];
    for (int k = r - 1; k >= 0; --k)
        Table.RemoveCard(pile[static_cast<std::size_t>(k)]);
    TCard* king = pile[static_cast<std::size_t>(r - 1)];
    for (int k = r - 1; k > 0; --k)
        pile[static_cast<std::size_t>(k)] = pile[static_cast<std::size_t>(k - 1)];
    pile[0] = king;
    const QPoint origin = Rules.TableauPositions.at(static_cast<std::size_t>(p - 1));
    const TRuleOptions& t = Rules.TableauRules;
    QPoint at = origin;
    for (int k = 0; k < r; ++k) {
        if (k > 0 && t.Contains(roFanOnDrop))
            at += t.Contains(roFanSideways) ? QPoint(TLayoutConstants::SidewaysFanStep, 0) : QPoint(0, FanStep);
        Table.PlaceCard(pile[static_cast<std::size_t>(k)], at.x(), at.y());
        Table.Wait(50);
    }
}

void TEngine::TurnUp(TCard* card)
{
    if (card && !card->FaceUp)
        Table.TurnCard(card);
}

void TEngine::TurnDown(TCard* card)
{
    if (card && card->FaceUp)
        Table.TurnCard(card);
}

// Slides a card that lies on the table; a card not drawn yet is put down there.
void TEngine::Glide(TCard* card, QPoint to)
{
    if (card->OnTable)
        Table.MoveCard(card, to.x(), to.y());
    else
        Table.PlaceCard(card, to.x(), to.y(), card->Angle);
}

void TEngine::Pause(int ms)
{
    if (Host.SoundOn())
        Table.Wait(ms);
}

void TEngine::SetRedeal(bool offered)
{
    RedealOffered = offered;
    Host.SetCommandVisible(TEngineCommand::Redeal, offered);
    Host.SetCommandEnabled(TEngineCommand::Redeal, offered);
}

void TEngine::SetUndoRedo(bool undo, bool redo)
{
    UndoEnabled = undo;
    RedoEnabled = redo;
    Host.SetCommandEnabled(TEngineCommand::Undo, undo);
    Host.SetCommandEnabled(TEngineCommand::Redo, redo);
}

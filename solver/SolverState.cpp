#include "solver/SolverState.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace solver {

void TStack::InsertAt(int index, TCardCode card)
{
    for (int k = Count; k > index; --k)
        Cards[static_cast<std::size_t>(k)] = Cards[static_cast<std::size_t>(k - 1)];
    Cards[static_cast<std::size_t>(index)] = card;
    ++Count;
}

void TStack::EraseAt(int index)
{
    for (int k = index; k + 1 < Count; ++k)
        Cards[static_cast<std::size_t>(k)] = Cards[static_cast<std::size_t>(k + 1)];
    --Count;
}

TSolverGame MakeSolverGame(const TGameRules& rules)
{
    TSolverGame game;
    game.Rules = rules;
    const TRuleOptions& t = rules.TableauRules;
    const TRuleOptions& f = rules.FoundationRules;
    game.FourColours = rules.GameName == "Four Colours";
    game.AcesUp = rules.GameName == "Aces Up";
    game.TheClock = rules.GameName == "The Clock";
    game.Burleigh = rules.DeckRules.Contains(roStockSpecial) && rules.GameName == "Burleigh";
    game.OneFoundation = rules.DeckRules.Contains(roStockSpecial) && rules.GameName == "One Foundation";
    game.ClickPlay = t.Contains(roNoDragAndDrop);
    game.MultiMove = t.Contains(roMoveFaceUpGroups) || t.Contains(roMoveWholePile) || t.Contains(roMoveSequences);
    game.WinningCount = rules.DeckCount == 2 ? 104 : 52;
    game.TableauDropTarget = !t.Contains(roNotDropTarget);
    game.FoundationDropTarget = !f.Contains(roNotDropTarget);

    // Foundations built up by suit from the Ace, one pack, tableau built down
    // without wrapping, and nothing that refills or reshapes the tableau when
    // a card leaves it: then a card nobody can need any more may go home at once.
    const bool plainFoundations = f.Contains(roBuildUp) && f.Contains(roSameSuit) && f.Contains(roEmptyAce)
        && !f.Contains(roAnySuitDrop) && !f.Contains(roSameColour) && !f.Contains(roFirstCardSetsBase)
        && !f.Contains(roEmptyBaseRank) && !f.Contains(roRankIsPileIndex) && !f.Contains(roFoundationSuitRun)
        && !f.Contains(roFoundationSideways) && !f.Contains(roClockInsert) && !f.Contains(roKingOnAce) && !f.Contains(roAceOnKing);
    const bool plainGame = rules.DeckCount != 2 && !game.ClickPlay && !game.TheClock && !game.AcesUp && !game.OneFoundation
        && !game.Burleigh && !t.Contains(roRefillEmpty) && !t.Contains(roKingOnAce) && !t.Contains(roAceOnKing)
        && t.Contains(roBuildDown) && !t.Contains(roBuildUp) && !t.Contains(roBuildUpOrDown) && !t.Contains(roSameColour)
        && !t.Contains(roOtherSuit);
    if (plainFoundations && plainGame) {
        if (t.Contains(roAlternateColour))
            game.AutoProof = TSolverGame::TAutoProof::AlternateColour;
        else if (t.Contains(roSameSuit) && !t.Contains(roAnySuitDrop))
            game.AutoProof = TSolverGame::TAutoProof::SameSuit;
        else if (!t.Contains(roSameSuit))
            game.AutoProof = TSolverGame::TAutoProof::AnySuit;
    }
    return game;
}

namespace {

void Fill(TStack& stack, const TCardCodes& cards, bool keepEmpty)
{
    for (const TCardCode card : cards) {
        if (card == NoCard && !keepEmpty)
            continue;
        if (stack.Count >= MaxStackCards)
            throw std::invalid_argument("a pile holds more cards than two packs");
        stack.Push(card);
    }
}

// A rule that names a tableau pile by its place binds the piles to their places.
bool TableauPlacesMatter(const TGameRules& rules)
{
    const TRuleOptions& t = rules.TableauRules;
    // A pair game's selection names its pile.
    return t.Contains(roRankIsPileIndex) || t.Contains(roNoDragAndDrop);
}

std::uint64_t Mix(std::uint64_t x)
{
    x ^= x >> 31;
    x *= 0x7fb5d329728ea185ULL;
    x ^= x >> 27;
    x *= 0x81dadef4bc2dd44dULL;
    x ^= x >> 33;
    return x;
}

std::uint64_t StackHash(const TStack& stack, bool keepFaces)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ stack.Count;
    for (int k = 0; k < stack.Count; ++k) {
        const TCardCode c = stack.Cards[static_cast<std::size_t>(k)];
        const std::uint64_t code = c == NoCard ? 0xFF : (keepFaces ? (c & ~PackBit) : CodeIdentity(c));
        h = (h ^ code) * 0x100000001B3ULL;
        h = (h << 7) | (h >> 57);
    }
    return Mix(h);
}

} // namespace

TSolverState::TSolverState(const TSolverGame& game, const TPositionSnapshot& s) : GameRef(&game)
{
    PileMap.Tableau = static_cast<int>(s.Tableau.size());
    PileMap.Foundations = static_cast<int>(s.Foundations.size());
    PileMap.Except = static_cast<int>(s.Except.size());
    Piles.resize(static_cast<std::size_t>(PileMap.Count()));
    for (int p = 0; p < PileMap.Tableau; ++p)
        Fill(Tableau(p), s.Tableau[static_cast<std::size_t>(p)], false);
    for (int f = 0; f < PileMap.Foundations; ++f)
        Fill(Foundation(f), s.Foundations[static_cast<std::size_t>(f)], false);
    for (int e = 0; e < PileMap.Except; ++e)
        Fill(Except(e), s.Except[static_cast<std::size_t>(e)], false);
    Fill(Reserve(), s.Reserve, game.Rules.FreeCells);
    Fill(Waste(), s.Waste, false);
    TCardCodes stock(s.Stock.rbegin(), s.Stock.rend());
    Fill(Stock(), stock, false);
    Removed = s.Removed;
    SharedFoundationIndex = s.SharedFoundation;
    Fill(Shared(), s.SharedPlace, false);

    Counters.Points = s.Points;
    Counters.FoundationCards = static_cast<std::int16_t>(s.FoundationCards);
    Counters.PassesDone = static_cast<std::int16_t>(s.PassesDone);
    Counters.BaseValue = static_cast<std::int8_t>(s.BaseValue);
    Counters.RedealOffered = s.RedealOffered;
    Counters.Won = s.Won;
    Counters.DealPileByPile = game.Rules.TableauRules.Contains(roDealPileByPile);
    Counters.SelectedPile = static_cast<std::int8_t>(s.SelectedPile);
    Counters.SelectedIndex = static_cast<std::int8_t>(s.SelectedIndex);
    Counters.StockFromTop = s.StockFromTop;
    Counters.LastDealt = s.LastDealt;
    Counters.RandSeed = s.RandSeed;

    // A stock that deals a card to each pile, and a redeal that deals the
    // tableau again, give the piles their places.
    const bool dealsByPlace = game.Rules.TurnCount < 1 && (!s.Stock.empty() || game.Rules.TurnCount < -2);
    TableauInterchangeable = !TableauPlacesMatter(game.Rules) && !dealsByPlace;
    CellsInterchangeable = game.Rules.FreeCells && !game.FourColours;
    // Foundations are bound to their places by a sideways row, by a base per
    // pile, by The Clock and by single-foundation games.
    const TRuleOptions& f = game.Rules.FoundationRules;
    FoundationsInterchangeable = !f.Contains(roFoundationSideways) && !f.Contains(roRankIsPileIndex)
        && !f.Contains(roClockInsert) && !game.TheClock;
    Journal.reserve(1 << 16);
    Frames.reserve(1024);
}

void TSolverState::BeginMove()
{
    Frames.push_back({Counters, static_cast<std::uint32_t>(Journal.size()), static_cast<std::uint8_t>(Removed.size()), 0});
}

void TSolverState::Touch(int index)
{
    TFrame& frame = Frames.back();
    const std::uint64_t bit = std::uint64_t{1} << (index & 63);
    if (index < 64 && (frame.Touched & bit))
        return;
    if (index < 64)
        frame.Touched |= bit;
    const TStack& stack = Piles[static_cast<std::size_t>(index)];
    const std::size_t at = Journal.size();
    Journal.resize(at + stack.Count + 2u);
    std::memcpy(Journal.data() + at, stack.Cards.data(), stack.Count);
    Journal[at + stack.Count] = stack.Count;
    Journal[at + stack.Count + 1u] = static_cast<std::uint8_t>(index);
}

void TSolverState::UndoMove()
{
    const TFrame frame = Frames.back();
    Frames.pop_back();
    while (Journal.size() > frame.JournalStart) {
        const int index = Journal.back();
        const int count = Journal[Journal.size() - 2];
        const std::size_t start = Journal.size() - 2 - static_cast<std::size_t>(count);
        TStack& stack = Piles[static_cast<std::size_t>(index)];
        std::memcpy(stack.Cards.data(), Journal.data() + start, static_cast<std::size_t>(count));
        stack.Count = static_cast<std::uint8_t>(count);
        Journal.resize(start);
    }
    Counters = frame.Counters;
    Removed.resize(frame.RemovedCount);
}

bool TSolverState::WasteTopReachable() const
{
    return SharedFoundationIndex < 0 || (!Shared().Empty() && CodeIdentity(Shared().Top()) == CodeIdentity(Waste().Top()));
}

bool TSolverState::FoundationTopReachable(int f) const
{
    return f != SharedFoundationIndex || (!Shared().Empty() && CodeIdentity(Shared().Top()) == CodeIdentity(Foundation(f).Top()));
}

void TSolverState::SharedPlaced(TCardCode card)
{
    if (SharedFoundationIndex < 0)
        return;
    Touch(PileMap.SharedIndex());
    Shared().Push(card);
}

void TSolverState::SharedTaken(TCardCode card)
{
    if (SharedFoundationIndex < 0)
        return;
    Touch(PileMap.SharedIndex());
    TStack& shared = Shared();
    for (int k = shared.Count - 1; k >= 0; --k) {
        if (CodeIdentity(shared.Cards[static_cast<std::size_t>(k)]) == CodeIdentity(card)) {
            shared.EraseAt(k);
            return;
        }
    }
}

int TSolverState::EmptyColumns() const
{
    if (!Game().TableauDropTarget)
        return 0;
    int n = 0;
    for (int p = 0; p < PileMap.Tableau; ++p)
        n += Tableau(p).Empty() ? 1 : 0;
    return n;
}

int TSolverState::EmptyCells() const
{
    if (!Game().Rules.FreeCells)
        return 0;
    const TStack& r = Reserve();
    return static_cast<int>(std::count(r.Cards.begin(), r.Cards.begin() + r.Count, NoCard));
}

TPositionSnapshot TSolverState::ToSnapshot() const
{
    TPositionSnapshot s;
    const auto codes = [](const TStack& stack) { return TCardCodes(stack.Cards.begin(), stack.Cards.begin() + stack.Count); };
    for (int p = 0; p < PileMap.Tableau; ++p)
        s.Tableau.push_back(codes(Tableau(p)));
    for (int f = 0; f < PileMap.Foundations; ++f)
        s.Foundations.push_back(codes(Foundation(f)));
    for (int e = 0; e < PileMap.Except; ++e)
        s.Except.push_back(codes(Except(e)));
    s.Reserve = codes(Reserve());
    s.Waste = codes(Waste());
    const TCardCodes stock = codes(Stock());
    s.Stock.assign(stock.rbegin(), stock.rend());
    s.Removed = Removed;
    s.Points = Counters.Points;
    s.FoundationCards = Counters.FoundationCards;
    s.PassesDone = Counters.PassesDone;
    s.BaseValue = Counters.BaseValue;
    s.RedealOffered = Counters.RedealOffered;
    s.Won = Counters.Won;
    s.SelectedPile = Counters.SelectedPile;
    s.SelectedIndex = Counters.SelectedIndex;
    s.StockFromTop = Counters.StockFromTop;
    s.LastDealt = Counters.LastDealt;
    s.RandSeed = Counters.RandSeed;
    s.SharedFoundation = SharedFoundationIndex;
    s.SharedPlace = codes(Shared());
    return s;
}

void TSolverState::Encode(std::vector<std::uint8_t>& out) const
{
    out.clear();
    const auto* counters = reinterpret_cast<const std::uint8_t*>(&Counters);
    out.insert(out.end(), counters, counters + sizeof Counters);
    for (const TStack& stack : Piles) {
        out.push_back(stack.Count);
        out.insert(out.end(), stack.Cards.begin(), stack.Cards.begin() + stack.Count);
    }
    out.push_back(static_cast<std::uint8_t>(Removed.size()));
    out.insert(out.end(), Removed.begin(), Removed.end());
}

void TSolverState::Decode(const std::uint8_t* data)
{
    Frames.clear();
    Journal.clear();
    std::memcpy(&Counters, data, sizeof Counters);
    data += sizeof Counters;
    for (TStack& stack : Piles) {
        stack.Count = *data++;
        std::memcpy(stack.Cards.data(), data, stack.Count);
        data += stack.Count;
    }
    Removed.assign(data + 1, data + 1 + *data);
}

std::uint64_t TSolverState::Key() const
{
    // Interchangeable piles add their hashes (an order-free sum); bound piles
    // mix in their place.
    // With unlimited passes no rule reads the count: positions one pass apart are the same.
    const std::uint64_t passes = Game().Rules.DeckPasses == 0 ? 0 : static_cast<std::uint64_t>(Counters.PassesDone);
    std::uint64_t key = Mix(passes << 32 | static_cast<std::uint8_t>(Counters.BaseValue) << 8
                            | (Counters.RedealOffered ? 1u : 0u) | (Counters.StockFromTop ? 2u : 0u) | (Counters.DealPileByPile ? 4u : 0u))
        ^ Mix(0x51ED270B27ULL + static_cast<std::uint64_t>(static_cast<std::uint8_t>(Counters.SelectedPile)) * 131
              + static_cast<std::uint8_t>(Counters.SelectedIndex) + (Game().Burleigh ? static_cast<std::uint64_t>(Counters.LastDealt) << 20 : 0));
    if (Game().Rules.TurnCount == -4)
        key ^= Mix(Counters.RandSeed + 0xABCDEFULL);
    for (int p = 0; p < PileMap.Tableau; ++p) {
        const std::uint64_t h = StackHash(Tableau(p), true);
        key += TableauInterchangeable ? h : Mix(h + static_cast<std::uint64_t>(p) * 0x9E3779B97F4A7C15ULL);
    }
    for (int f = 0; f < PileMap.Foundations; ++f) {
        const std::uint64_t h = StackHash(Foundation(f), true);
        key += FoundationsInterchangeable ? Mix(h ^ 0xF00D) : Mix(h + static_cast<std::uint64_t>(f + 100) * 0x9E3779B97F4A7C15ULL);
    }
    for (int e = 0; e < PileMap.Except; ++e)
        key += Mix(StackHash(Except(e), true) + static_cast<std::uint64_t>(e + 200) * 0x9E3779B97F4A7C15ULL);
    const TStack& reserve = Reserve();
    if (CellsInterchangeable) {
        for (int i = 0; i < reserve.Count; ++i)
            key += Mix(0xCE11ULL ^ reserve.Cards[static_cast<std::size_t>(i)]);
    } else {
        key += Mix(StackHash(reserve, true) + 0x3333);
    }
    key += Mix(StackHash(Waste(), true) + 0x4444);
    key += Mix(StackHash(Stock(), true) + 0x5555);
    if (SharedFoundationIndex >= 0)
        key += Mix(StackHash(Shared(), true) + 0x6666);
    return key;
}

} // namespace solver

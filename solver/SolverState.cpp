#include "solver/SolverState.h"

#include "catalogue/DropRules.h"
#include "catalogue/PlayRules.h"
#include "catalogue/Validation.h"

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

namespace {

// The identities a card may have to fit on `top` by the judge's rank and suit tests.
std::uint64_t FitsOn(const TRuleOptions& rules, int top)
{
    const TCardFace topFace{CodeValue(static_cast<TCardCode>(top)), CodeSuit(static_cast<TCardCode>(top)), true};
    std::uint64_t fits = 0;
    for (int card = 0; card < 64; ++card) {
        const TCardFace face{CodeValue(static_cast<TCardCode>(card)), CodeSuit(static_cast<TCardCode>(card)), true};
        if (RankFits(rules, face, topFace) && SuitFits(rules, face, topFace))
            fits |= std::uint64_t{1} << card;
    }
    return fits;
}

// The identities `upper` may lie on inside a run.
std::uint64_t RunLinksOf(const TRuleOptions& tableauRules, int upper)
{
    const TCardFace upperFace{CodeValue(static_cast<TCardCode>(upper)), CodeSuit(static_cast<TCardCode>(upper)), true};
    std::uint64_t links = 0;
    for (int lower = 0; lower < 64; ++lower)
        if (RunLinkFits(tableauRules, upperFace, {CodeValue(static_cast<TCardCode>(lower)), CodeSuit(static_cast<TCardCode>(lower)), true}))
            links |= std::uint64_t{1} << lower;
    return links;
}

// The values an empty pile takes when the judge's answer depends on the value only.
std::uint16_t EmptyValues(const TRuleOptions& rules)
{
    for (const TRuleOption bySource : {roFirstCardSetsBase, roEmptyBaseRank, roEmptyFromReserve, roEmptyFromWaste,
                                       roEmptyFromTableau, roEmptyFromExcept, roRankIsPileIndex})
        if (rules.Contains(bySource))
            return 0xFFFF;
    std::uint16_t values = 0;
    const std::pair<TRuleOption, int> byValue[] = {{roEmptyAce, 0}, {roEmptyTwo, 1}, {roEmptyJack, 10}, {roEmptyKing, 12}};
    for (const auto& [option, value] : byValue)
        if (rules.Contains(option))
            values |= static_cast<std::uint16_t>(1u << value);
    return values;
}

// What the judge reads of a position when a card goes to an empty pile of a
// game whose empty piles judge by value and source only: one empty pile, no
// stock, no base card. The source is never one of its piles, so the judge's
// capacity test for a run into an empty column is left to the caller.
class TEmptyPileProbe {
public:
    int TableauCount() const { return 1; }
    int FoundationCount() const { return 1; }
    int StockCount() const { return 0; }
    int ReserveSize() const { return 0; }
    std::optional<TCardFace> TableauTop(int) const { return std::nullopt; }
    std::optional<TCardFace> FoundationTop(int) const { return std::nullopt; }
    std::optional<TCardFace> ReserveCard(int) const { return std::nullopt; }
    int TableauSize(int) const { return 0; }
    bool FoundationHoldsValue(int, int) const { return false; }
    bool ReserveAllEmpty() const { return true; }
    int EmptyColumns() const { return 1; }
    int EmptyCells() const { return 0; }
    int BaseValue() const { return -1; }
};

// Whether an empty pile's verdict depends on nothing but the card's value
// and the kind of pile it comes from (not on a base card, the stock, the
// reserve's cards, the pile's place or size).
bool EmptyJudgedBySource(const TRuleOptions& rules)
{
    for (const TRuleOption option :
         {roFirstCardSetsBase, roEmptyBaseRank, roRankIsPileIndex, roMaxThree, roNoDropWhileStock})
        if (rules.Contains(option))
            return false;
    return !(rules.Contains(roEmptyFromWaste) && rules.Contains(roEmptyFromReserve) && !rules.Contains(roWasteAnyTime));
}

// The judge's own answers on an empty pile, by source kind and value.
std::array<std::uint16_t, 6> EmptyBySource(const TGameRules& rules, int targetKind)
{
    std::array<std::uint16_t, 6> values{};
    const TEmptyPileProbe probe;
    for (int kind = pkStock; kind <= pkExcept; ++kind)
        for (int value = 0; value < 13; ++value) {
            const TDropQuery query{{value, 0, true}, targetKind, 0, 0, kind, 1, 0};
            if (JudgeDrop(rules, TDropGame{}, probe, query).Accepted)
                values[static_cast<std::size_t>(kind)] |= static_cast<std::uint16_t>(1u << value);
        }
    return values;
}

// Whether the judge weighs nothing but the two cards' ranks and suits (and
// the source not being the target) when a card is dropped onto another.
bool BuildsPlain(const TRuleOptions& rules)
{
    for (const TRuleOption option : {roNoDropWhileStock, roNoBuildFromReserve, roNoBuildFromTableau, roNoBuildFromWaste,
                                     roNoBuildFromStock, roNoBuildOnCards, roRankIsPileIndex, roFoundationSideways})
        if (rules.Contains(option))
            return false;
    return true;
}

} // namespace

TSolverGame MakeSolverGame(const TGameRules& rules)
{
    TSolverGame game;
    game.Rules = rules;
    const TRuleOptions& t = rules.TableauRules;
    const TRuleOptions& f = rules.FoundationRules;
    game.FourColours = rules.GameName == "Four Colours";
    const playrules::TPlayGame play = playrules::PlayGame(rules);
    game.AcesUp = play.AcesUp;
    game.TheClock = rules.GameName == "The Clock";
    game.Burleigh = play.Burleigh;
    game.OneFoundation = play.OneFoundation;
    game.ClickPlay = t.Contains(roNoDragAndDrop);
    game.MultiMove = t.Contains(roMoveFaceUpGroups) || t.Contains(roMoveWholePile) || t.Contains(roMoveSequences);
    game.WinningCount = playrules::WinningCount(rules);
    game.TableauDropTarget = !t.Contains(roNotDropTarget);
    game.FoundationDropTarget = !f.Contains(roNotDropTarget);
    for (int top = 0; top < 64; ++top) {
        game.TableauFits[static_cast<std::size_t>(top)] = FitsOn(t, top);
        game.FoundationFits[static_cast<std::size_t>(top)] = FitsOn(f, top);
        game.RunLinks[static_cast<std::size_t>(top)] = RunLinksOf(t, top);
    }
    for (std::size_t top = 0; top < 64; ++top) {
        for (std::size_t card = 0; card < 64; ++card) {
            game.TableauTopsFor[card] |= ((game.TableauFits[top] >> card) & 1u) << top;
            game.FoundationTopsFor[card] |= ((game.FoundationFits[top] >> card) & 1u) << top;
        }
    }
    game.TableauBuildsPlain = BuildsPlain(t) && !t.Contains(roMaxThree) && !game.AcesUp;
    game.FoundationBuildsPlain = BuildsPlain(f) && !game.AcesUp;
    game.TableauEmptyValues = EmptyValues(t);
    game.FoundationEmptyValues = EmptyValues(f);
    const bool special = game.AcesUp || game.FourColours;
    game.TableauEmptyBySourceKnown = EmptyJudgedBySource(t) && !special;
    game.FoundationEmptyBySourceKnown = EmptyJudgedBySource(f) && !special;
    game.TableauEmptyBySource = EmptyBySource(rules, pkTableau);
    game.FoundationEmptyBySource = EmptyBySource(rules, pkFoundation);

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

using keying::Mix;
using keying::PlaceWeights;

constexpr std::uint64_t Golden = 0x9E3779B97F4A7C15ULL;

bool ContainsAny(const TGameRules& rules, std::initializer_list<TRuleOption> options)
{
    for (const TRuleOptions* set : {&rules.TableauRules, &rules.FoundationRules, &rules.DeckRules})
        for (const TRuleOption option : options)
            if (set->Contains(option))
                return true;
    return false;
}

// Whether a fit table by card identity answers alike for every suit of both cards.
bool TableBlindToSuits(const std::array<std::uint64_t, 64>& table)
{
    for (int top = 0; top < 64; ++top)
        for (int card = 0; card < 64; ++card)
            if (((table[static_cast<std::size_t>(top)] >> card) & 1u) != ((table[static_cast<std::size_t>(top & 0x0F)] >> (card & 0x0F)) & 1u))
                return false;
    return true;
}

// Whether no rule of the game reads a card's suit or colour: no build, run,
// empty-pile, cell, discard, deal or win rule names one. Then two cards of a
// rank may swap places and the position plays the same (see SetUpKeying).
bool SuitsUnread(const TSolverGame& g)
{
    if (g.AcesUp || g.FourColours || g.TheClock || g.Burleigh)
        return false;
    if (ContainsAny(g.Rules, {roSameSuit, roAlternateColour, roSameColour, roOtherSuit, roPreplaceSuit3Ace,
                              roFoundationSuitRun, roFoundationSideways, roDealBySuit}))
        return false;
    // The judge's own answers, for a rule that reads suits without naming them.
    return TableBlindToSuits(g.TableauFits) && TableBlindToSuits(g.FoundationFits) && TableBlindToSuits(g.RunLinks);
}

// Whether a foundation's cards follow from its top card and count: one
// suit (or suits unread), built one step up or one step down.
bool FoundationFollowsFromTop(const TRuleOptions& f, bool suitsUnread)
{
    const bool oneSuit = f.Contains(roSameSuit) && !f.Contains(roAnySuitDrop) && !f.Contains(roSameColour);
    return (oneSuit || suitsUnread) && f.Contains(roBuildUp) != f.Contains(roBuildDown) && !f.Contains(roBuildUpOrDown)
        && !f.Contains(roBuildHigher) && !f.Contains(roBuildLower);
}

} // namespace

// A card's share of the term of a pile keyed as a set (its cells or a discard pile).
std::uint64_t TSolverState::SetShare(int index, TCardCode c) const
{
    const TCardCode read = c == NoCard ? c : static_cast<TCardCode>(c & HashMask);
    return Mix((0xCE11ULL + static_cast<std::uint64_t>(index) * Golden) ^ read);
}

std::uint64_t TSolverState::RawOf(int index) const
{
    const TStack& stack = Piles[static_cast<std::size_t>(index)];
    if (Keying[static_cast<std::size_t>(index)].TopOnly)
        return stack.Empty() ? 0 : CardHash(stack.Top()) * PlaceWeights[stack.Count - 1u];
    std::uint64_t h = 0;
    for (int k = 0; k < stack.Count; ++k)
        h += CardHash(stack.Cards[static_cast<std::size_t>(k)]) * PlaceWeights[static_cast<std::size_t>(k)];
    return h;
}

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
    {
        const TRuleOptions& home = game.Rules.FoundationRules;
        SidewaysFoundations = home.Contains(roFoundationSideways) && home.Contains(roSameSuit)
            && !home.Contains(roBuildUp) && !home.Contains(roBuildDown) && !home.Contains(roBuildUpOrDown)
            && !game.Rules.TableauRules.Contains(roTakeFromFoundation)
            && !game.Rules.DeckRules.Contains(roTakeFromFoundation);
    }
    // Foundations are bound to their places by a sideways row, by a base per
    // pile, by The Clock and by single-foundation games.
    const TRuleOptions& f = game.Rules.FoundationRules;
    FoundationsInterchangeable = !f.Contains(roFoundationSideways) && !f.Contains(roRankIsPileIndex)
        && !f.Contains(roClockInsert) && !game.TheClock;
    SetUpKeying();
    Journal.resize(256);
    Frames.reserve(1024);
    Terms.assign(Piles.size(), 0);
    KeyedCountersKey = CountersKey(KeyedCounters);
    Raws.assign(Piles.size(), 0);
    Dirty.assign(Piles.size(), 0);
    MarkAllDirty();
}

void TSolverState::MarkAllDirty() const
{
    for (int i = 0; i < PileMap.Count(); ++i)
        MarkDirty(i);
}

void TSolverState::BeginMove()
{
    Frames.push_back({Counters, static_cast<std::uint32_t>(JournalSize), static_cast<std::uint8_t>(Removed.size()), 0});
}

void TSolverState::Touch(int index)
{
    TFrame& frame = Frames.back();
    const std::uint64_t bit = std::uint64_t{1} << (index & 63);
    if (index < 64 && (frame.Touched & bit))
        return;
    if (index < 64)
        frame.Touched |= bit;
    // The pile's key term goes with its cards, so an undo restores it without hashing.
    const auto i = static_cast<std::size_t>(index);
    if (JournalSize == Journal.size())
        Journal.resize(Journal.size() * 2);
    TJournalEntry& entry = Journal[JournalSize++];
    KeepCards(entry, Piles[i]);
    entry.Index = static_cast<std::uint16_t>(index);
    entry.WasClean = !Dirty[i];
    entry.Term = Terms[i];
    entry.Raw = Raws[i];
    MarkDirty(index);
}

void TSolverState::UndoMove()
{
    const TFrame frame = Frames.back();
    Frames.pop_back();
    while (JournalSize > frame.JournalStart) {
        const TJournalEntry& entry = Journal[--JournalSize];
        const std::size_t index = entry.Index;
        RestoreCards(Piles[index], entry);
        if (entry.WasClean) {
            // Clean when touched: its term then is its term again (it stays listed, which is harmless).
            PilesKey += entry.Term - Terms[index];
            Terms[index] = entry.Term;
            Raws[index] = entry.Raw;
            Dirty[index] = 0;
        } else {
            MarkDirty(entry.Index);
        }
    }
    Counters = frame.Counters;
    Removed.resize(frame.RemovedCount);
}

bool TSolverState::TableauFaceUp() const
{
    for (int p = 0; p < TableauCount(); ++p) {
        const TStack& pile = Tableau(p);
        for (int k = 0; k < pile.Count; ++k)
            if (!CodeFaceUp(pile.Cards[static_cast<std::size_t>(k)]))
                return false;
    }
    return true;
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
    // Sized once, then filled: the best-first pass encodes every position it expands.
    std::size_t size = sizeof Counters + Piles.size() + 1 + Removed.size();
    for (const TStack& stack : Piles)
        size += stack.Count;
    out.resize(size);
    std::uint8_t* data = out.data();
    std::memcpy(data, &Counters, sizeof Counters);
    data += sizeof Counters;
    for (const TStack& stack : Piles) {
        *data++ = stack.Count;
        std::memcpy(data, stack.Cards.data(), stack.Count);
        data += stack.Count;
    }
    *data++ = static_cast<std::uint8_t>(Removed.size());
    std::copy(Removed.begin(), Removed.end(), data);
}

void TSolverState::Decode(const std::uint8_t* data)
{
    ForgetMoves();
    std::memcpy(&Counters, data, sizeof Counters);
    data += sizeof Counters;
    // The positions decoded one after another are mostly near kin: a pile
    // that is what it was keeps its share of the key, and only the piles
    // that differ are hashed again.
    for (std::size_t i = 0; i < Piles.size(); ++i) {
        TStack& stack = Piles[i];
        const std::uint8_t count = *data++;
        if (count != stack.Count || std::memcmp(stack.Cards.data(), data, count) != 0) {
            stack.Count = count;
            std::memcpy(stack.Cards.data(), data, count);
            MarkDirty(static_cast<int>(i));
        }
        data += count;
    }
    Removed.assign(data + 1, data + 1 + *data);
}

std::uint64_t TSolverState::CountersKey(const TCounters& counters) const
{
    // With unlimited passes no rule reads the count: positions one pass apart are the same.
    const std::uint64_t passes = Game().Rules.DeckPasses == 0 ? 0 : static_cast<std::uint64_t>(counters.PassesDone);
    std::uint64_t key =
        Mix(passes << 32 | static_cast<std::uint8_t>(counters.BaseValue) << 8 | (counters.RedealOffered ? 1u : 0u)
            | (counters.StockFromTop ? 2u : 0u) | (counters.DealPileByPile ? 4u : 0u))
        ^ Mix(0x51ED270B27ULL + static_cast<std::uint64_t>(static_cast<std::uint8_t>(counters.SelectedPile)) * 131
              + static_cast<std::uint8_t>(counters.SelectedIndex)
              + (Game().Burleigh ? static_cast<std::uint64_t>(counters.LastDealt) << 20 : 0));
    if (Game().Rules.TurnCount == -4)
        key ^= Mix(counters.RandSeed + 0xABCDEFULL);
    return key;
}

// Interchangeable piles add a term that does not depend on their place (an
// order-free sum); bound piles mix their place in.
//
// Cards keyed by rank alone. Where no rule reads a suit or colour (builds,
// runs, empty piles, cells, discards, deals and the win all weigh ranks, faces
// and places only, as SuitsUnread checks against the judge's own tables), take
// a position P and P' = P with two cards of one rank swapped. Every rule gives
// the same answer on both, so every move of P is a move of P' with the two
// cards renamed, and it leads to the child of P' that is the child of P with
// the same swap; the foundations' count, the only thing that wins, is the same
// in both. By induction on the length of a line, P is won exactly when P' is:
// one key for both is sound. (A reshuffling redeal moves cards by place, so it
// keeps the swap too.)
//
// Foundations keyed by top card and count. Where no rule takes a card back
// from a foundation (none takes from them, none shares a place with the
// waste, none reinserts as The Clock does, none carries a run home), a
// foundation only ever gains cards on top, and the judge reads only its top
// card (rank and suit) to accept one more; the win reads the foundations'
// total. Two positions alike but for the order of the cards under the tops
// then have the same moves and the same children but for those cards, which
// are never read again: the same future, so one key. Where the top and count
// already fix the cards under it (one suit built one step at a time, as in
// Freecell) this merges nothing, and the piles keep their full sum.
void TSolverState::SetUpKeying()
{
    const auto place = [](int n) { return static_cast<std::uint64_t>(n) * Golden; };
    const bool suitsUnread = SuitsUnread(*GameRef);
    HashMask = static_cast<TCardCode>(suitsUnread ? ~(PackBit | 0x30) : ~PackBit);
    const TGameRules& rules = GameRef->Rules;
    const bool foundationsByTop = !ContainsAny(rules, {roTakeFromFoundation, roFoundationSuitRun, roClockInsert,
                                                       roFoundationSideways})
        && SharedFoundationIndex < 0 && !GameRef->TheClock && !GameRef->AcesUp && !GameRef->OneFoundation
        && !GameRef->Burleigh && !GameRef->ClickPlay && !SidewaysFoundations
        && !FoundationFollowsFromTop(rules.FoundationRules, suitsUnread);
    Keying.assign(Piles.size(), {});
    for (int index = 0; index < PileMap.Count(); ++index) {
        TPileKeying& k = Keying[static_cast<std::size_t>(index)];
        if (index < PileMap.FirstFoundation()) {
            k.Salt = TableauInterchangeable ? 0 : place(index);
        } else if (index < PileMap.FirstExcept()) {
            const int f = index - PileMap.FirstFoundation();
            if (FoundationsInterchangeable)
                k = {0xF00D, TTermForm::Xored};
            else
                k.Salt = place(f + 100);
            k.TopOnly = foundationsByTop;
        } else if (index < PileMap.ReserveIndex()) {
            k.Salt = place(index - PileMap.FirstExcept() + 200);
        } else if (index == PileMap.ReserveIndex()) {
            k.Salt = 0x3333;
        } else if (index == PileMap.WasteIndex()) {
            k.Salt = 0x4444;
        } else if (index == PileMap.StockIndex()) {
            k.Salt = 0x5555;
        } else {
            k = {0x6666, SharedFoundationIndex >= 0 ? TTermForm::Added : TTermForm::None};
        }
        const bool orderFree = (CellsInterchangeable && index == PileMap.ReserveIndex())
            || ((GameRef->AcesUp || SidewaysFoundations) && index >= PileMap.FirstFoundation()
                && index < PileMap.FirstExcept());
        if (orderFree)
            k.Form = TTermForm::Set;
    }
    // Looked up for every child the search keys: worked out once.
    SetShares.clear();
    for (int index = 0; index < PileMap.Count() && SetShares.empty(); ++index)
        if (OrderFree(index))
            SetShares.assign(Piles.size() * 256, 0);
    for (int index = 0; index < PileMap.Count(); ++index)
        if (OrderFree(index))
            for (int code = 0; code < 256; ++code)
                SetShares[static_cast<std::size_t>(index) * 256 + static_cast<std::size_t>(code)] =
                    SetShare(index, static_cast<TCardCode>(code));
}

std::uint64_t TSolverState::PileTerm(int index) const
{
    const TStack& stack = Piles[static_cast<std::size_t>(index)];
    if (!OrderFree(index))
        return TermOfRaw(index, RawOf(index));
    std::uint64_t term = 0;
    for (int i = 0; i < stack.Count; ++i)
        term += SetShare(index, stack.Cards[static_cast<std::size_t>(i)]);
    return term;
}

void TSolverState::RefreshDirtyTerms() const
{
    for (const std::uint8_t index : DirtyPiles) {
        if (!Dirty[index])
            continue;
        const TStack& stack = Piles[index];
        std::uint64_t term = 0;
        if (OrderFree(index)) {
            // A set's term is the sum of its cards' shares, kept in a table
            // (its raw sum is never read).
            const std::uint64_t* shares = SetShares.data() + static_cast<std::size_t>(index) * 256;
            for (int i = 0; i < stack.Count; ++i)
                term += shares[stack.Cards[static_cast<std::size_t>(i)]];
        } else {
            // The raw sum once: the term is made from it.
            const std::uint64_t raw = RawOf(index);
            term = TermOfRaw(index, raw);
            Raws[index] = raw;
        }
        PilesKey += term - Terms[index];
        Terms[index] = term;
        Dirty[index] = 0;
    }
    DirtyPiles.clear();
}

std::uint64_t TSolverState::Key() const
{
    RefreshTerms();
    if (CycleKeyed && AtCycleTurn())
        return CycleKey(Counters, PilesKey - Terms[static_cast<std::size_t>(PileMap.WasteIndex())]
                                      - Terms[static_cast<std::size_t>(PileMap.StockIndex())]);
    return CountersKey(Counters) + PilesKey;
}

std::uint64_t TSolverState::FreshKey() const
{
    const bool cycle = CycleKeyed && AtCycleTurn();
    std::uint64_t piles = 0;
    for (int i = 0; i < PileMap.Count(); ++i)
        if (!cycle || (i != PileMap.WasteIndex() && i != PileMap.StockIndex()))
            piles += PileTerm(i);
    return cycle ? CycleKey(Counters, piles) : CountersKey(Counters) + piles;
}

// Where the passes never end and a redeal only turns the waste over, the
// stock and the waste are one cycle of cards, and the clicks walk round it.
// Take a position whose stock stands at a turn: T cards a turn, the waste
// holding a multiple of T, or the stock empty with a redeal offered. Clicks
// take it to each later turn of the pass and to the end, the redeal from
// the end to the start, from which the clicks reach every turn again: all
// such positions of one cycle (the rest alike) reach one another by clicks
// and redeals alone. A position is won exactly when one it reaches is, so
// positions that reach one another are won or lost together, and one key
// for them all is sound for a search that, from any of them, makes every
// move any of them has (the moves of the folded set do: the plays from the
// waste at every turn of the cycle, see GenerateMoves; the other moves
// read neither the waste nor the stock and are the same from each).
bool TSolverState::AtCycleTurn() const
{
    const TStack& stock = Stock();
    if (stock.Empty())
        return Counters.RedealOffered;
    const int turn = std::max(1, GameRef->Rules.TurnCount);
    return !Counters.RedealOffered && Waste().Count % turn == 0;
}

std::uint64_t TSolverState::CycleTerm() const
{
    const TStack& waste = Waste();
    const TStack& stock = Stock();
    std::uint64_t raw = 0;
    int place = 0;
    for (int k = 0; k < waste.Count; ++k)
        raw += CardHash(CodeTurnedUp(waste.Cards[static_cast<std::size_t>(k)]))
            * keying::PlaceWeights[static_cast<std::size_t>(place++)];
    for (int k = stock.Count - 1; k >= 0; --k)
        raw += CardHash(CodeTurnedUp(stock.Cards[static_cast<std::size_t>(k)]))
            * keying::PlaceWeights[static_cast<std::size_t>(place++)];
    return keying::Mix(raw + 0xC7C1E5ULL);
}

std::uint64_t TSolverState::CycleKey(TCounters counters, std::uint64_t otherPiles) const
{
    counters.RedealOffered = false;
    return CountersKey(counters) + otherPiles + CycleTerm();
}

} // namespace solver

#include "tools/genhelp/RulesText.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace {

constexpr std::array<const char*, 13> RankWords{"Ace",   "Two",   "Three", "Four", "Five",  "Six",  "Seven",
                                                "Eight", "Nine",  "Ten",   "Jack", "Queen", "King"};
constexpr std::array<const char*, 13> RankPlurals{"Aces",   "Twos",   "Threes", "Fours", "Fives",
                                                  "Sixes",  "Sevens", "Eights", "Nines", "Tens",
                                                  "Jacks",  "Queens", "Kings"};

bool Has(const TRuleOptions& rules, TRuleOption option) { return rules.Contains(option); }

bool IsGame(const TGameDefinition& game, std::string_view name) { return game.GameName == name; }

std::string Number(int n)
{
    static constexpr std::array<const char*, 21> words{
        "no",    "one",    "two",    "three",    "four",    "five",    "six",
        "seven", "eight",  "nine",   "ten",      "eleven",  "twelve",  "thirteen",
        "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen", "twenty"};
    return n >= 0 && n < int(words.size()) ? words[std::size_t(n)] : std::to_string(n);
}

std::string Capitalised(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = char(text[0] - 'a' + 'A');
    return text;
}

// "a", "a and b", "a, b and c" (or "or").
std::string JoinList(const std::vector<std::string>& items, const std::string& last = "and")
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? " " + last + " " : ", ";
        text += items[i];
    }
    return text;
}

std::string Plural(int n, const std::string& one, const std::string& many)
{
    return Number(n) + " " + (n == 1 ? one : many);
}

int PackSize(const TGameDefinition& game) { return game.DeckCount == 2 ? 104 : 52; }
int Packs(const TGameDefinition& game) { return game.DeckCount == 2 ? 2 : 1; }

// The ranks named by the empty-pile options 20 to 23, in that order.
std::vector<int> StartRanks(const TRuleOptions& rules)
{
    std::vector<int> ranks;
    if (Has(rules, roEmptyAce))
        ranks.push_back(0);
    if (Has(rules, roEmptyKing))
        ranks.push_back(12);
    if (Has(rules, roEmptyTwo))
        ranks.push_back(1);
    if (Has(rules, roEmptyJack))
        ranks.push_back(10);
    return ranks;
}

std::string RankChoice(const std::vector<int>& ranks, bool plural)
{
    std::vector<std::string> words;
    for (const int rank : ranks)
        words.push_back(plural ? RankPlural(rank) : (rank == 0 ? "an Ace" : "a " + RankWord(rank)));
    return JoinList(words, "or");
}

// ---------------------------------------------------------------------------
// Building

struct TBuildWords {
    std::string Rank; // "down", "up", "up or down", "" (any rank)
    std::string Suit; // "in suit", "in alternating colours", … "" (any suit)
    std::string Wrap; // a sentence, or ""
};

TBuildWords BuildWords(const TRuleOptions& rules)
{
    TBuildWords words;
    if (Has(rules, roBuildUpOrDown))
        words.Rank = "up or down by one rank";
    else if (Has(rules, roBuildUp))
        words.Rank = "up by one rank";
    else if (Has(rules, roBuildDown))
        words.Rank = "down by one rank";
    else if (Has(rules, roBuildHigher))
        words.Rank = "with any higher card";
    else if (Has(rules, roBuildLower))
        words.Rank = "with any lower card";

    const bool anySuitDrop = Has(rules, roAnySuitDrop);
    if (Has(rules, roSameColour))
        words.Suit = "in the same colour";
    else if (Has(rules, roSameSuit) && !anySuitDrop)
        words.Suit = "in suit";
    if (Has(rules, roAlternateColour))
        words.Suit = words.Suit.empty() ? "in alternating colours" : words.Suit + " and alternating colours";
    if (Has(rules, roOtherSuit))
        words.Suit = words.Suit.empty() ? "in a different suit from the card below"
                                        : words.Suit + ", in a different suit from the card below";
    if (words.Suit.empty())
        words.Suit = "regardless of suit";

    const bool kingOnAce = Has(rules, roKingOnAce);
    const bool aceOnKing = Has(rules, roAceOnKing);
    if (kingOnAce && aceOnKing)
        words.Wrap = "The ranks turn the corner both ways: an Ace may go on a King and a King on an Ace.";
    else if (aceOnKing)
        words.Wrap = "The ranks turn the corner: an Ace may go on a King.";
    else if (kingOnAce)
        words.Wrap = "The ranks turn the corner: a King may go on an Ace.";
    return words;
}

std::string BuildPhrase(const TRuleOptions& rules)
{
    const TBuildWords words = BuildWords(rules);
    if (words.Rank.empty())
        return "in any order of rank, " + words.Suit;
    return words.Rank + ", " + words.Suit;
}

// Sources a non-empty pile refuses, as a sentence, or "".
std::string Refusals(const TRuleOptions& rules, const std::string& pileWords)
{
    if (Has(rules, roNoBuildOnCards))
        return "Nothing may be played on " + pileWords + " that already hold cards.";
    std::vector<std::string> refused;
    if (Has(rules, roNoBuildFromReserve))
        refused.push_back("from the reserve");
    if (Has(rules, roNoBuildFromTableau))
        refused.push_back("from another tableau pile");
    if (Has(rules, roNoBuildFromWaste))
        refused.push_back("from the waste");
    if (Has(rules, roNoBuildFromStock))
        refused.push_back("taken straight off the stock");
    if (refused.empty())
        return {};
    return "Cards " + JoinList(refused, "or") + " may not be played on " + pileWords + " that already hold cards.";
}

// ---------------------------------------------------------------------------
// The deal

int PreplacedCount(const TGameDefinition& game)
{
    const TRuleOptions& rules = game.FoundationRules;
    if (!Has(rules, roPreplaceAll) && !Has(rules, roPreplaceOne) && !Has(rules, roPreplaceTwo))
        return 0;
    int matching = 4 * int(StartRanks(rules).size()) * Packs(game);
    if (Has(rules, roPreplaceSuit3Ace) && !Has(rules, roEmptyAce))
        matching += Packs(game);
    if (Has(rules, roPreplaceOne))
        return std::min(1, matching);
    if (Has(rules, roPreplaceTwo))
        return std::min(2, matching);
    return matching;
}

int ReserveDealt(const TGameDefinition& game)
{
    if (game.ReserveCount == 0 || (game.FreeCells && game.CellDealCount == 0))
        return 0;
    return game.CellDealCount > 0 ? game.CellDealCount : game.ReserveCount;
}

int DealCount(const TGameDefinition& game, int pile)
{
    return game.TableauDealCounts.empty() ? 1 : game.TableauDealCounts[std::size_t(pile)];
}

// Deals card r (1-based) to pile p as the deal does: false when the stock is empty.
bool DealCard(const TGameDefinition& game, TDealOutcome& deal, int p, int r)
{
    if (deal.Stock == 0)
        return false;
    --deal.Stock;
    ++deal.Cards[std::size_t(p)];
    const TRuleOptions& rules = game.TableauRules;
    const auto& faceDown = game.TableauFaceDownCounts;
    // A stock whose cards lie face up deals them face up.
    if (Has(game.DeckRules, roDragFromDeck))
        return true;
    const bool staysDown = Has(rules, roDealFaceDown)
                           || (!Has(rules, roDealFaceUp) && !game.TableauDealCounts.empty()
                               && r != DealCount(game, p) && deal.Stock > 0
                               && (faceDown.empty() || faceDown[std::size_t(p)] >= r));
    if (staysDown)
        ++deal.FaceDown[std::size_t(p)];
    return true;
}

void DealTableau(const TGameDefinition& game, TDealOutcome& deal)
{
    const int piles = game.TableauCount;
    const TRuleOptions& rules = game.TableauRules;
    const auto& counts = game.TableauDealCounts;
    if (Has(rules, roDealPileByPile) && Has(rules, roDealBySuit)) {
        // Every card goes to the pile of its suit; a whole pack shares out evenly.
        const int wanted = counts.empty() ? piles : std::accumulate(counts.begin(), counts.end(), 0);
        const int dealt = std::min(wanted, deal.Stock);
        for (int suit = 0; suit < 4 && suit < piles; ++suit)
            deal.Cards[std::size_t(suit)] = dealt / 4 + (suit < dealt % 4 ? 1 : 0);
        deal.Stock -= dealt;
        return;
    }
    if (Has(rules, roDealPileByPile)) {
        for (int p = 0; p < piles; ++p)
            for (int r = 1; r <= DealCount(game, p); ++r)
                DealCard(game, deal, p, r);
        return;
    }
    int rows = 1;
    if (Has(rules, roDealRows) && !counts.empty())
        rows = *std::max_element(counts.begin(), counts.end());
    else if (Has(rules, roSquared) && !counts.empty())
        rows = counts.front();
    for (int r = 1; r <= rows; ++r)
        for (int p = 0; p < piles - game.TableauUndealtPiles; ++p)
            if (counts.empty() || counts[std::size_t(p)] >= r)
                DealCard(game, deal, p, r);
}

// ---------------------------------------------------------------------------
// Sections

struct TWriter {
    const TGameDefinition& Game;
    const TDealOutcome Deal;
    TRulesText Text;

    void Section(const std::string& heading, std::vector<std::string> paragraphs)
    {
        paragraphs.erase(std::remove(paragraphs.begin(), paragraphs.end(), std::string()), paragraphs.end());
        if (!paragraphs.empty())
            Text.Sections.push_back({heading, std::move(paragraphs)});
    }

    bool PairGame() const { return Has(Game.FoundationRules, roPairsByRank); }
    bool SuitRunGame() const { return Has(Game.FoundationRules, roFoundationSuitRun); }
    bool ClockGame() const { return Has(Game.FoundationRules, roRankIsPileIndex) && Game.FoundationCount == 13; }
    bool AcesUp() const { return IsGame(Game, "Aces Up"); }
    bool TableauTakesCards() const
    {
        return Game.TableauCount > 0 && !Has(Game.TableauRules, roNotDropTarget);
    }
    bool Gathering() const { return Game.TurnCount <= -3; }
    bool HasWaste() const
    {
        return Game.TurnCount >= 1 && Deal.Stock > 0 && !IsGame(Game, "One Foundation")
               && !Has(Game.TableauRules, roNoDragAndDrop);
    }
    bool OneFoundation() const { return Game.FoundationCount == 1; }
    bool NoUndo() const { return Has(Game.FoundationRules, roNoUndo); }
    bool MovesRuns() const
    {
        const TRuleOptions& rules = Game.TableauRules;
        return Has(rules, roMoveSequences) || Has(rules, roMoveFaceUpGroups) || Has(rules, roMoveWholePile);
    }
    // Face-down tableau cards that play uncovers (the pair games turn theirs by clicking).
    bool DealsFaceDown() const
    {
        return !PairGame() && !Has(Game.TableauRules, roNoDragAndDrop)
               && std::accumulate(Deal.FaceDown.begin(), Deal.FaceDown.end(), 0) > 0;
    }

    std::string Object() const;
    std::vector<std::string> Layout() const;
    std::string TableauLayout() const;
    std::string FoundationLayout() const;
    std::string ReserveLayout() const;
    std::string ExtraLayout() const;
    std::vector<std::string> Foundations() const;
    std::vector<std::string> Moving() const;
    std::vector<std::string> Building() const;
    std::vector<std::string> Spaces() const;
    std::vector<std::string> Stock() const;
    std::vector<std::string> Special() const;
    std::vector<std::string> Scoring() const;
    std::vector<std::string> Turn() const;
    std::vector<std::string> Lost() const;
    std::vector<std::string> Strategy() const;

    bool KingsOnlyFillSpaces() const;
    bool DealsFaceDownForPairs() const { return std::accumulate(Deal.FaceDown.begin(), Deal.FaceDown.end(), 0) > 0; }
    bool SpacesTakeTableauCards() const;
};

std::string TWriter::Object() const
{
    if (PairGame())
        return "Take all 52 cards off the table in pairs of the same rank.";
    if (AcesUp())
        return "Discard every card but the four Aces. The game is won when 48 cards are discarded and the "
               "four Aces are left, one at the bottom of each tableau pile.";
    if (ClockGame())
        return "Bring all four cards of every rank onto the pile of that rank, the 52 cards of the pack in all.";
    if (SuitRunGame()) {
        const int runs = PackSize(Game) / 13;
        const std::string suit = Has(Game.FoundationRules, roAlternateColour) ? "in alternating colours" : "in one suit";
        return "Build " + Number(runs) + " complete runs of thirteen cards, King down to Ace " + suit
               + ", on the tableau, and move each finished run to a foundation.";
    }
    if (OneFoundation())
        return "Move all " + std::to_string(PackSize(Game)) + " cards onto the foundation.";
    return "Move all " + std::to_string(PackSize(Game)) + " cards onto the " + Plural(Game.FoundationCount, "foundation", "foundations") + ".";
}

std::string TWriter::FoundationLayout() const
{
    if (Game.FoundationCount == 0)
        return {};
    const TRuleOptions& rules = Game.FoundationRules;
    std::string text = Capitalised(Plural(Game.FoundationCount, "foundation", "foundations")) + ".";
    if (Deal.Preplaced > 0) {
        const std::vector<int> ranks = StartRanks(rules);
        std::string cards;
        if (ranks.empty())
            cards = Deal.Preplaced == 1 ? "the Ace of spades" : "the Aces of spades";
        else if (Has(rules, roPreplaceAll))
            cards = "all " + Number(Deal.Preplaced) + " " + RankChoice(ranks, true);
        else
            cards = Deal.Preplaced == 1 ? "one " + RankWord(ranks.front()) : Number(Deal.Preplaced) + " " + RankChoice(ranks, true);
        text += " Before the deal " + cards + (Deal.Preplaced == 1 ? " is" : " are")
                + " taken out of the pack and placed on the " + (OneFoundation() ? "foundation." : "foundations.");
    }
    if (Has(rules, roEmptyBaseRank))
        text += OneFoundation() ? " After the shuffle the top card of the stock is placed on it."
                                : " After the shuffle the top card of the stock is placed on the first foundation.";
    if (Has(rules, roDealToFoundations))
        text += " The whole pack is dealt round the foundations, four cards to each, face down; the fourth card of "
                "the centre pile is turned face up.";
    return text;
}

std::string TWriter::ReserveLayout() const
{
    if (Game.ReserveCount == 0)
        return {};
    if (Game.FreeCells) {
        std::string text = Game.ReserveCount == 1 ? std::string("One free cell, holding one card")
                                                  : Capitalised(Plural(Game.ReserveCount, "free cell", "free cells")) + ", each holding one card";
        if (Deal.Reserve > 0 && Deal.Reserve == Game.ReserveCount)
            text += Game.ReserveCount == 1 ? "; it receives a card, face up, in the deal" : "; each receives a card, face up, in the deal";
        else if (Deal.Reserve > 0)
            text += "; the first " + Number(Deal.Reserve) + " of them receive a card, face up, in the deal";
        return text + ".";
    }
    std::string text = "A reserve of " + Plural(Deal.Reserve, "card", "cards") + ", dealt face up";
    text += Game.ReserveFanned ? " and fanned so that every card shows." : " in a squared pile.";
    return text;
}

std::string TWriter::ExtraLayout() const
{
    if (Game.ExceptCount == 0)
        return {};
    std::vector<std::string> counts;
    for (const int n : Game.ExceptDealCounts)
        counts.push_back(std::to_string(n));
    return Capitalised(Plural(Game.ExceptCount, "extra pile", "extra piles")) + " of " + JoinList(counts) + " cards, "
           + (Game.ExceptFaceUp ? "all face up." : "with only the top card face up.");
}

// Piles read best in groups, as a person counts them: a run of piles of the
// same size, or of piles one card longer (or shorter) each.
struct TPileGroup {
    int Piles = 0;
    int First = 0; // the count on its first pile
    int Step = 0;  // +1 or -1 from pile to pile, or 0
    int Last() const { return First + (Piles - 1) * Step; }
};

std::vector<TPileGroup> PileGroups(const std::vector<int>& counts)
{
    std::vector<TPileGroup> groups;
    for (std::size_t i = 0; i < counts.size();) {
        int step = 0;
        for (const int candidate : {1, -1})
            if (i + 2 < counts.size() && counts[i + 1] == counts[i] + candidate && counts[i + 2] == counts[i] + 2 * candidate)
                step = candidate;
        std::size_t j = i + 1;
        while (j < counts.size() && counts[j] == counts[j - 1] + step)
            ++j;
        groups.push_back({int(j - i), counts[i], step});
        i = j;
    }
    return groups;
}

// "five, three, two and one cards from each end to the middle", or the
// counts in words from the left: for shapes no group describes.
std::string CountsInWords(const std::vector<int>& counts, const std::string& noun)
{
    std::vector<std::string> words;
    const bool mirrored = std::equal(counts.begin(), counts.end(), counts.rbegin());
    const std::size_t shown = mirrored ? (counts.size() + 1) / 2 : counts.size();
    for (std::size_t i = 0; i < shown; ++i)
        words.push_back(Number(counts[i]));
    return JoinList(words) + " " + noun + (mirrored ? " from each end to the middle" : " from the left");
}

// "the first four piles have seven cards each and the last four six";
// `noun` is the plural counted ("cards", "face-down cards"); "" when the
// groups are too many to read well.
std::string GroupsText(const std::vector<int>& counts, const std::string& noun, const std::string& single)
{
    const std::vector<TPileGroup> groups = PileGroups(counts);
    if (groups.size() > 3)
        return {};
    auto amount = [&](int n, bool withNoun) {
        if (n == 0)
            return std::string(withNoun ? "no " + noun : "none");
        return Number(n) + (withNoun ? " " + (n == 1 ? single : noun) : "");
    };
    std::vector<std::string> parts;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const TPileGroup& group = groups[g];
        const bool first = g == 0;
        const bool last = g + 1 == groups.size();
        std::string who;
        if (first)
            who = group.Piles == 1 ? "the first pile has" : "the first " + Number(group.Piles) + " piles have";
        else if (last)
            who = group.Piles == 1 ? "the last pile" : "the last " + Number(group.Piles);
        else
            who = group.Piles == 1 ? "the next pile" : "the next " + Number(group.Piles);
        if (group.Step != 0)
            parts.push_back(who + " from " + Number(group.First) + (group.Step > 0 ? " to " : " down to ") + Number(group.Last())
                            + (first ? " " + noun : "") + (group.Step > 0 ? " (one more on each)" : " (one fewer on each)"));
        else
            parts.push_back(who + " " + amount(group.First, first) + (group.Piles > 1 && first && group.First > 0 ? " each" : ""));
    }
    return JoinList(parts);
}

// How many cards the piles get: "seven cards each", "from one to seven
// cards, one more on each pile", or the piles in groups.
std::string CountsText(const std::vector<int>& counts)
{
    const std::vector<TPileGroup> groups = PileGroups(counts);
    if (groups.size() == 1 && groups.front().Step == 0)
        return ", dealt " + Plural(counts.front(), "card", "cards") + " each";
    if (groups.size() == 1)
        return ", dealt from " + Number(counts.front()) + (groups.front().Step > 0 ? " to " : " down to ")
               + Plural(counts.back(), "card", "cards") + ", one " + (groups.front().Step > 0 ? "more" : "fewer") + " on each pile";
    if (const std::string text = GroupsText(counts, "cards", "card"); !text.empty())
        return ": " + text;
    return ", dealt " + CountsInWords(counts, "cards");
}

// Which dealt cards lie face down, as its own sentence.
std::string FaceDownText(const TDealOutcome& deal, int dealtCards, int piles)
{
    const int faceDown = std::accumulate(deal.FaceDown.begin(), deal.FaceDown.end(), 0);
    if (faceDown == 0)
        return dealtCards == piles ? " The cards lie face up." : " All cards lie face up.";
    if (faceDown == dealtCards)
        return " All cards lie face down.";
    std::vector<int> downs;
    std::vector<int> ups;
    for (std::size_t p = 0; p < deal.Cards.size(); ++p)
        if (deal.Cards[p] > 0) {
            downs.push_back(deal.FaceDown[p]);
            ups.push_back(deal.Cards[p] - deal.FaceDown[p]);
        }
    if (std::all_of(ups.begin(), ups.end(), [](int n) { return n == 1; }))
        return " Only the top card of each pile lies face up.";
    if (std::all_of(downs.begin(), downs.end(), [&](int n) { return n == downs.front(); }))
        return downs.front() == 1 ? " The bottom card of each pile lies face down, the rest face up."
                                  : " The bottom " + Number(downs.front()) + " cards of each pile lie face down, the rest face up.";
    // Yukon's way: a fixed number of cards face up on top, the rest below.
    const int topUp = *std::max_element(ups.begin(), ups.end());
    bool sameTop = true;
    for (std::size_t p = 0; p < ups.size(); ++p)
        sameTop = sameTop && (ups[p] == topUp || (downs[p] == 0 && ups[p] < topUp));
    if (sameTop)
        return " The top " + Number(topUp) + " cards of each pile lie face up, the rest face down (a pile of fewer cards is all face up).";
    if (const std::string text = GroupsText(downs, "face-down cards", "face-down card"); !text.empty())
        return " Counting from the bottom, " + text + "; the rest lie face up.";
    return " The piles have " + CountsInWords(downs, "face-down cards") + " at their bottom; the rest lie face up.";
}

std::string TWriter::TableauLayout() const
{
    if (Game.TableauCount == 0)
        return {};
    const TRuleOptions& rules = Game.TableauRules;
    std::string text = Capitalised(Plural(Game.TableauCount, "tableau pile", "tableau piles"));
    const int dealt = std::accumulate(Deal.Cards.begin(), Deal.Cards.end(), 0);
    if (dealt == 0)
        return text + ", empty at the start.";

    std::vector<int> shown;
    for (const int n : Deal.Cards)
        if (n > 0 || Game.TableauUndealtPiles == 0)
            shown.push_back(n);
    if (Has(rules, roDealPileByPile) && Has(rules, roDealBySuit)) {
        text += ". The whole deal goes onto the first four piles by suit: " + JoinList({"clubs on the first", "diamonds on the second", "hearts on the third", "spades on the fourth"})
                + "; the other piles start empty. The cards lie face up.";
        return text;
    }
    text += CountsText(shown);
    if (Game.TableauUndealtPiles > 0)
        text += "; the last " + Number(Game.TableauUndealtPiles) + " start empty";
    text += "." + FaceDownText(Deal, dealt, int(shown.size()));
    if (Has(rules, roKingToBottom))
        text += " A King dealt onto a pile that already holds cards goes to the bottom of it.";
    if (Has(rules, roSquared))
        text += " The piles are squared: only the top card of each shows.";
    else if (Has(rules, roFanSideways))
        text += " The piles fan out to the right.";
    return text;
}

std::vector<std::string> TWriter::Layout() const
{
    std::vector<std::string> paragraphs;
    paragraphs.push_back(Game.DeckCount == 2 ? "Two packs of 52 cards are shuffled together (104 cards)."
                                             : "One pack of 52 cards.");
    paragraphs.push_back(FoundationLayout());
    paragraphs.push_back(ReserveLayout());
    paragraphs.push_back(ExtraLayout());
    paragraphs.push_back(TableauLayout());
    if (Deal.Stock > 0)
        paragraphs.push_back("The remaining " + std::to_string(Deal.Stock) + " cards form the stock, "
                             + (Has(Game.DeckRules, roDragFromDeck) ? "face up: its top card shows." : "face down."));
    else if (!Has(Game.FoundationRules, roDealToFoundations))
        paragraphs.push_back("Every card is dealt at the start: there is no stock.");
    return paragraphs;
}

std::vector<std::string> TWriter::Foundations() const
{
    const TRuleOptions& rules = Game.FoundationRules;
    if (Game.FoundationCount == 0 || AcesUp())
        return {};
    if (ClockGame()) {
        return {"The thirteen foundation piles stand for the hours of a clock: the pile at one o'clock takes only "
                "Aces, two o'clock Twos, and so on round to twelve o'clock for Queens; the Kings' pile is in the "
                "centre."};
    }
    if (SuitRunGame()) {
        const std::vector<int> ranks = StartRanks(rules);
        return {"A foundation takes only a complete run of thirteen cards from one tableau pile, "
                + std::string(ranks.empty() ? "" : RankChoice(ranks, false) + " at its bottom, ")
                + "moved there as a whole. Cards never come back from the foundations."};
    }
    std::vector<std::string> paragraphs;
    std::string start;
    if (OneFoundation()) {
        if (const std::vector<int> ranks = StartRanks(rules); !ranks.empty() && !Has(rules, roEmptyBaseRank))
            start = "The foundation is started with " + RankChoice(ranks, false) + ".";
    } else if (Has(rules, roEmptyBaseRank))
        start = "The rank of the card placed on the first foundation is the base rank: every other foundation "
                "must be started with a card of that rank.";
    else if (Has(rules, roFirstCardSetsBase) && Has(rules, roEachCardSetsBase))
        start = "Any card may start an empty foundation.";
    else if (Has(rules, roFirstCardSetsBase))
        start = "The first card played to an empty foundation fixes the base rank, shown on the tool bar: every "
                "other foundation must then be started with a card of that rank.";
    else if (const std::vector<int> ranks = StartRanks(rules); !ranks.empty())
        start = "Each foundation is started with " + RankChoice(ranks, false) + ".";
    paragraphs.push_back(start);

    if (Has(rules, roFoundationSideways))
        paragraphs.push_back("Foundations are built " + BuildWords(rules).Suit
                             + ", in any order of rank. A card may go to the second, third or fourth foundation "
                               "only when a card of the same rank already lies on the foundation above; a foundation "
                               "may be started only when the one above it has been started.");
    else
        paragraphs.push_back((OneFoundation() ? "The foundation is built " : "Foundations are built ") + BuildPhrase(rules) + ".");
    paragraphs.push_back(BuildWords(rules).Wrap);
    if (Has(rules, roNoDropWhileStock))
        paragraphs.push_back("Nothing may be played to a foundation while the stock still holds cards.");
    paragraphs.push_back(Refusals(rules, "foundations"));
    if (Has(rules, roTakeFromFoundation))
        paragraphs.push_back("The top card of a foundation may be taken back into play.");
    return paragraphs;
}

std::vector<std::string> TWriter::Moving() const
{
    const TRuleOptions& rules = Game.TableauRules;
    std::vector<std::string> paragraphs;
    if (Has(rules, roNoDragAndDrop)) {
        paragraphs.push_back("This game is played by clicking cards, not by dragging them.");
        return paragraphs;
    }
    if (Game.TableauCount > 0) {
        if (Has(rules, roMoveSequences)) {
            std::string text = "A run of cards in sequence — each one rank " + std::string(Has(rules, roBuildUp) && !Has(rules, roBuildDown) ? "higher" : "lower")
                               + " than the card beneath it";
            if (Has(rules, roSameSuit))
                text += ", all of one suit";
            if (Has(rules, roAlternateColour))
                text += ", in alternating colours";
            text += " — may be moved as a unit.";
            if (Has(rules, roUnlimitedMoves))
                text += " Runs of any length may be moved.";
            else if (Game.FreeCells && Has(rules, roEmptyKing))
                text += " A run may hold one card more than there are empty free cells.";
            else if (Game.FreeCells)
                text += " A run may hold one card more than there are empty free cells, and twice as many for each "
                        "empty tableau pile that is not its target.";
            paragraphs.push_back(text);
        } else if (Has(rules, roMoveFaceUpGroups)) {
            std::string text = "Any face-up card may be moved together with all the cards lying on it, whether or not "
                               "they are in sequence.";
            if (Game.FreeCells && !Has(rules, roUnlimitedMoves))
                text += " No more cards may lie on it than there are empty free cells.";
            paragraphs.push_back(text);
        } else if (Has(rules, roMoveWholePile)) {
            paragraphs.push_back("The top card of a tableau pile may be moved, or the whole pile at once by its bottom card.");
        } else {
            paragraphs.push_back("Only the top card of each tableau pile may be moved.");
        }
        const bool runs = Has(rules, roMoveSequences) || Has(rules, roMoveFaceUpGroups) || Has(rules, roMoveWholePile);
        if (runs && !(SuitRunGame() && !Game.FreeCells))
            paragraphs.push_back(std::string("Only a single top card may go to ")
                                 + (SuitRunGame() ? "a free cell." : Game.FreeCells ? "a foundation or a free cell." : "a foundation."));
        if (Has(rules, roNotDropTarget))
            paragraphs.push_back("Cards are never played onto the tableau piles; they only leave them.");
        if (DealsFaceDown())
            paragraphs.push_back("A face-down card that is uncovered on top of a tableau pile is turned face up at once.");
    }
    if (Game.ReserveCount > 0 && !Game.FreeCells)
        paragraphs.push_back(Game.ReserveAllAvailable ? "Any card of the reserve may be played."
                                                      : "Only the top card of the reserve may be played.");
    if (Game.FreeCells && Game.ReserveCount > 0)
        paragraphs.push_back("A single card may be put into an empty free cell and played from there later.");
    if (HasWaste())
        paragraphs.push_back("The top card of the waste may be played.");
    if (Game.ExceptCount > 0)
        paragraphs.push_back(Game.ExceptFaceUp ? "The top card of each extra pile may be played."
                                               : "The top card of each extra pile may be played; the card below it is "
                                                 "then turned face up.");
    if (Has(Game.DeckRules, roDragFromDeck))
        paragraphs.push_back("The top card of the stock lies face up and may be played straight from the stock.");
    return paragraphs;
}

std::vector<std::string> TWriter::Building() const
{
    if (!TableauTakesCards() || Has(Game.TableauRules, roNoDragAndDrop))
        return {};
    const TRuleOptions& rules = Game.TableauRules;
    std::vector<std::string> paragraphs;
    if (Has(rules, roNoBuildOnCards)) {
        paragraphs.push_back("Nothing may be played on a tableau pile that holds cards.");
        return paragraphs;
    }
    const TBuildWords words = BuildWords(rules);
    if (words.Rank.empty() && words.Suit == "regardless of suit")
        paragraphs.push_back("Any card may be placed on any tableau pile, whatever its rank and suit.");
    else
        paragraphs.push_back("Tableau piles are built " + BuildPhrase(rules) + ".");
    if (Has(rules, roAnySuitDrop) && Has(rules, roSameSuit))
        paragraphs.push_back("A card may be placed on a card of any suit, but only cards of one suit move together "
                             "as a run.");
    paragraphs.push_back(words.Wrap);
    paragraphs.push_back(Refusals(rules, "tableau piles"));
    if (Has(rules, roMaxThree))
        paragraphs.push_back("A tableau pile may never hold more than three cards.");
    if (Has(rules, roNoDropWhileStock))
        paragraphs.push_back("Nothing may be played to the tableau while the stock still holds cards.");
    return paragraphs;
}

std::vector<std::string> TWriter::Spaces() const
{
    if (Game.TableauCount == 0 || PairGame() || AcesUp())
        return {};
    const TRuleOptions& rules = Game.TableauRules;
    std::vector<std::string> paragraphs;
    if (Has(rules, roRefillEmpty)) {
        std::string from;
        if (Has(rules, roEmptyFromReserve))
            from = "the top card of the reserve, as long as the reserve lasts";
        else if (Has(rules, roRefillFromStock))
            from = "the next card of the stock, or the top card of the waste once the stock is used up";
        else
            from = "the top card of the waste, or the next card of the stock when the waste is empty";
        paragraphs.push_back("A tableau pile emptied by a move is filled at once with " + from + ".");
    }
    if (Has(rules, roNotDropTarget)) {
        if (!Has(rules, roRefillEmpty))
            paragraphs.push_back("An empty tableau pile stays empty.");
        return paragraphs;
    }
    std::vector<std::string> accepted;
    const bool baseOnly = Has(rules, roEmptyBaseRank) && !Has(rules, roEmptyFromTableau);
    if (Has(rules, roEmptyBaseRank))
        accepted.push_back("a card taken straight from the stock");
    if (!baseOnly) {
        // A pile refilled from the reserve is only left empty once the reserve is gone.
        const bool reserveRefills = Has(rules, roRefillEmpty) && Has(rules, roEmptyFromReserve);
        if (Has(rules, roEmptyFromReserve) && !reserveRefills)
            accepted.push_back(Game.FreeCells ? "a card from a free cell" : "a card from the reserve");
        if (Has(rules, roEmptyFromTableau))
            accepted.push_back(std::string(Has(rules, roMoveSequences) || Has(rules, roMoveFaceUpGroups) ? "a card or run" : "a card")
                               + " from another tableau pile"
                               + (Has(Game.FoundationRules, roTakeFromFoundation) ? " or a foundation" : ""));
        if (Has(rules, roEmptyFromWaste) && HasWaste())
            accepted.push_back(std::string("the top card of the waste")
                               + (Has(rules, roEmptyFromReserve) && !Has(rules, roWasteAnyTime) && !reserveRefills
                                      ? " (only once the reserve is empty)" : ""));
        if (Has(rules, roEmptyFromExcept))
            accepted.push_back("the top card of an extra pile");
        for (const int rank : StartRanks(rules))
            accepted.push_back("any " + RankWord(rank));
    }
    if (accepted.empty()) {
        if (!Has(rules, roRefillEmpty))
            paragraphs.push_back("An empty tableau pile cannot be filled.");
        return paragraphs;
    }
    const bool kingsOnly = accepted.size() == 1 && Has(rules, roEmptyKing);
    if (kingsOnly)
        paragraphs.push_back("Only a King (with any cards on it) may fill an empty tableau pile.");
    else
        paragraphs.push_back(std::string(Has(rules, roRefillEmpty) ? (Has(rules, roEmptyFromReserve) ? "Once the reserve is used up, an" : "Otherwise an") : "An")
                             + " empty tableau pile may be filled with "
                             + JoinList(accepted, "or") + ".");
    return paragraphs;
}

std::string PassesText(int passes)
{
    if (passes == 0)
        return "When the stock is used up, Redeal turns the waste over into a new stock, as often as you like.";
    if (passes == 1)
        return "There is only one pass through the stock: no redeal.";
    return "When the stock is used up, Redeal turns the waste over into a new stock; " + Number(passes)
           + " passes are allowed in all (" + Plural(passes - 1, "redeal", "redeals") + ").";
}

std::vector<std::string> TWriter::Stock() const
{
    std::vector<std::string> paragraphs;
    if (Gathering()) {
        std::string text = "Redeal, offered from the start, gathers the tableau piles in order"
                           + std::string(Game.TurnCount == -4 ? ", shuffles the cards" : ", without shuffling,")
                           + " and deals them out again pile by pile";
        text += Game.DeckPasses == 0 ? ". It may be used as often as you like."
                                     : ". It may be used " + (Game.DeckPasses == 1 ? std::string("once") : Game.DeckPasses == 2 ? std::string("twice") : Number(Game.DeckPasses) + " times") + ".";
        paragraphs.push_back(text);
        paragraphs.push_back("A redeal cannot be undone, nor anything played before it.");
        return paragraphs;
    }
    if (Deal.Stock == 0)
        return paragraphs;
    if (Has(Game.TableauRules, roNoDragAndDrop)) {
        // A game played by clicking deals nothing on a click on the stock.
        paragraphs.push_back(Has(Game.TableauRules, roSelectByHighlight)
                                 ? "The stock is not dealt by hand: it only fills the places emptied by pairs."
                                 : "The stock is not dealt by hand.");
        return paragraphs;
    }
    if (IsGame(Game, "One Foundation")) {
        paragraphs.push_back("A click on the stock moves its next card straight onto the foundation, face up: there is "
                             "no waste.");
        return paragraphs;
    }
    if (Game.TurnCount >= 1) {
        paragraphs.push_back("A click on the stock turns " + (Game.TurnCount == 1 ? std::string("its next card") : Number(Game.TurnCount) + " cards")
                             + " face up onto the waste.");
        paragraphs.push_back(PassesText(Game.DeckPasses));
        return paragraphs;
    }
    std::string text = "A click on the stock deals one card face up onto each tableau pile, from the first, as far as "
                       "the stock reaches.";
    if (Game.TurnCount == -2)
        text += " The stock cannot be dealt while any tableau pile is empty.";
    paragraphs.push_back(text);
    return paragraphs;
}

std::vector<std::string> TWriter::Special() const
{
    std::vector<std::string> paragraphs;
    if (IsGame(Game, "The Clock"))
        paragraphs.push_back(
            "Play starts with the face-up card on the centre pile. Drag the face-up card to the pile of its rank: it "
            "goes underneath that pile, and the pile's top card turns face up to be played next. A card that turns "
            "up on its own pile is already home. Kings go to the centre; Kings turned up on the centre pile at the "
            "deal are moved to its bottom.");
    if (IsGame(Game, "The Dial"))
        paragraphs.push_back("Cards turned from the stock are played to the pile of their rank, each in a different "
                             "colour from the card below; a pile holds its four cards of one rank.");
    if (IsGame(Game, "Burleigh"))
        paragraphs.push_back("The stock is dealt alternately from its top and its bottom: when the card turned last "
                             "still lies on top of the waste, the next card comes from the other end of the stock.");
    if (IsGame(Game, "Four Colours"))
        paragraphs.push_back("No two cards of the same suit may lie in the free cells at the same time.");
    if (AcesUp())
        paragraphs.push_back("A card may be discarded to the foundation when another tableau pile shows a higher card "
                             "of the same suit on top; Aces rank above Kings and are never discarded. An empty tableau "
                             "pile may be filled with any top card of another pile.");
    if (PairGame()) {
        std::string text = "Click a card to select it, then click a second card: two cards of the same rank are "
                           "taken off the table; two cards of different ranks ";
        text += Has(Game.TableauRules, roDealFaceDown) ? "are turned face down again, so remember where they lie."
                                                       : "stay where they are.";
        text += " Clicking the selected card again cancels the choice.";
        paragraphs.push_back(text);
        if (Has(Game.TableauRules, roSelectByHighlight))
            paragraphs.push_back("Only face-up cards may be chosen. A place emptied by a pair is filled from the "
                                 "stock when it was the bottom of its pile or the card below it is face up; otherwise "
                                 "the card below is turned face up.");
    }
    if (SuitRunGame())
        paragraphs.push_back("Moving a finished run to a foundation clears the move history: it cannot be undone.");
    if (Has(Game.FoundationRules, roNoUndo))
        paragraphs.push_back("Moves cannot be undone in this game.");
    if (Has(Game.FoundationRules, roNoAutomove) || SuitRunGame())
        paragraphs.push_back("Foundation Auto Moves does nothing in this game.");
    return paragraphs;
}

std::vector<std::string> TWriter::Scoring() const
{
    std::vector<std::string> paragraphs;
    if (PairGame()) {
        std::string text = "Each card removed scores 50 points (100 for a pair). Each card you select costs 1 point; "
                           "a mismatch costs 10 points more, and cancelling a selection 6 points.";
        if (Has(Game.TableauRules, roSelectByHighlight))
            text += " Each card dealt from the stock to fill a place costs 1 point.";
        paragraphs.push_back(text);
    } else if (ClockGame()) {
        paragraphs.push_back("A card placed on its pile scores 50 points, but taking it off the pile it lay on costs "
                             "50 points again, so a move gains nothing. Only a card that turns up on its own pile "
                             "scores: 50 points each. A refused move costs 5 points.");
    } else {
        std::string text = "Each card played to a foundation scores 50 points.";
        if (TableauTakesCards() || Game.FreeCells) {
            text += " Each move to a tableau pile" + std::string(Game.FreeCells ? " or a free cell" : "")
                    + " costs 1 point" + (MovesRuns() ? " (a run counts once)" : "");
            if (Has(Game.TableauRules, roRefillEmpty))
                text += ", and so does each automatic refill of an emptied pile";
            text += ".";
        } else if (Has(Game.TableauRules, roRefillEmpty)) {
            text += " Each automatic refill of an emptied pile costs 1 point.";
        }
        text += " A refused move costs 5 points.";
        if (Has(Game.FoundationRules, roTakeFromFoundation))
            text += " A card taken back from a foundation costs 50 points.";
        if (Gathering() || (HasWaste() && Game.DeckPasses != 1))
            text += " Each redeal costs 10 points.";
        paragraphs.push_back(text);
    }
    if (!NoUndo())
        paragraphs.push_back("A new move after an undo closes the game: it no longer counts in the statistics.");
    return paragraphs;
}


// ---------------------------------------------------------------------------
// For a newcomer: a turn, a lost game, and what the rules suggest.

bool TWriter::KingsOnlyFillSpaces() const
{
    const TRuleOptions& rules = Game.TableauRules;
    return Has(rules, roEmptyKing) && StartRanks(rules).size() == 1 && !Has(rules, roRefillEmpty)
           && !Has(rules, roNotDropTarget);
}

bool TWriter::SpacesTakeTableauCards() const
{
    const TRuleOptions& rules = Game.TableauRules;
    return Has(rules, roEmptyFromTableau) && StartRanks(rules).empty() && !Has(rules, roEmptyBaseRank)
           && !Has(rules, roNotDropTarget);
}

std::vector<std::string> TWriter::Turn() const
{
    if (PairGame()) {
        return {std::string("Click a card, then another card of the same rank: the two leave the table. ")
                + (Has(Game.TableauRules, roDealFaceDown) ? "Each card you click shows its face while it is chosen."
                                                          : "Choose among the cards that lie face up.")};
    }
    if (ClockGame())
        return {"Drag the face-up card to the pile of its rank. The top card of that pile turns up; drag it to its "
                "own pile in turn, and so on round the clock."};
    if (AcesUp())
        return {"Drag a card to the foundation when a higher card of its suit lies on top of another pile, or into "
                "an empty pile. When nothing more can be done, click the stock to deal a card onto each pile."};

    std::vector<std::string> sources;
    if (Game.TableauCount > 0 && !Has(Game.TableauRules, roNoDragAndDrop))
        sources.push_back("a tableau pile");
    if (HasWaste())
        sources.push_back("the waste");
    if (Game.ReserveCount > 0 && !Game.FreeCells)
        sources.push_back("the reserve");
    if (Game.FreeCells && Game.ReserveCount > 0)
        sources.push_back("a free cell");
    if (Game.ExceptCount > 0)
        sources.push_back("an extra pile");
    if (Has(Game.DeckRules, roDragFromDeck))
        sources.push_back("the stock");
    std::vector<std::string> targets;
    if (Game.FoundationCount > 0)
        targets.push_back(OneFoundation() ? "the foundation" : "a foundation");
    if (TableauTakesCards())
        targets.push_back("a tableau pile where it fits");
    if (Game.FreeCells && Game.ReserveCount > 0)
        targets.push_back("an empty free cell");

    std::vector<std::string> paragraphs;
    std::string text;
    if (!sources.empty() && !targets.empty())
        text = "Drag the top card of " + JoinList(sources, "or") + " onto " + JoinList(targets, "or") + ".";
    const TRuleOptions& rules = Game.TableauRules;
    if (Has(rules, roMoveSequences) && TableauTakesCards())
        text += " A run of cards in sequence moves the same way: drag it by its first card, the one deepest in the pile.";
    else if (Has(rules, roMoveFaceUpGroups) && TableauTakesCards())
        text += " Drag any face-up card to move it together with the cards on it.";
    else if (Has(rules, roMoveWholePile) && TableauTakesCards())
        text += " Drag the bottom card of a pile to move the whole pile.";
    if (Deal.Stock > 0 && !Has(rules, roNoDragAndDrop)) {
        if (IsGame(Game, "One Foundation"))
            text += " When no card fits, click the stock: its next card goes straight onto the foundation.";
        else if (Game.TurnCount >= 1)
            text += " When no move is left, click the stock to turn " + (Game.TurnCount == 1 ? std::string("a card") : Number(Game.TurnCount) + " cards")
                    + " onto the waste.";
        else if (Game.TurnCount <= 0 && !Gathering())
            text += " When no move is left, click the stock to deal a card onto every tableau pile.";
    }
    if (Gathering())
        text += " When no move is left, Redeal gathers the tableau and deals it again.";
    if (!Has(Game.FoundationRules, roNoAutomove) && !SuitRunGame() && Game.FoundationCount > 0)
        text += " Foundation Auto Moves plays every card that can go to the foundations.";
    paragraphs.push_back(text);
    return paragraphs;
}

std::vector<std::string> TWriter::Lost() const
{
    const std::string after = NoUndo()
        ? "Moves cannot be undone here: choose New Game (Ctrl+N) to deal again."
        : "Then Undo (Ctrl+Z) steps back to try another way, or New Game (Ctrl+N) deals a fresh game.";
    if (ClockGame())
        return {"The game is lost when the fourth King turns up while other piles still hold face-down cards. " + after};
    if (PairGame()) {
        if (!Has(Game.TableauRules, roSelectByHighlight))
            return {"Every card can be chosen, so every pair can be found in the end: this game is lost only by "
                    "giving it up."};
        return {"The game is lost when no two face-up cards share a rank. " + after};
    }
    std::string text = "The game is lost when no card can be moved any more";
    if (Gathering())
        text += Game.DeckPasses == 0 ? " and a redeal brings nothing new" : " and the redeals are used up";
    else if (Deal.Stock > 0 && HasWaste())
        text += Game.DeckPasses == 1 ? " and the stock is used up (there is no redeal)"
              : Game.DeckPasses == 0 ? " and turning the stock again brings nothing new"
                                     : " and the stock is used up with no redeal left";
    else if (Deal.Stock > 0 && !Has(Game.TableauRules, roNoDragAndDrop))
        text += " and the stock is used up";
    return {text + ". " + after};
}

std::vector<std::string> TWriter::Strategy() const
{
    const TRuleOptions& rules = Game.TableauRules;
    std::vector<std::string> tips;
    if (ClockGame())
        tips.push_back("Every card has only one place to go, so there are no choices to make: the deal alone decides "
                       "the game.");
    if (PairGame() && Has(rules, roDealFaceDown))
        tips.push_back("Remember every card you turn: the second card of a pair has often shown itself already.");
    if (PairGame() && Has(rules, roSelectByHighlight) && !DealsFaceDownForPairs())
        tips.push_back("Take a pair as soon as it shows: every place it empties brings a new card from the stock.");
    else if (PairGame() && Has(rules, roSelectByHighlight))
        tips.push_back("When several pairs are open, take the one whose cards cover face-down cards: every new card "
                       "is a new chance.");
    if (Game.FreeCells && Game.ReserveCount > 0)
        tips.push_back("Free cells are scarce: fill one only when it frees a card you need soon, and empty a tableau "
                       "pile when you can — an empty pile is worth more than a cell.");
    if (KingsOnlyFillSpaces())
        tips.push_back("Only a King can fill an empty pile: uncover Kings early, and empty a pile only when a King is "
                       "ready to move into it.");
    if (DealsFaceDown())
        tips.push_back("Uncover face-down cards first: a move that turns up a card is worth more than one that "
                       "does not, and the longest hidden piles need the most work.");
    if (Has(rules, roAnySuitDrop) && Has(rules, roSameSuit))
        tips.push_back("Build in suit whenever you can: a run of mixed suits cannot move as one.");
    if (HasWaste() && Game.DeckPasses == 1)
        tips.push_back("There is only one pass through the stock: before turning the next card, play every card of "
                       "the waste you can.");
    else if (HasWaste() && Game.DeckPasses > 1)
        tips.push_back("Passes through the stock are few: look at what each card of the waste would unblock before "
                       "turning more.");
    if (Deal.Stock > 0 && Game.TurnCount <= 0 && !Gathering() && !Has(rules, roNoDragAndDrop) && !AcesUp()
        && !IsGame(Game, "One Foundation"))
        tips.push_back("Make every useful move before dealing from the stock: the deal covers every tableau pile with a "
                       "new card.");
    if (SpacesTakeTableauCards() && !(Game.FreeCells && Game.ReserveCount > 0))
        tips.push_back("An empty tableau pile takes any card: keep it for the card that unblocks the most, rather "
                       "than filling it at once.");
    if (Has(Game.FoundationRules, roTakeFromFoundation) && !ClockGame())
        tips.push_back("A card can come back from a foundation: use it as a stepping stone for a card that is stuck.");
    if (Gathering() && Game.DeckPasses > 0)
        tips.push_back("Redeals are limited: use one only when no move is left.");
    if (AcesUp())
        tips.push_back("Keep an empty pile for a card that hides a lower card of its own suit.");
    if (Has(rules, roAlternateColour) && Has(rules, roBuildDown) && Has(Game.FoundationRules, roBuildUp) && tips.size() < 3)
        tips.push_back("Do not rush every card to the foundations: a card on the tableau may still be needed to hold a "
                       "lower card of the other colour.");
    if (tips.empty() || (tips.size() < 2 && !ClockGame() && !PairGame()))
        tips.push_back("Before each move, look at what it uncovers: the best move is the one that opens up more moves.");
    if (tips.size() > 3)
        tips.resize(3);
    return tips;
}

} // namespace

std::string NumberWord(int n) { return Number(n); }
std::string RankWord(int value) { return RankWords.at(std::size_t(value)); }
std::string RankPlural(int value) { return RankPlurals.at(std::size_t(value)); }

TDealOutcome WorkOutDeal(const TGameDefinition& game)
{
    TDealOutcome deal;
    deal.PackSize = PackSize(game);
    deal.Preplaced = PreplacedCount(game);
    deal.Stock = deal.PackSize - deal.Preplaced;
    if (Has(game.FoundationRules, roEmptyBaseRank))
        --deal.Stock;
    if (Has(game.FoundationRules, roDealToFoundations))
        deal.Stock = 0;
    deal.Reserve = std::min(ReserveDealt(game), deal.Stock);
    deal.Stock -= deal.Reserve;
    for (const int n : game.ExceptDealCounts)
        deal.Extra += n;
    deal.Extra = std::min(deal.Extra, deal.Stock);
    deal.Stock -= deal.Extra;
    deal.Cards.assign(std::size_t(game.TableauCount), 0);
    deal.FaceDown.assign(std::size_t(game.TableauCount), 0);
    DealTableau(game, deal);
    return deal;
}

TRulesText DescribeGame(const TGameDefinition& game)
{
    TWriter writer{game, WorkOutDeal(game), {}};
    writer.Section("Object of the game", {writer.Object()});
    writer.Section("Layout", writer.Layout());
    writer.Section("How a turn goes", writer.Turn());
    writer.Section("Foundations", writer.Foundations());
    writer.Section("Moving cards", writer.Moving());
    writer.Section("Building on the tableau", writer.Building());
    writer.Section("Spaces", writer.Spaces());
    writer.Section(writer.HasWaste() ? "Stock and waste" : writer.Gathering() ? "Redeal" : "Stock", writer.Stock());
    writer.Section("Special rules", writer.Special());
    writer.Section("When the game is lost", writer.Lost());
    writer.Section("Scoring", writer.Scoring());
    writer.Section("Strategy", writer.Strategy());
    return writer.Text;
}

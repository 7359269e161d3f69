#include "engine/Snapshot.h"

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string PileJson(const TPile& pile, bool withPositions)
{
    std::string out = "[";
    bool first = true;
    for (const TCard* card : pile) {
        if (!card)
            continue;
        if (!first)
            out += ",";
        first = false;
        out += JsonString(CardText(card, withPositions));
    }
    return out + "]";
}

std::string PilesJson(const std::vector<TPile>& piles, bool withPositions)
{
    std::string out = "[";
    for (std::size_t i = 0; i < piles.size(); ++i) {
        if (i > 0)
            out += ",";
        out += PileJson(piles[i], withPositions);
    }
    return out + "]";
}

TPile StockCards(const TEngine& engine)
{
    TPile stock;
    const TCardDeck& deck = engine.Deck();
    for (int i = deck.DealtCount + 1; i <= deck.Count(); ++i)
        stock.push_back(deck.CardByIndex(i));
    return stock;
}

TCardCode Code(const TCard* card)
{
    return card ? MakeCardCode(static_cast<int>(card->Value), static_cast<int>(card->Suit), card->FaceUp) : NoCard;
}

TCardCodes Codes(const TPile& pile, bool keepEmpty)
{
    TCardCodes out;
    out.reserve(pile.size());
    for (const TCard* card : pile)
        if (card || keepEmpty)
            out.push_back(Code(card));
    return out;
}

std::vector<TCardCodes> Codes(const std::vector<TPile>& piles)
{
    std::vector<TCardCodes> out;
    out.reserve(piles.size());
    for (const TPile& pile : piles)
        out.push_back(Codes(pile, false));
    return out;
}

} // namespace

TPositionSnapshot TEngine::Snapshot() const
{
    TPositionSnapshot s;
    s.Tableau = Codes(TableauPiles);
    s.Foundations = Codes(FoundationPiles);
    s.Reserve = Codes(ReserveCards, Rules.FreeCells);
    s.Waste = Codes(WasteCards, false);
    s.Except = Codes(ExceptPiles);
    s.Stock = Codes(StockCards(*this), false);
    s.Removed = Codes(RemovedCards, false);
    s.Points = Points;
    s.FoundationCards = FoundationCards;
    s.PassesDone = PassesDone;
    s.BaseValue = Rules.FoundationBaseCard ? static_cast<int>(Rules.FoundationBaseCard->Value) : -1;
    s.RedealOffered = RedealOffered;
    s.Won = GameWon;
    if (SelectedCard) {
        s.SelectedPile = SelectedPos.Pile;
        s.SelectedIndex = SelectedPos.Index;
    }
    s.StockFromTop = StockFromTop;
    s.LastDealt = Code(LastDealt);
    s.RandSeed = RandSeed();
    const QPoint waste = WastePositionNow();
    for (std::size_t f = 0; f < FoundationPiles.size() && f < Rules.FoundationPositions.size(); ++f) {
        if (Rules.FoundationPositions[f] != waste || Rules.FoundationRules.Contains(roFoundationSideways))
            continue;
        s.SharedFoundation = static_cast<int>(f);
        const TPile& foundation = FoundationPiles[f];
        for (const TCard* card : Table.ZList()) {
            const bool inWaste = std::find(WasteCards.begin(), WasteCards.end(), card) != WasteCards.end();
            if (inWaste || std::find(foundation.begin(), foundation.end(), card) != foundation.end())
                s.SharedPlace.push_back(Code(card));
        }
        break;
    }
    return s;
}

std::string CardText(const TCard* card, bool withPosition)
{
    if (!card)
        return "null";
    static constexpr char ranks[] = "A23456789TJQK";
    static constexpr char suits[] = "cdhs";
    std::string name;
    if (card->Suit == csJoker) {
        name = "J" + std::to_string(static_cast<int>(card->Value));
    } else {
        name += ranks[card->Value % 13];
        name += suits[card->Suit % 4];
    }
    if (!card->FaceUp)
        name = "(" + name + ")";
    if (withPosition)
        name += "@" + std::to_string(card->X) + "," + std::to_string(card->Y);
    return name;
}

std::string StateJson(const TEngine& engine, bool withPositions, std::optional<int> actions)
{
    const auto& log = engine.SourceLog;
    const std::uint32_t seed = log.size() > 1
        ? static_cast<std::uint32_t>(std::strtoll(log[1].c_str(), nullptr, 10)) : 0u;
    std::string reserve = "[";
    for (std::size_t i = 0; i < engine.ReserveCards.size(); ++i) {
        if (i > 0)
            reserve += ",";
        const TCard* card = engine.ReserveCards[i];
        reserve += card ? JsonString(CardText(card, withPositions)) : "null";
    }
    reserve += "]";

    std::string out = "{";
    out += "\"game\":" + JsonString(engine.Rules.GameName);
    out += ",\"seed\":" + std::to_string(seed);
    out += std::string(",\"open\":") + (engine.GameOpen() ? "true" : "false");
    out += ",\"stock\":" + PileJson(StockCards(engine), withPositions);
    out += ",\"waste\":" + PileJson(engine.WasteCards, withPositions);
    out += ",\"tableau\":" + PilesJson(engine.TableauPiles, withPositions);
    out += ",\"foundations\":" + PilesJson(engine.FoundationPiles, withPositions);
    out += ",\"reserve\":" + reserve;
    out += ",\"extra\":" + PilesJson(engine.ExceptPiles, withPositions);
    out += ",\"points\":" + std::to_string(engine.Points);
    out += ",\"foundationCards\":" + std::to_string(engine.FoundationCards);
    out += ",\"passesDone\":" + std::to_string(engine.PassesDone);
    out += std::string(",\"won\":") + (engine.GameWon ? "true" : "false");
    out += ",\"foundationLabel\":" + JsonString(engine.FoundationLabel);
    if (actions)
        out += ",\"actions\":" + std::to_string(*actions);
    return out + "}";
}

std::string PilesText(const TEngine& engine)
{
    std::string out = "stock " + PileJson(StockCards(engine), false);
    out += " waste " + PileJson(engine.WasteCards, false);
    out += " tableau " + PilesJson(engine.TableauPiles, false);
    out += " foundations " + PilesJson(engine.FoundationPiles, false);
    out += " reserve [";
    for (const TCard* card : engine.ReserveCards)
        out += CardText(card, false) + " ";
    out += "] extra " + PilesJson(engine.ExceptPiles, false);
    out += " removed " + PileJson(engine.RemovedCards, false);
    return out;
}

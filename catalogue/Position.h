#pragma once

#include <cstdint>
#include <vector>

// A card as one byte: value 0 (Ace) .. 12 (King) in the low four bits, the
// suit in the next two, the pack in bit 6 and "face down" in bit 7. The
// solver keeps its piles in this form; the engine writes it into snapshots.
using TCardCode = std::uint8_t;

inline constexpr TCardCode NoCard = 0xFF; // an empty free cell
inline constexpr TCardCode FaceDownBit = 0x80;
inline constexpr TCardCode PackBit = 0x40;

constexpr TCardCode MakeCardCode(int value, int suit, bool faceUp, int pack = 0)
{
    return static_cast<TCardCode>((value & 0x0F) | ((suit & 3) << 4) | (pack ? PackBit : 0) | (faceUp ? 0 : FaceDownBit));
}
constexpr int CodeValue(TCardCode code) { return code & 0x0F; }
constexpr int CodeSuit(TCardCode code) { return (code >> 4) & 3; }
constexpr bool CodeFaceUp(TCardCode code) { return (code & FaceDownBit) == 0; }
constexpr TCardCode CodeTurnedUp(TCardCode code) { return static_cast<TCardCode>(code & ~FaceDownBit); }
constexpr TCardCode CodeTurnedDown(TCardCode code) { return static_cast<TCardCode>(code | FaceDownBit); }
// The card with its face and pack left out: twins of two packs are one card here.
constexpr TCardCode CodeIdentity(TCardCode code) { return static_cast<TCardCode>(code & 0x3F); }

using TCardCodes = std::vector<TCardCode>;

// The position of a game in play as plain data, filled by the engine right
// after a deal or at any moment of play. Piles list their bottom card first;
// an empty tableau pile or foundation is an empty list (not the engine's
// one empty slot). Everything a rule reads is here, and nothing of the table.
struct TPositionSnapshot {
    std::vector<TCardCodes> Tableau;
    std::vector<TCardCodes> Foundations;
    TCardCodes Reserve;    // free cells keep their places: NoCard for an empty one
    TCardCodes Waste;
    std::vector<TCardCodes> Except;
    TCardCodes Stock;      // the next card to be dealt first
    TCardCodes Removed;    // cards the pair games took out of play

    int Points = 0;
    int FoundationCards = 0;
    int PassesDone = 0;
    int BaseValue = -1;    // the foundation base card's value, -1 while none is set
    bool RedealOffered = false;
    bool Won = false;      // the game has been won (nothing more may move)

    // A pair game's selected card, as tableau pile and index (-1: none).
    int SelectedPile = -1;
    int SelectedIndex = -1;

    // Burleigh: the end of the stock the next card comes from, and the last card dealt.
    bool StockFromTop = true;
    TCardCode LastDealt = NoCard;

    // Where the layout puts the waste on a foundation's place (-1: nowhere),
    // a press there takes the card on top, whichever pile it belongs to: the
    // cards of both piles in the order they lie there, bottom first.
    int SharedFoundation = -1;
    TCardCodes SharedPlace;

    // The program's generator, which a shuffling redeal draws from.
    std::uint32_t RandSeed = 0;

    friend bool operator==(const TPositionSnapshot&, const TPositionSnapshot&) = default;
};

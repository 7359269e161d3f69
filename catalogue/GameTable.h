#pragma once

#include <span>

// One game as the catalogue writes it down, in the compact notation of
// Notation.h. Turned into a TGameDefinition (GameDefinitions.h) when the
// catalogue is first used.
struct TGameRow {
    const char* Name;
    const char* HelpCode;
    int Number;
    int Packs;  // DeckCount
    int Turn;   // TurnCount
    int Passes; // DeckPasses
    int Tableau;
    const char* TableauRules; // option numbers
    const char* Deal;         // TableauDealCounts [+ " uK" TableauUndealtPiles]
    const char* FaceDown;     // TableauFaceDownCounts
    int Foundations;
    const char* FoundationRules;
    // ReserveCount and flags: u face up, f fanned, a all available,
    // c free cells, v cells vertical, dN cells dealt
    const char* Reserve;
    const char* DeckRules;
    const char* Options; // f goFastDeal, t goTightFan
    const char* FoundationPositions;
    const char* TableauPositions;
    // "reserve (X,Y)", "stock X,Y", "waste X,Y", "angles a b …",
    // "extra piles N, deal D[, all face up], at P; P …",
    // "stock-turn switch starts on"; clauses separated by ";"
    const char* Extras;
};

// The named games in game-number order. Klondike is one row: its two
// turn-over variants are made from it (GameDefinitions.cpp).
std::span<const TGameRow> GameTable();

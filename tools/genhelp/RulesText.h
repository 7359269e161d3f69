#pragma once

#include "catalogue/GameDefinitions.h"

#include <string>
#include <vector>

// A game's rules in plain English, written from its definition alone: the
// same values the engine plays by, so the help can never tell a different
// game from the one on the table.
struct TRulesSection {
    std::string Heading;
    std::vector<std::string> Paragraphs; // plain text, one paragraph each
};

struct TRulesText {
    std::vector<TRulesSection> Sections;
};

TRulesText DescribeGame(const TGameDefinition& game);

// How the deal leaves the table: cards per tableau pile and how many of
// them lie face down, the cards taken before the tableau is dealt, and the
// stock that is left. Deal counts are upper bounds (a deal stops when the
// stock runs out), so this is worked out as the deal does it.
struct TDealOutcome {
    int PackSize = 52;
    int Preplaced = 0;       // cards put on the foundations before the deal
    int Reserve = 0;         // cards dealt to the reserve or the free cells
    int Extra = 0;           // cards dealt to the extra piles
    std::vector<int> Cards;  // per tableau pile
    std::vector<int> FaceDown;
    int Stock = 0;           // cards left in the stock after the deal
};

TDealOutcome WorkOutDeal(const TGameDefinition& game);

// "no", "one" … "twenty", then digits.
std::string NumberWord(int n);

// "Ace" … "King" and their plurals.
std::string RankWord(int value);
std::string RankPlural(int value);

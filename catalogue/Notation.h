#pragma once

#include "catalogue/LayoutConstants.h"
#include "catalogue/Rules.h"

#include <QPoint>

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The compact notation the game table is written in.
//
// Positions are expressions over the layout constants: L LeftMargin,
// T TopMargin, S SecondRowTop, C ColumnStep, R RowStep; juxtaposition (or *)
// multiplies, "/" divides dropping the remainder, rnd(x) rounds halves to
// even, trunc(x) drops the fraction, and only rnd/trunc may hold fractions
// such as 6.6C. A position list is "X,Y" items separated by ";"; an item may
// end in ranges "k=2..5" (also i and r) and then stands for one position per
// value, the first range outermost.
//
// Counts: "-" (none), "a..b" (increasing by one), "n×v" (n times v), or a
// comma list; a trailing " uK" is the number of undealt piles.

class ENotationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One position of a list, still symbolic so it follows the constants.
struct TPositionTerm {
    std::string X;
    std::string Y;
    std::vector<std::pair<char, int>> Bindings; // range variables and their values

    friend bool operator==(const TPositionTerm&, const TPositionTerm&) = default;
};

// Evaluates one expression; throws ENotationError on bad syntax, an unknown
// name or a result with a fraction.
int EvaluateExpression(std::string_view expression, const TLayoutConstants& constants,
                       const std::vector<std::pair<char, int>>& bindings = {});

// Splits and expands a position list ("-" or empty gives no positions).
std::vector<TPositionTerm> ParsePositionList(std::string_view text);
// Parses one "X,Y" position.
TPositionTerm ParsePosition(std::string_view text);

QPoint EvaluatePosition(const TPositionTerm& term, const TLayoutConstants& constants);
std::vector<QPoint> EvaluatePositions(const std::vector<TPositionTerm>& terms,
                                      const TLayoutConstants& constants);

struct TCountList {
    std::vector<int> Counts;
    int Undealt = 0;
};
TCountList ParseCountList(std::string_view text);

// "1 3 9 14" or "-" to a set; throws on a number outside 0..72.
TRuleOptions ParseRuleOptions(std::string_view text);

// Helpers shared by the notation readers.
std::string_view TrimText(std::string_view text);
std::vector<std::string_view> SplitText(std::string_view text, char separator);
int ParseInteger(std::string_view text);

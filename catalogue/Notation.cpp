#include "catalogue/Notation.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

// Recursive descent over one expression. Values are doubles so that rnd()
// and trunc() see the exact real product; everything outside them must stay
// integral.
class TExpressionReader {
public:
    TExpressionReader(std::string_view text, const TLayoutConstants& constants,
                      const std::vector<std::pair<char, int>>& bindings)
        : Text(text), Constants(constants), Bindings(bindings)
    {
    }

    int Read()
    {
        const double value = Sum();
        if (Pos != Text.size())
            Fail("unexpected text");
        if (value != std::floor(value))
            Fail("fraction outside rnd() or trunc()");
        return static_cast<int>(value);
    }

private:
    [[noreturn]] void Fail(const std::string& why) const
    {
        throw ENotationError("position expression \"" + std::string(Text) + "\": " + why);
    }

    [[nodiscard]] char Peek() const { return Pos < Text.size() ? Text[Pos] : '\0'; }

    double Sum()
    {
        double value = 0;
        if (Peek() == '-' || Peek() == '+') {
            const bool negative = Text[Pos++] == '-';
            value = negative ? -Product() : Product();
        } else {
            value = Product();
        }
        while (Peek() == '+' || Peek() == '-') {
            const bool minus = Text[Pos++] == '-';
            const double term = Product();
            value = minus ? value - term : value + term;
        }
        return value;
    }

    static bool StartsFactor(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '(' || c == '.';
    }

    double Product()
    {
        double value = Factor();
        for (;;) {
            if (Peek() == '*') {
                ++Pos;
                value *= Factor();
            } else if (Peek() == '/') {
                ++Pos;
                const double divisor = Factor();
                if (divisor == 0)
                    Fail("division by zero");
                // "C/2": integer division, remainder dropped.
                value = std::trunc(value / divisor);
            } else if (StartsFactor(Peek())) {
                value *= Factor();
            } else {
                return value;
            }
        }
    }

    double Factor()
    {
        const char c = Peek();
        if (c == '(') {
            ++Pos;
            const double value = Sum();
            Expect(')');
            return value;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.')
            return Number();
        if (std::isalpha(static_cast<unsigned char>(c)))
            return Name();
        Fail(Pos < Text.size() ? "unexpected character" : "unexpected end");
    }

    void Expect(char c)
    {
        if (Peek() != c)
            Fail(std::string("expected '") + c + "'");
        ++Pos;
    }

    double Number()
    {
        const std::size_t start = Pos;
        while (std::isdigit(static_cast<unsigned char>(Peek())) || Peek() == '.')
            ++Pos;
        const std::string digits(Text.substr(start, Pos - start));
        std::size_t used = 0;
        double value = 0;
        try {
            value = std::stod(digits, &used);
        } catch (const std::exception&) {
            Fail("bad number");
        }
        if (used != digits.size())
            Fail("bad number");
        // A fraction outside rnd()/trunc() could come out whole at one scale
        // and not at another; refuse it whatever the constants are.
        if (FunctionDepth == 0 && digits.find('.') != std::string::npos)
            Fail("fraction outside rnd() or trunc()");
        return value;
    }

    double Name()
    {
        if (Text.substr(Pos).starts_with("rnd("))
            return Function(4, RoundHalfEven);
        if (Text.substr(Pos).starts_with("trunc("))
            return Function(6, [](double x) { return std::trunc(x); });
        const char name = Text[Pos++];
        switch (name) {
        case 'L': return Constants.LeftMargin;
        case 'T': return Constants.TopMargin;
        case 'S': return Constants.SecondRowTop;
        case 'C': return Constants.ColumnStep;
        case 'R': return Constants.RowStep;
        default: break;
        }
        for (const auto& [variable, value] : Bindings)
            if (variable == name)
                return value;
        Fail(std::string("unknown name '") + name + "'");
    }

    template <typename F>
    double Function(std::size_t nameLength, F apply)
    {
        Pos += nameLength;
        ++FunctionDepth;
        const double inner = Sum();
        --FunctionDepth;
        Expect(')');
        return apply(inner);
    }

    static double RoundHalfEven(double x)
    {
        const double floor = std::floor(x);
        const double fraction = x - floor;
        if (fraction > 0.5)
            return floor + 1;
        if (fraction < 0.5)
            return floor;
        return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    }

    std::string_view Text;
    const TLayoutConstants& Constants;
    const std::vector<std::pair<char, int>>& Bindings;
    std::size_t Pos = 0;
    int FunctionDepth = 0;
};

struct TRange {
    char Variable = 'k';
    int First = 0;
    int Last = 0;
};

TRange ParseRange(std::string_view text)
{
    // "k=2..5"
    const std::size_t equals = text.find('=');
    const std::size_t dots = text.find("..");
    if (equals != 1 || dots == std::string_view::npos || dots < equals)
        throw ENotationError("bad range \"" + std::string(text) + "\"");
    TRange range;
    range.Variable = text[0];
    range.First = ParseInteger(text.substr(equals + 1, dots - equals - 1));
    range.Last = ParseInteger(text.substr(dots + 2));
    if (range.Last < range.First)
        throw ENotationError("empty range \"" + std::string(text) + "\"");
    return range;
}

void ExpandRanges(const TPositionTerm& base, const std::vector<TRange>& ranges, std::size_t depth,
                  std::vector<TPositionTerm>& out)
{
    if (depth == ranges.size()) {
        out.push_back(base);
        return;
    }
    const TRange& range = ranges[depth];
    for (int value = range.First; value <= range.Last; ++value) {
        TPositionTerm bound = base;
        bound.Bindings.emplace_back(range.Variable, value);
        ExpandRanges(bound, ranges, depth + 1, out);
    }
}

} // namespace

std::string_view TrimText(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitText(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(TrimText(text.substr(start, at - start)));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

int ParseInteger(std::string_view text)
{
    text = TrimText(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw ENotationError("bad number \"" + std::string(text) + "\"");
    return value;
}

int EvaluateExpression(std::string_view expression, const TLayoutConstants& constants,
                       const std::vector<std::pair<char, int>>& bindings)
{
    return TExpressionReader(TrimText(expression), constants, bindings).Read();
}

TPositionTerm ParsePosition(std::string_view text)
{
    text = TrimText(text);
    // The X/Y comma is the one outside parentheses.
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')')
            --depth;
        else if (text[i] == ',' && depth == 0) {
            TPositionTerm term{std::string(TrimText(text.substr(0, i))),
                               std::string(TrimText(text.substr(i + 1))), {}};
            if (term.X.empty() || term.Y.empty())
                break;
            // Syntax check now, at the default scale, so a bad entry is found
            // when the table is read and not when the game is chosen.
            EvaluatePosition(term, TLayoutConstants{});
            return term;
        }
    }
    throw ENotationError("bad position \"" + std::string(text) + "\"");
}

std::vector<TPositionTerm> ParsePositionList(std::string_view text)
{
    std::vector<TPositionTerm> terms;
    text = TrimText(text);
    if (text.empty() || text == "-")
        return terms;
    for (const std::string_view item : SplitText(text, ';')) {
        std::vector<std::string_view> words;
        for (const std::string_view word : SplitText(item, ' '))
            if (!word.empty())
                words.push_back(word);
        if (words.empty())
            throw ENotationError("empty position in \"" + std::string(text) + "\"");
        std::vector<TRange> ranges;
        for (std::size_t w = 1; w < words.size(); ++w)
            ranges.push_back(ParseRange(words[w]));
        TPositionTerm base{};
        const std::size_t comma = words[0].find(',');
        if (comma == std::string_view::npos)
            throw ENotationError("bad position \"" + std::string(words[0]) + "\"");
        base.X = std::string(words[0].substr(0, comma));
        base.Y = std::string(words[0].substr(comma + 1));
        std::vector<TPositionTerm> expanded;
        ExpandRanges(base, ranges, 0, expanded);
        for (TPositionTerm& term : expanded) {
            EvaluatePosition(term, TLayoutConstants{});
            terms.push_back(std::move(term));
        }
    }
    return terms;
}

QPoint EvaluatePosition(const TPositionTerm& term, const TLayoutConstants& constants)
{
    return {EvaluateExpression(term.X, constants, term.Bindings),
            EvaluateExpression(term.Y, constants, term.Bindings)};
}

std::vector<QPoint> EvaluatePositions(const std::vector<TPositionTerm>& terms,
                                      const TLayoutConstants& constants)
{
    std::vector<QPoint> points;
    points.reserve(terms.size());
    for (const TPositionTerm& term : terms)
        points.push_back(EvaluatePosition(term, constants));
    return points;
}

TCountList ParseCountList(std::string_view text)
{
    TCountList list;
    text = TrimText(text);
    // A trailing " uK": the last K piles get no card in the row deal.
    if (const std::size_t space = text.rfind(' '); space != std::string_view::npos &&
                                                   text.substr(space + 1).starts_with('u')) {
        list.Undealt = ParseInteger(text.substr(space + 2));
        text = TrimText(text.substr(0, space));
    }
    if (text.empty() || text == "-")
        return list;
    if (const std::size_t dots = text.find(".."); dots != std::string_view::npos) {
        const int first = ParseInteger(text.substr(0, dots));
        const int last = ParseInteger(text.substr(dots + 2));
        if (last < first)
            throw ENotationError("empty count range \"" + std::string(text) + "\"");
        for (int value = first; value <= last; ++value)
            list.Counts.push_back(value);
        return list;
    }
    static constexpr std::string_view times = "×";
    if (const std::size_t at = text.find(times); at != std::string_view::npos) {
        const int piles = ParseInteger(text.substr(0, at));
        const int cards = ParseInteger(text.substr(at + times.size()));
        if (piles < 0)
            throw ENotationError("bad pile count \"" + std::string(text) + "\"");
        list.Counts.assign(static_cast<std::size_t>(piles), cards);
        return list;
    }
    for (const std::string_view item : SplitText(text, ','))
        list.Counts.push_back(ParseInteger(item));
    return list;
}

TRuleOptions ParseRuleOptions(std::string_view text)
{
    TRuleOptions options;
    text = TrimText(text);
    if (text.empty() || text == "-")
        return options;
    for (const std::string_view word : SplitText(text, ' ')) {
        if (word.empty())
            continue;
        const int number = ParseInteger(word);
        if (number < 0 || number >= RuleOptionCount)
            throw ENotationError("rule option out of range: " + std::string(word));
        options.Include(static_cast<TRuleOption>(number));
    }
    return options;
}

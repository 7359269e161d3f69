// The words the start screen scrolls.
#include "shell/StartScreen.h"

#include "persistence/FileLocation.h"

#include <QDate>

namespace {

// Where players find the program and write to its makers.
constexpr const char* WebAddress = "tessalyn.example.org";
constexpr const char* ContactAddress = "feedback@tessalyn.example.org";

// The program's birthday gets a greeting of its own.
constexpr int BirthdayMonth = 12;
constexpr int BirthdayDay = 8;

const char* const Quotations[] = {
    "\"Patience is a card game",
    "you lose slowly.\"",
    "",
    "\"The King was never",
    "where I needed him.\"",
    "",
    "\"One more game,\"",
    "said everyone, at 2 a.m.",
    "",
    "\"Undo is not cheating.",
    "It is research.\"",
    "",
    "\"An Ace in the hole is worth",
    "two on the foundation.\"",
    "",
    "\"I shuffled, therefore",
    "I am.\"",
    "",
    "\"Red on black, black on red,",
    "then off to bed.\"",
    "",
};

void Append(QStringList& lines, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        lines << QString::fromUtf8(text);
}

} // namespace

QStringList StartScreenLines(const QDate& today)
{
    QStringList lines;
    if (today.month() == 1 && today.day() == 1) {
        Append(lines, {"************", "Happy New Year!"});
        lines << QString::number(today.year());
        Append(lines, {"************", ""});
    }
    if (today.month() == BirthdayMonth && today.day() == BirthdayDay)
        Append(
            lines,
            {"-------------", "Happy Birthday,", "Tessalyn!", "Dealing since", "December 2008.", "-------------", ""});
    if (today.month() == 12 && today.day() >= 24 && today.day() <= 26)
        Append(lines, {"* * * * * *", "Merry Xmas", "From", "The Tessalyn Team", "* * * * * *", ""});
    Append(lines, {"Tessalyn.", "v 2.03", ""});
    lines << QStringLiteral("Prog ID: ") + QString::number(persistence::DataVersion);
    Append(lines,
           {"", "", "December 2008", "", WebAddress, "", "", "", "New games added:", "", "Aces Up", "Osmosis", "",
            "Feedback and", "bug reports to:", ContactAddress, "are welcome.", "", ""});
    for (const char* quotation : Quotations)
        lines << QString::fromUtf8(quotation);
    Append(lines, {"Goodbye.", "", "", "", ""});
    return lines;
}

#include "tools/genhelp/HelpPages.h"
#include "tools/genhelp/KeysSection.h"

#include "tools/genhelp/RulesText.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <set>

namespace {

constexpr const char* Style = R"(body { font-family: "DejaVu Sans", Verdana, sans-serif; margin: 16px 24px; color: #1a1a1a; background: #fffef8; }
h1 { color: #1d4f2a; font-size: 22px; margin-bottom: 4px; }
h2 { color: #1d4f2a; font-size: 17px; margin-top: 18px; margin-bottom: 4px; }
h3 { color: #33603c; font-size: 15px; margin-top: 14px; margin-bottom: 2px; }
p { margin-top: 4px; margin-bottom: 6px; line-height: 140%; }
p.nav { font-size: 12px; }
p.games { font-style: italic; }
div.deal { margin-top: 6px; margin-bottom: 6px; }
img.deal { border: 1px solid #777777; max-width: 100%; }
table.variants { border-collapse: collapse; }
table.variants td, table.variants th { border: 1px solid #999999; padding: 2px 8px; }
ul.games { margin-top: 2px; }
dt { font-weight: bold; margin-top: 6px; }
dd { margin-left: 18px; margin-bottom: 4px; }
)";

std::string Head(const std::string& title)
{
    return "<!DOCTYPE html>\n<html lang=\"en\" xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n"
           "<meta charset=\"utf-8\"/>\n<title>" + EscapeHtml(title) + "</title>\n<style>\n" + Style
           + "</style>\n</head>\n<body>\n";
}

constexpr const char* Tail = "</body>\n</html>\n";

bool IsCustomFreecell(const TGameDefinition& game)
{
    for (const auto& [piles, cells] : CustomFreecellCombinations())
        if (game.GameName == "Freecell " + std::to_string(piles) + "x" + std::to_string(cells))
            return true;
    return false;
}

// The words a newcomer may not know, explained once on the contents page.
struct TTerm {
    const char* Id;
    const char* Word;
    const char* Pattern; // its forms in the rules' text
    const char* Meaning;
};

const std::vector<TTerm>& Terms()
{
    static const std::vector<TTerm> terms{
        {"tableau", "Tableau", "tableau",
         "The piles dealt out on the table, where most of the play happens: cards are moved between them and "
         "built on them."},
        {"foundation", "Foundation", "foundations?(?! Auto Moves)",
         "A pile where the cards are collected to win the game, usually from an Ace up to a King of one suit."},
        {"stock", "Stock", "stock",
         "The cards left over after the deal, waiting to be dealt or turned during play."},
        {"waste", "Waste", "waste",
         "The pile beside the stock where cards turned from the stock land; its top card may be played."},
        {"freecell", "Free cell", "free cells?",
         "A place that holds one card at a time, any card, until it can be played elsewhere."},
        {"reserve", "Reserve", "reserve",
         "Cards dealt apart from the tableau at the start; they are played from, never onto."},
        {"extrapile", "Extra pile", "extra piles?",
         "A pile dealt beside the tableau that cards are only taken from."},
        {"build", "Build", "built|build",
         "To place a card on another by the rule of the pile, for example one rank lower in the other colour."},
        {"run", "Run", "runs?",
         "Cards lying on one another in the order of the building rule, which may move together where the game "
         "allows it."},
        {"baserank", "Base rank", "base rank",
         "The rank every foundation has to start with, when it is not always the Ace."},
        {"redeal", "Redeal", "redeals?",
         "Gathering cards that were played out and dealing them again, in most games the waste turned back into "
         "a new stock."},
        {"pass", "Pass", "pass(es)?",
         "One trip through the whole stock; a game may allow one pass or several."},
        {"corner", "Turn the corner", "turn the corner",
         "Building goes on past the end of the ranks: an Ace follows a King, or a King an Ace."},
        {"insuit", "In suit", "in suit",
         "Each card of the same suit as the card it is placed on."},
        {"alternating", "Alternating colours", "alternating colours",
         "Red and black cards in turn: a red card on a black one, a black card on a red one."},
    };
    return terms;
}

// The text of a paragraph with the first use on the page of each term
// linked to its meaning; `linked` remembers the terms already linked.
std::string LinkTerms(const std::string& text, std::set<std::string>& linked)
{
    struct TMatch {
        qsizetype Position;
        qsizetype Length;
        const TTerm* Term;
    };
    // Each term's forms as a whole-word pattern, made once.
    static const std::vector<QRegularExpression> patterns = [] {
        std::vector<QRegularExpression> all;
        for (const TTerm& term : Terms())
            all.emplace_back(QStringLiteral("\\b(") + QString::fromUtf8(term.Pattern) + QStringLiteral(")\\b"),
                             QRegularExpression::CaseInsensitiveOption);
        return all;
    }();
    const QString words = QString::fromStdString(text);
    std::vector<TMatch> matches;
    for (std::size_t t = 0; t < Terms().size(); ++t) {
        const TTerm& term = Terms()[t];
        if (linked.count(term.Id) != 0)
            continue;
        const QRegularExpressionMatch found = patterns[t].match(words);
        if (found.hasMatch())
            matches.push_back({found.capturedStart(0), found.capturedLength(0), &term});
    }
    std::sort(matches.begin(), matches.end(), [](const TMatch& a, const TMatch& b) { return a.Position < b.Position; });
    std::string html;
    qsizetype done = 0;
    for (const TMatch& match : matches) {
        if (match.Position < done)
            continue; // overlaps a term already linked here
        html += EscapeHtml(words.mid(done, match.Position - done).toStdString());
        html += "<a class=\"term\" href=\"../index.htm#t-" + std::string(match.Term->Id) + "\">"
                + EscapeHtml(words.mid(match.Position, match.Length).toStdString()) + "</a>";
        done = match.Position + match.Length;
        linked.insert(match.Term->Id);
    }
    return html + EscapeHtml(words.mid(done).toStdString());
}

std::string Picture(const TGameDefinition& game, const std::string& folder)
{
    return "<div class=\"deal\"><img class=\"deal\" src=\"" + EscapeHtml(folder + HelpAnchor(game.GameName) + ".jpg")
           + "\" alt=\"A deal of " + EscapeHtml(game.GameName) + ", its places named\"/></div>\n";
}

// How often the game's deals come out, from the survey; nothing for a game it left out.
std::string OddsLine(const TGameDefinition& game, const TOddsTable& odds)
{
    const std::optional<TGameOdds> found = FindOdds(odds, game.GameName);
    return found ? OddsSentence(*found) : std::string();
}

std::string Paragraphs(const TRulesSection& section, std::set<std::string>& linked)
{
    std::string html;
    for (const std::string& paragraph : section.Paragraphs)
        html += "<p>" + LinkTerms(paragraph, linked) + "</p>\n";
    return html;
}

std::string Rules(const TGameDefinition& game, const char* level, std::set<std::string>& linked)
{
    std::string html;
    for (const TRulesSection& section : DescribeGame(game).Sections)
        html += "<" + std::string(level) + ">" + EscapeHtml(section.Heading) + "</" + level + ">\n" + Paragraphs(section, linked);
    return html;
}

// What sets one custom free-cell game apart: its cells, its piles and how
// long a run it can move, in the rule text's own words.
TRulesSection VariantNumbers(const TGameDefinition& game)
{
    TRulesSection numbers;
    for (const TRulesSection& section : DescribeGame(game).Sections)
        if (section.Heading == "Layout")
            for (const std::string& paragraph : section.Paragraphs)
                if (paragraph.find("free cell") != std::string::npos || paragraph.find("tableau pile") != std::string::npos)
                    numbers.Paragraphs.push_back(paragraph);
    const int cells = game.ReserveCount;
    numbers.Paragraphs.push_back(
        cells == 0 ? std::string("With no free cells, runs move one card at a time, or twice as many for each empty "
                                 "tableau pile that is not their target.")
                   : (cells == 1 ? std::string("With its free cell empty") : cells == 2 ? std::string("With both free cells empty")
                                                                     : "With all " + NumberWord(cells) + " free cells empty")
                         + ", a run of up to " + NumberWord(cells + 1)
                         + " cards moves at once, and twice as many for each empty tableau pile that is not its target.");
    return numbers;
}

// The custom free-cell family: Freecell's rules with other numbers of piles
// and cells. A table to compare them, then a short section of each one's
// own numbers, where F2 opens.
std::string Variants(const std::vector<const TGameDefinition*>& variants, const std::string& pictureFolder,
                     std::set<std::string>& linked)
{
    std::string html = "<h2 id=\"custom\">Freecell Custom</h2>\n"
                       "<p>The same rules as Freecell, with another number of tableau piles and free cells. The "
                       "tableau piles are dealt as evenly as the pack allows.</p>\n"
                       "<table class=\"variants\">\n<tr><th>Game</th><th>Tableau piles</th><th>Free cells</th>"
                       "<th>Cards per pile</th></tr>\n";
    for (const TGameDefinition* game : variants) {
        const TDealOutcome deal = WorkOutDeal(*game);
        const auto [low, high] = std::minmax_element(deal.Cards.begin(), deal.Cards.end());
        const std::string cards = *low == *high ? std::to_string(*low) : std::to_string(*low) + " or " + std::to_string(*high);
        html += "<tr><td><a href=\"#" + HelpAnchor(game->GameName) + "\">" + EscapeHtml(game->GameName) + "</a></td><td>"
                + std::to_string(game->TableauCount) + "</td><td>" + std::to_string(game->ReserveCount) + "</td><td>"
                + cards + "</td></tr>\n";
    }
    html += "</table>\n";
    for (const TGameDefinition* game : variants) {
        html += "<h3 id=\"" + HelpAnchor(game->GameName) + "\">" + EscapeHtml(game->GameName) + "</h3>\n";
        html += Picture(*game, pictureFolder);
        html += Paragraphs(VariantNumbers(*game), linked);
    }
    return html;
}

void AppendLink(std::string& html, const TGameDefinition& game)
{
    html += "<li><a href=\"html/" + PageFileName(game.HelpCode) + "\">" + EscapeHtml(game.GameName) + "</a></li>\n";
}

// The games the survey knows, the most often won first (ties A to Z).
std::string OddsIndex(const std::vector<const TGameDefinition*>& alphabetical, const TOddsTable& odds)
{
    std::vector<std::pair<const TGameDefinition*, TGameOdds>> known;
    for (const TGameDefinition* game : alphabetical)
        if (const std::optional<TGameOdds> found = FindOdds(odds, game->GameName))
            known.emplace_back(game, *found);
    if (known.empty())
        return {};
    std::stable_sort(known.begin(), known.end(), [](const auto& a, const auto& b) {
        return WinnablePercent(a.second) > WinnablePercent(b.second);
    });
    std::string html = "<h2 id=\"odds\">Games by their odds</h2>\n"
                       "<p>The share of deals a search of every move proved winnable; a deal it could not settle "
                       "in its time counts as lost, so the true share may be higher.</p>\n<ul class=\"games\">\n";
    for (const auto& [game, share] : known)
        html += "<li><a href=\"html/" + PageFileName(game->HelpCode) + "\">" + EscapeHtml(game->GameName) + "</a> "
                + std::to_string(WinnablePercent(share)) + " %</li>\n";
    return html + "</ul>\n";
}

} // namespace

std::string EscapeHtml(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string PageFileName(const std::string& helpCode) { return "tsly" + helpCode + ".htm"; }

std::map<std::string, std::vector<const TGameDefinition*>> GamesByHelpCode()
{
    std::map<std::string, std::vector<const TGameDefinition*>> codes;
    for (const TGameDefinition& game : GameDefinitions())
        codes[game.HelpCode].push_back(&game);
    return codes;
}

std::string HelpPage(const std::string& helpCode, const std::vector<const TGameDefinition*>& games,
                     const std::string& pictureFolder, const TOddsTable& odds)
{
    std::vector<const TGameDefinition*> named;
    std::vector<const TGameDefinition*> variants;
    for (const TGameDefinition* game : games)
        (IsCustomFreecell(*game) ? variants : named).push_back(game);

    std::vector<std::string> names;
    for (const TGameDefinition* game : named)
        names.push_back(game->GameName);
    std::string title = names.empty() ? "Freecell Custom" : names.front();
    for (std::size_t i = 1; i < names.size(); ++i)
        title += (i + 1 == names.size() ? " and " : ", ") + names[i];
    if (!variants.empty())
        title += names.empty() ? "" : " and Freecell Custom";

    std::string html = Head(title + " - Tessalyn Help");
    html += "<p class=\"nav\"><a href=\"../index.htm\">Contents</a> · <a href=\"../index.htm#glossary\">Glossary</a></p>\n";
    const bool several = named.size() > 1;
    // A single game's page opens at its title.
    html += "<h1" + (several || named.empty() ? std::string() : " id=\"" + HelpAnchor(named.front()->GameName) + "\"") + ">"
            + EscapeHtml(title) + "</h1>\n";
    if (several || (!named.empty() && !variants.empty())) {
        html += "<ul class=\"games\">\n";
        for (const TGameDefinition* game : named)
            html += "<li><a href=\"#" + HelpAnchor(game->GameName) + "\">" + EscapeHtml(game->GameName) + "</a></li>\n";
        if (!variants.empty())
            html += "<li><a href=\"#custom\">Freecell Custom</a>: " + std::to_string(variants.size())
                    + " games of other sizes, from " + EscapeHtml(variants.front()->GameName) + " to "
                    + EscapeHtml(variants.back()->GameName) + "</li>\n";
        html += "</ul>\n";
    }
    // Terms are linked at their first use in each game's own part.
    for (const TGameDefinition* game : named) {
        std::set<std::string> linked;
        if (several)
            html += "<h2 id=\"" + HelpAnchor(game->GameName) + "\">" + EscapeHtml(game->GameName) + "</h2>\n";
        html += Picture(*game, pictureFolder);
        if (const std::string line = OddsLine(*game, odds); !line.empty())
            html += "<p class=\"odds\">" + EscapeHtml(line) + "</p>\n";
        html += Rules(*game, several ? "h3" : "h2", linked);
    }
    if (!variants.empty()) {
        std::set<std::string> linked;
        html += Variants(variants, pictureFolder, linked);
    }
    html += "<!-- help code " + EscapeHtml(helpCode) + " -->\n";
    return html + Tail;
}

std::string ContentsPage(const TMenuItem& gameTypeMenu, const TOddsTable& odds)
{
    std::string html = Head("Tessalyn Help - Contents");
    html += "<h1>Tessalyn Help</h1>\n"
            "<p>Tessalyn is a collection of solitaire card games. Choose a game from the " 
            "Game Type menu or the start screen; Rules (F2) opens the page of the game in play, and "
            "Help Contents (F1) this page.</p>\n"
            "<p>Every page tells how the game is laid out, which cards may be moved, how the piles are built and "
            "how the game is scored, exactly as the program plays it.</p>\n";

    html += "<h2>Playing</h2>\n"
            "<p>Drag a card with the mouse to where it may go; a card dropped where the rules do not allow it "
            "goes back. Click the stock to deal from it. Foundation Auto Moves plays every card that can go to "
            "the foundations. Undo and Redo step back and forth through the moves; a new move after an undo "
            "closes the game, so that it no longer counts in the statistics.</p>\n"
            "<table class=\"variants\">\n<tr><th>Key</th><th>Command</th></tr>\n"
            "<tr><td>F1</td><td>Help Contents</td></tr>\n"
            "<tr><td>F2</td><td>Rules of the game in play, or of the game chosen on the start screen</td></tr>\n"
            "<tr><td>F11</td><td>Full Screen</td></tr>\n"
            "<tr><td>F12</td><td>Start Screen</td></tr>\n"
            "<tr><td>Ctrl+N</td><td>New Game</td></tr>\n"
            "<tr><td>Ctrl+Z</td><td>Undo</td></tr>\n"
            "<tr><td>Ctrl+Y</td><td>Redo</td></tr>\n"
            "<tr><td>Ctrl+Q</td><td>Quit Program</td></tr>\n"
            "<tr><td>H</td><td>Hint: shows a move; H again while it shows plays it</td></tr>\n"
            "</table>\n"
            "<p>Points: 50 for each card played to a foundation, minus 1 for each move to a tableau pile or a free cell, minus 5 for a move "
            "the rules refuse and minus 10 for each redeal. Each game's page tells its own scoring.</p>\n";
    html += "<h2 id=\"glossary\">Glossary</h2>\n<dl>\n";
    for (const TTerm& term : Terms())
        html += "<dt id=\"t-" + std::string(term.Id) + "\">" + EscapeHtml(term.Word) + "</dt>\n<dd>" + EscapeHtml(term.Meaning)
                + "</dd>\n";
    html += "</dl>\n";

    html += KeysSection();
    html += "<h2>Games by type</h2>\n";
    bool afterSeparator = false;
    for (const TMenuItem& type : gameTypeMenu.Items) {
        if (type.IsSeparator()) {
            afterSeparator = true;
            continue;
        }
        if (!afterSeparator || !type.Submenu)
            continue;
        html += "<h3>" + EscapeHtml(type.Caption) + "</h3>\n<ul class=\"games\">\n";
        std::set<std::string> listed;
        for (const std::string& name : GetMenuItems(type))
            if (const TGameDefinition* game = FindGameDefinition(name); game != nullptr && listed.insert(name).second)
                AppendLink(html, *game);
        html += "</ul>\n";
    }

    html += "<h2>All games A to Z</h2>\n<ul class=\"games\">\n";
    std::vector<const TGameDefinition*> all;
    for (const TGameDefinition& game : GameDefinitions())
        all.push_back(&game);
    std::stable_sort(all.begin(), all.end(), [](const TGameDefinition* a, const TGameDefinition* b) {
        std::string left = a->GameName, right = b->GameName;
        for (char& c : left) c = char(std::tolower(static_cast<unsigned char>(c)));
        for (char& c : right) c = char(std::tolower(static_cast<unsigned char>(c)));
        return left < right;
    });
    for (const TGameDefinition* game : all)
        AppendLink(html, *game);
    html += "</ul>\n";
    html += OddsIndex(all, odds);
    return html + Tail;
}

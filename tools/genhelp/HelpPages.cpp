#include "tools/genhelp/HelpPages.h"
#include "tools/genhelp/KeysSection.h"

#include "tools/genhelp/RulesText.h"

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

std::string Picture(const TGameDefinition& game, const std::string& folder)
{
    return "<div class=\"deal\"><img class=\"deal\" src=\"" + EscapeHtml(folder + std::to_string(game.GameNumber) + ".jpg")
           + "\" alt=\"A deal of " + EscapeHtml(game.GameName) + "\"/></div>\n";
}

std::string Rules(const TGameDefinition& game, const char* level)
{
    std::string html;
    for (const TRulesSection& section : DescribeGame(game).Sections) {
        html += "<" + std::string(level) + ">" + EscapeHtml(section.Heading) + "</" + level + ">\n";
        for (const std::string& paragraph : section.Paragraphs)
            html += "<p>" + EscapeHtml(paragraph) + "</p>\n";
    }
    return html;
}

// The custom free-cell family: Freecell's rules with other numbers of piles
// and cells, one row each.
std::string VariantTable(const std::vector<const TGameDefinition*>& variants)
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
        html += "<tr><td>" + EscapeHtml(game->GameName) + "</td><td>" + std::to_string(game->TableauCount) + "</td><td>"
                + std::to_string(game->ReserveCount) + "</td><td>" + cards + "</td></tr>\n";
    }
    return html + "</table>\n";
}

std::string Anchor(const TGameDefinition& game)
{
    std::string id = "g";
    for (const char c : game.GameName)
        if (std::isalnum(static_cast<unsigned char>(c)))
            id += c;
    return id;
}

void AppendLink(std::string& html, const TGameDefinition& game)
{
    html += "<li><a href=\"html/" + PageFileName(game.HelpCode) + "\">" + EscapeHtml(game.GameName) + "</a></li>\n";
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
                     const std::string& pictureFolder)
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
    html += "<p class=\"nav\"><a href=\"../index.htm\">Contents</a></p>\n";
    html += "<h1>" + EscapeHtml(title) + "</h1>\n";
    html += "<p class=\"games\">This page covers " + std::string(games.size() == 1 ? "the game " : "the games ");
    for (std::size_t i = 0; i < games.size(); ++i) {
        if (i > 0)
            html += i + 1 == games.size() ? " and " : ", ";
        html += "\u201c" + EscapeHtml(games[i]->GameName) + "\u201d";
    }
    html += ".</p>\n";
    const bool several = named.size() > 1;
    for (const TGameDefinition* game : named) {
        if (several)
            html += "<h2 id=\"" + Anchor(*game) + "\">" + EscapeHtml(game->GameName) + "</h2>\n";
        html += Picture(*game, pictureFolder);
        html += Rules(*game, several ? "h3" : "h2");
    }
    if (!variants.empty())
        html += VariantTable(variants);
    html += "<!-- help code " + EscapeHtml(helpCode) + " -->\n";
    return html + Tail;
}

std::string ContentsPage(const TMenuItem& gameTypeMenu)
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
            "</table>\n"
            "<p>Points: 50 for each card played to a foundation, minus 1 for each move to a tableau pile or a free cell, minus 5 for a move "
            "the rules refuse and minus 10 for each redeal. Each game's page tells its own scoring.</p>\n";
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
    return html + Tail;
}

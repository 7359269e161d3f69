#include "tools/genhelp/KeysSection.h"

#include <utility>
#include <vector>

namespace {

// Kept with the keys that keyboard play and the window answer: a key added
// there belongs here too.
const std::vector<std::pair<const char*, const char*>>& PlayKeys()
{
    static const std::vector<std::pair<const char*, const char*>> keys = {
        {"Left, Right", "Focus the previous or next pile, row by row across the table"},
        {"Up, Down", "Move along a fan to the cards where a run may start; at either end, to the pile above or below"},
        {"Home, End", "Focus the first or last pile"},
        {"Tab, Shift+Tab", "Focus the next or previous kind of pile: tableau, cells and reserve, foundations, stock and waste"},
        {"Space, Enter", "Pick up the focused card and the cards on it, or drop the cards you picked up on the focused pile; "
                         "on the stock, the waste, a reserve or in a game played by clicks, what a click does"},
        {"Escape", "Put the cards you picked up back"},
        {"F", "Send the focused card to a foundation that takes it"},
        {"A", "Foundation Auto Moves"},
    };
    return keys;
}

const std::vector<std::pair<const char*, const char*>>& CommandKeys()
{
    static const std::vector<std::pair<const char*, const char*>> keys = {
        {"F1", "Help Contents"},
        {"F2", "Rules of the game in play, or of the game chosen on the start screen"},
        {"F11", "Full Screen"},
        {"F12", "Start Screen"},
        {"Ctrl+N", "New Game"},
        {"Ctrl+Z", "Undo"},
        {"Ctrl+Y", "Redo"},
        {"Ctrl+Q", "Quit Program"},
        {"Enter, A to Z", "On the start screen: start the chosen game, or choose the first game of that letter"},
    };
    return keys;
}

std::string KeyTable(const std::vector<std::pair<const char*, const char*>>& keys)
{
    std::string html = "<table class=\"variants\">\n<tr><th>Key</th><th>What it does</th></tr>\n";
    for (const auto& [key, action] : keys)
        html += std::string("<tr><td>") + key + "</td><td>" + action + "</td></tr>\n";
    return html + "</table>\n";
}

} // namespace

std::string KeysSection()
{
    return "<h2 id=\"keys\">Keys</h2>\n"
           "<p>Every game can be played without the mouse. A ring shows the focused pile or card; a card picked "
           "up with the keys goes where a dragged card would, with the same points, sounds and undo. The mouse "
           "and the keys can be mixed freely: a click puts back cards picked up with the keys.</p>\n"
        + KeyTable(PlayKeys()) + "<p>Commands:</p>\n" + KeyTable(CommandKeys());
}

#include "catalogue/MenuTree.h"

#include "platform/Trace.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

struct TSubmenuRow {
    const char* Path;    // submenus below " Game Type ", joined by " > "
    const char* Entries; // captions separated by ";", in menu order
};

// The small-screen and game-type submenus. An entry that names a row of its
// own ("Forty Thieves Type > A - I") is that submenu; "Freecell Custom" is
// the custom free-cell family.
constexpr TSubmenuRow SubmenuRows[] = {
    {"Small Screen Games > A - M",
     "Ace In The Hole; Aces Up; Acme; Agnes Sorel; Alaska; Antarctic; Arched Klondike; Arctic; Auld Lang Syne; Aunt Mary; Australian Tessalyn; Baby Spiderette; Blind Alleys; Brigade; Burleigh; Canfield; Canister; Chameleon; Czarina; Doublets; Easthaven; Empress; Finnish Solitaire; Florentine Tessalyn; Flower Garden; Flowers in May; Fortune's Favor; Four Seasons; Klondike 1 [Turn over 1]; Klondike 2 [Turn over 3]; Lady Betty; Little Windmill; Moosehide"},
    {"Small Screen Games > N - Z",
     "One Foundation; Osmosis; Rainbow; Rainfall; Russian Solitaire; Simple Pairs; Single Rail; Sir Tommy; Spiderette; Storehouse; Sunset Boulevard; Superior Canfield; Tam O'Shanter; Thirteen Up; Thumb and Pouch; Whitehead; Whitehorse; Will o the Wisp; Yukon; Yukon Cells"},
    {"Baker's Dozen Type",
     "Baker's Dozen; Castles in Spain; Cruel; Good Measure; Spanish Tessalyn"},
    {"Beleaguered Castle Type",
     "Beleaguered Castle; Board Tessalyn; Chessboard; Fortress; Mesmer-eyes; Streets and Alleys; Xantia"},
    {"Canfield Type",
     "Acme; American Toad; Canfield; Chameleon; Double Canfield; Rainbow; Rainfall; Storehouse; Superior Canfield; The Demon; Variegated Canfield"},
    {"Fan Type",
     "Black Hole; Box Fan; Demon Fan; Fan; Fascination Fan; La Belle Lucie; Scotch Tessalyn; Shamrocks; Super Flower Garden; Trefoil"},
    {"Flower Garden Type",
     "Brigade; Flower Garden; Thirteen Up"},
    {"Forty Thieves Type",
     "A - I; J - Z"},
    {"Forty Thieves Type > A - I",
     "Blockade; Bull's Eye; Busy Aces; Butcher's Knife; Congress; Corona; Courtyard; Daybreak in Hell; Deuces; Diplomat; Double Rail; Emperor; Flyaway Home; Fortune's Favor; Forty and Eight; Forty Thieves; Gypsy; Idiot's Array; Indian"},
    {"Forty Thieves Type > J - Z",
     "Lady Palk; Lucas; Maria; Midshipman; Number Ten; Red and Black; Single Rail; Square; Streets; Triple Line; Twin Queens; Waning Moon; Zebra"},
    {"Freecell Type",
     "Baker's Game; Bastion; Blitzkreig; Cone of Silence; Eight Down; Eight Off; Forecell; Four Colours; Freecell; Freecell Custom; Holding Pattern; Milligan Cell; Obrai-Skai; Sea Towers; Squadron; Tuxedo"},
    {"Four Seasons Type",
     "Czarina; Empress; Florentine Tessalyn; Flowers in May; Four Seasons; Little Windmill; Simplicity"},
    {"Klondike Type",
     "Agnes Sorel; Arched Klondike; Blind Alleys; Canister; Carlton; Easthaven; Gargantua; Giant; King Albert; Klondike 1 [Turn over 1]; Klondike 2 [Turn over 3]; Klondike 3 [Double]; Milligan Harp; Raglan; Somerset; Steps; Thumb and Pouch; Totem Poll; Westcliff; Whitehead; Whitehorse"},
    {"Pairing Type",
     "Concentration; Doublets; Simple Pairs"},
    {"Sir Tommy Type",
     "Auld Lang Syne; Fanny; Fly; Freespace; Lady Betty; Sir Tommy; Strategy; Tam O'Shanter"},
    {"Spider Type",
     "Antarctic; Arctic; Baby Spiderette; Black Widow; Double Scorpion; Hopping Spider; Scorpion; Scorpion II; Simple Simon; Spider; Spidercells; Spiderette; Will o the Wisp"},
    {"Yukon Type",
     "Ace In The Hole; Alaska; Aunt Mary; Australian Tessalyn; Double Yukon; Finnish Solitaire; Moosehide; Russian Solitaire; Yukon; Yukon Cells"},
    {"Other Game Type",
     "Aces Up; Blondes and Brunettes; Break 147; Burleigh; Egyptian Pyramid; Falling Star; Khedive; Kingdom; Octagon; One Foundation; Osmosis; Sunset Boulevard; The Clock; The Dial"},
};

constexpr std::string_view PathSeparator = " > ";

struct TLetterGroup {
    const char* Caption;
    char First;
    char Last;
};
constexpr TLetterGroup LetterGroups[] = {
    {"A - B", 'a', 'b'}, {"C - E", 'c', 'e'}, {"F - J", 'f', 'j'},
    {"K - P", 'k', 'p'}, {"R - S", 'r', 's'}, {"T - Z", 't', 'z'},
};

std::string ComponentName(std::string_view caption)
{
    std::string name;
    for (const char c : caption)
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name + "1";
}

TMenuItem Submenu(std::string_view caption)
{
    TMenuItem item;
    item.Caption = std::string(caption);
    item.Name = ComponentName(caption);
    item.Submenu = true;
    return item;
}

TMenuItem GameItem(const TGameDefinition& game)
{
    TMenuItem item;
    item.Caption = game.GameName;
    item.Name = ComponentName(game.GameName);
    item.Game = &game;
    return item;
}

TMenuItem GameItem(std::string_view gameName)
{
    const TGameDefinition* game = FindGameDefinition(gameName);
    if (!game)
        throw ENotationError("menu entry without a game: \"" + std::string(gameName) + "\"");
    return GameItem(*game);
}

TMenuItem FreecellCustomMenu()
{
    TMenuItem menu = Submenu(FreecellCustomCaption);
    for (const auto& [piles, cells] : CustomFreecellCombinations())
        menu.Items.push_back(GameItem("Freecell " + std::to_string(piles) + "x" + std::to_string(cells)));
    return menu;
}

const TSubmenuRow* FindRow(std::string_view path)
{
    for (const TSubmenuRow& row : SubmenuRows)
        if (row.Path == path)
            return &row;
    return nullptr;
}

TMenuItem BuildSubmenu(std::string_view caption, const TSubmenuRow& row)
{
    TMenuItem menu = Submenu(caption);
    for (const std::string_view entry : SplitText(row.Entries, ';')) {
        const std::string childPath = std::string(row.Path) + std::string(PathSeparator) + std::string(entry);
        if (const TSubmenuRow* child = FindRow(childPath))
            menu.Items.push_back(BuildSubmenu(entry, *child));
        else if (entry == FreecellCustomCaption)
            menu.Items.push_back(FreecellCustomMenu());
        else
            menu.Items.push_back(GameItem(entry));
    }
    return menu;
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

bool IsCustomFreecell(const TGameDefinition& game)
{
    const auto& combinations = CustomFreecellCombinations();
    return std::any_of(combinations.begin(), combinations.end(), [&game](const auto& combination) {
        return game.GameName ==
               "Freecell " + std::to_string(combination.first) + "x" + std::to_string(combination.second);
    });
}

TMenuItem AlphabeticalMenu()
{
    std::vector<const TGameDefinition*> named;
    for (const TGameDefinition& game : GameDefinitions())
        if (!IsCustomFreecell(game))
            named.push_back(&game);
    std::stable_sort(named.begin(), named.end(), [](const TGameDefinition* a, const TGameDefinition* b) {
        return Lowered(a->GameName) < Lowered(b->GameName);
    });

    TMenuItem menu = Submenu(AlphabeticalGamesCaption);
    for (const TLetterGroup& group : LetterGroups) {
        TMenuItem letters = Submenu(group.Caption);
        for (const TGameDefinition* game : named) {
            const char first = Lowered(game->GameName).front();
            if (first < group.First || first > group.Last)
                continue;
            letters.Items.push_back(GameItem(*game));
            if (game->GameName == "Freecell")
                letters.Items.push_back(FreecellCustomMenu());
        }
        menu.Items.push_back(std::move(letters));
    }
    return menu;
}

TMenuItem SmallScreenMenu()
{
    TMenuItem menu = Submenu(SmallScreenGamesCaption);
    const std::string prefix = std::string(SmallScreenGamesCaption) + std::string(PathSeparator);
    for (const TSubmenuRow& row : SubmenuRows) {
        const std::string_view path = row.Path;
        if (path.starts_with(prefix) && path.find(PathSeparator, prefix.size()) == std::string_view::npos)
            menu.Items.push_back(BuildSubmenu(path.substr(prefix.size()), row));
    }
    return menu;
}

// Caption comparison as the menus do it: "&" marks and letter case ignored.
QString MenuCaptionKey(std::string_view caption)
{
    QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    text.remove(QLatin1Char('&'));
    return text.toCaseFolded();
}

const TMenuItem* FindChild(const TMenuItem& root, const QString& key, bool recursive)
{
    for (const TMenuItem& item : root.Items)
        if (!item.IsSeparator() && MenuCaptionKey(item.Caption) == key)
            return &item;
    if (!recursive)
        return nullptr;
    for (const TMenuItem& item : root.Items)
        if (!item.Items.empty())
            if (const TMenuItem* found = FindChild(item, key, true))
                return found;
    return nullptr;
}

} // namespace

TMenuItem BuildGameTypeMenu()
{
    TMenuItem menu = Submenu(GameTypeCaption);
    menu.Name = "GameType1";
    menu.Items.push_back(AlphabeticalMenu());
    menu.Items.push_back(SmallScreenMenu());
    menu.Items.push_back(Submenu(FavouritesCaption));
    TMenuItem separator;
    separator.Caption = "-";
    separator.Name = "N1";
    menu.Items.push_back(std::move(separator));
    for (const TSubmenuRow& row : SubmenuRows) {
        const std::string_view path = row.Path;
        if (path.find(PathSeparator) == std::string_view::npos)
            menu.Items.push_back(BuildSubmenu(path, row));
    }
    return menu;
}

const TMenuItem& StandardGameTypeMenu()
{
    static const TMenuItem menu = BuildGameTypeMenu();
    return menu;
}

const TMenuItem* GetMenuItem(const TMenuItem& root, std::string_view caption, bool recursive)
{
    platform::Trace(" GetMenuItem(" + root.Name + ")");
    return FindChild(root, MenuCaptionKey(caption), recursive);
}

void GetMenuItems(const TMenuItem& root, std::vector<std::string>& captions)
{
    for (const TMenuItem& item : root.Items) {
        if (item.IsSeparator())
            continue;
        if (item.Submenu)
            GetMenuItems(item, captions);
        else
            captions.push_back(item.Caption);
    }
}

std::vector<std::string> GetMenuItems(const TMenuItem& root)
{
    std::vector<std::string> captions;
    GetMenuItems(root, captions);
    return captions;
}

const TMenuItem* FindGameMenuItem(const TMenuItem& gameTypeMenu, std::string_view gameName)
{
    const TMenuItem* alphabetical = GetMenuItem(gameTypeMenu, AlphabeticalGamesCaption, false);
    if (!alphabetical)
        return nullptr;
    const TMenuItem* item = GetMenuItem(*alphabetical, gameName, true);
    return item && item->Game ? item : nullptr;
}

bool InvokeMenuItem(const TMenuItem& item, TGameRules& rules, const TDefinitionContext& context)
{
    return item.Game && ApplyGameDefinition(*item.Game, rules, context);
}

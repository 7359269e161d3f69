#include "catalogue/MenuTree.h"

#include "platform/Trace.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const TMenuItem& Child(const TMenuItem& menu, std::string_view caption)
{
    const TMenuItem* item = GetMenuItem(menu, caption, false);
    EXPECT_NE(item, nullptr) << caption;
    static const TMenuItem none;
    return item ? *item : none;
}

TEST(MenuTreeTest, GameTypeMenuLayout)
{
    const TMenuItem& menu = StandardGameTypeMenu();
    EXPECT_EQ(menu.Caption, " Game Type ");
    ASSERT_GE(menu.Items.size(), 5u);
    EXPECT_EQ(menu.Items[0].Caption, "Alphabetical Games");
    EXPECT_EQ(menu.Items[1].Caption, "Small Screen Games");
    EXPECT_EQ(menu.Items[2].Caption, "Favourites");
    EXPECT_TRUE(menu.Items[2].Submenu);
    EXPECT_TRUE(menu.Items[2].Items.empty());
    EXPECT_TRUE(menu.Items[3].IsSeparator());
    EXPECT_EQ(menu.Items[4].Caption, "Baker's Dozen Type");
    EXPECT_EQ(menu.Items.back().Caption, "Other Game Type");
    EXPECT_EQ(menu.Items.size(), 4u + 14u); // fourteen game types
}

TEST(MenuTreeTest, AlphabeticalGroupsHoldEveryGameOnce)
{
    const TMenuItem& alphabetical = Child(StandardGameTypeMenu(), AlphabeticalGamesCaption);
    const std::vector<std::pair<std::string, std::size_t>> groups = {
        {"A - B", 31}, {"C - E", 28}, {"F - J", 28}, {"K - P", 22}, {"R - S", 30}, {"T - Z", 21}};
    ASSERT_EQ(alphabetical.Items.size(), groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        EXPECT_EQ(alphabetical.Items[g].Caption, groups[g].first);
        EXPECT_EQ(alphabetical.Items[g].Items.size(), groups[g].second) << groups[g].first;
    }

    const TMenuItem& fj = alphabetical.Items[2];
    const auto freecell = std::find_if(fj.Items.begin(), fj.Items.end(),
                                       [](const TMenuItem& item) { return item.Caption == "Freecell"; });
    ASSERT_NE(freecell, fj.Items.end());
    ASSERT_NE(freecell + 1, fj.Items.end());
    const TMenuItem& custom = *(freecell + 1);
    EXPECT_EQ(custom.Caption, "Freecell Custom");
    ASSERT_EQ(custom.Items.size(), 46u);
    EXPECT_EQ(custom.Items.front().Caption, "Freecell 4x4");
    EXPECT_EQ(custom.Items[5].Caption, "Freecell 5x3");
    EXPECT_EQ(custom.Items.back().Caption, "Freecell 10x6");

    // Letter case does not decide the order: "and" sorts before "Thieves".
    const std::vector<std::string> captions = GetMenuItems(alphabetical);
    ASSERT_EQ(captions.size(), 205u);
    EXPECT_EQ(captions.front(), "Ace In The Hole");
    EXPECT_EQ(captions.back(), "Zebra");
    const auto andEight = std::find(captions.begin(), captions.end(), "Forty and Eight");
    EXPECT_EQ(*(andEight + 1), "Forty Thieves");
    EXPECT_EQ(std::set<std::string>(captions.begin(), captions.end()).size(), 205u);

    for (const std::string& caption : captions) {
        const TMenuItem* item = FindGameMenuItem(StandardGameTypeMenu(), caption);
        ASSERT_NE(item, nullptr) << caption;
        ASSERT_NE(item->Game, nullptr);
        EXPECT_EQ(item->Game->GameName, caption);
    }
    for (const TGameDefinition& game : GameDefinitions())
        EXPECT_NE(std::find(captions.begin(), captions.end(), game.GameName), captions.end()) << game.GameName;
}

TEST(MenuTreeTest, EveryGameIsInExactlyOneTypeSubmenu)
{
    const TMenuItem& menu = StandardGameTypeMenu();
    std::map<std::string, int> seen;
    for (std::size_t i = 4; i < menu.Items.size(); ++i)
        for (const std::string& caption : GetMenuItems(menu.Items[i]))
            ++seen[caption];
    EXPECT_EQ(seen.size(), 205u);
    for (const TGameDefinition& game : GameDefinitions())
        EXPECT_EQ(seen[game.GameName], 1) << game.GameName;

    const TMenuItem& fortyThieves = Child(menu, "Forty Thieves Type");
    ASSERT_EQ(fortyThieves.Items.size(), 2u);
    EXPECT_EQ(fortyThieves.Items[0].Items.size(), 19u);
    EXPECT_EQ(fortyThieves.Items[1].Items.size(), 13u);
    EXPECT_EQ(GetMenuItems(Child(menu, "Freecell Type")).size(), 15u + 46u);
}

TEST(MenuTreeTest, SmallScreenGames)
{
    const TMenuItem& small = Child(StandardGameTypeMenu(), SmallScreenGamesCaption);
    ASSERT_EQ(small.Items.size(), 2u);
    EXPECT_EQ(small.Items[0].Caption, "A - M");
    EXPECT_EQ(small.Items[1].Caption, "N - Z");
    const std::vector<std::string> games = GetMenuItems(small);
    EXPECT_EQ(games.size(), 53u);
    const TMenuItem* osmosis = GetMenuItem(small, "Osmosis", true);
    ASSERT_NE(osmosis, nullptr);
    EXPECT_EQ(osmosis->Game, FindGameDefinition("Osmosis"));

    // Clicking it is choosing the game; a submenu starts nothing.
    TGameRules rules;
    int starts = 0;
    TDefinitionContext context;
    context.StartGame = [&starts] { ++starts; };
    EXPECT_TRUE(InvokeMenuItem(*osmosis, rules, context));
    EXPECT_EQ(rules.GameName, "Osmosis");
    EXPECT_FALSE(InvokeMenuItem(*FindGameMenuItem(StandardGameTypeMenu(), "osmosis"), rules, context));
    EXPECT_FALSE(InvokeMenuItem(small, rules, context));
    EXPECT_EQ(starts, 1);
}

TEST(MenuTreeTest, LookupIgnoresCaseAndAcceleratorsAndFindsNothingForNonGames)
{
    const TMenuItem& menu = StandardGameTypeMenu();
    std::vector<std::string> trace;
    platform::SetTraceSink([&trace](std::string_view line) { trace.emplace_back(line); });
    const TMenuItem* alphabetical = GetMenuItem(menu, "&alphabetical games", false);
    platform::SetTraceSink({});
    ASSERT_NE(alphabetical, nullptr);
    EXPECT_EQ(trace, std::vector<std::string>{" GetMenuItem(GameType1)"});

    EXPECT_EQ(GetMenuItem(*alphabetical, "FREECELL 9X0", true)->Caption, "Freecell 9x0");
    EXPECT_EQ(GetMenuItem(*alphabetical, "Bak&er's Game", true)->Caption, "Baker's Game");
    EXPECT_EQ(GetMenuItem(*alphabetical, "Yukon", false), nullptr); // not a direct child
    EXPECT_EQ(GetMenuItem(*alphabetical, "", true), nullptr);
    EXPECT_EQ(GetMenuItem(menu, "-", true), nullptr); // separators are never found
    EXPECT_EQ(FindGameMenuItem(menu, ""), nullptr);
    EXPECT_EQ(FindGameMenuItem(menu, "F - J"), nullptr); // a submenu, not a game
    EXPECT_NE(GetMenuItem(menu, "Spider Type", false), nullptr);
    EXPECT_TRUE(GetMenuItems(Child(menu, FavouritesCaption)).empty());
}

} // namespace

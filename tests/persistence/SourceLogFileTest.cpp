// The saved-game reader refuses what it could not replay faithfully.
#include "persistence/SourceLogFile.h"

#include <gtest/gtest.h>

namespace {

TEST(SavedGameFile, ReadsWhatItWritesWithEitherLineEnd)
{
    const std::vector<std::string> log = {"Klondike 1 [Turn over 1]", "-5", "O", "6", "0", "0", "0", "2", "3", "4", "-1"};
    const std::string text = FormatSourceLog(log);
    EXPECT_EQ(text.substr(0, 27), "Klondike 1 [Turn over 1]\r\n-");
    for (const std::string& variant : {text, std::string("Klondike 1 [Turn over 1]\n-5\nO\n6\n0\n0\n0\n2\n3\n4\n-1")}) {
        std::string error;
        const auto game = ParseSavedGame(variant, error);
        ASSERT_TRUE(game) << error;
        EXPECT_EQ(game->GameName, "Klondike 1 [Turn over 1]");
        EXPECT_EQ(game->Seed, 0xFFFFFFFBu); // signed text, the generator's state
        EXPECT_TRUE(game->Open);
        ASSERT_EQ(game->Actions.size(), 2u);
        EXPECT_EQ(game->Actions[1].Kind, 2);
        EXPECT_EQ(game->Actions[1].Pile, 3);
        EXPECT_EQ(game->Actions[1].Position, 4);
        EXPECT_EQ(game->Actions[1].DropPoint, -1);
    }
}

TEST(SavedGameFile, RefusesDamagedFilesWithAReason)
{
    const std::vector<std::string> damaged = {
        "",                                  // empty
        "Klondike\n12\n",                    // no open mark
        "Klondike\nabc\nO\n",                // seed not a number
        "Klondike\n99999999999\nO\n",        // seed beyond 32 bits
        "Klondike\n1\nX\n",                  // unknown mark
        "Klondike\n1\nO\n6\n0\n0\n",         // action cut short
        "Klondike\n1\nO\n9\n0\n0\n0\n",      // unknown action kind
        "Klondike\n1\nO\n2\n0\nseven\n0\n",  // garbage in an action
        "\n1\nO\n",                          // no game name
    };
    for (const std::string& text : damaged) {
        std::string error;
        EXPECT_FALSE(ParseSavedGame(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    std::string error;
    EXPECT_FALSE(ReadSavedGame("/nonexistent/folder/game.tsg", error));
    EXPECT_FALSE(error.empty());
}

TEST(SavedGameFile, ADamagedLineIsQuotedShortAndWithoutControlBytes)
{
    // A binary file: the reason quotes its line, but cut short and with a
    // terminal's escape codes and stray bytes written out.
    const std::string binary = "Klondike\n\x1b[2J\x07" + std::string(300, '\xff') + "\nO\n";
    std::string error;
    EXPECT_FALSE(ParseSavedGame(binary, error));
    EXPECT_LT(error.size(), 250u);
    for (const char c : error)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << error;
    EXPECT_NE(error.find("\"\\x1b[2J\\x07\\xff"), std::string::npos) << error;
    EXPECT_EQ(QuotedExcerpt("Yukon"), "\"Yukon\"");
}

} // namespace

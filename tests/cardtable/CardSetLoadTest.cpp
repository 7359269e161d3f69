#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "cardtable/Card.h"
#include "cardtable/CardSet.h"
#include "platform/FilePath.h"
#include "CardSetTestFixture.h"
#include "support/TestPaths.h"

namespace {

namespace fs = std::filesystem;
using namespace cardsetfixture;

void WriteText(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ECardTableError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(CardSetNames, FaceFilesFollowValueAndSuit)
{
    EXPECT_EQ(FaceFileName(csClub, cvAce), "01c.bmp");
    EXPECT_EQ(FaceFileName(csHeart, cvTen), "10h.bmp");
    EXPECT_EQ(FaceFileName(csDiamond, cvQueen), "12d.bmp");
    EXPECT_EQ(FaceFileName(csSpade, cvKing), "13s.bmp");
    EXPECT_EQ(FaceFileName(csJoker, 0), "01joker.bmp");
    EXPECT_EQ(FaceFileName(csJoker, 1), "02joker.bmp");
    EXPECT_EQ(FaceFileName(csJoker, 3), "02joker.bmp");
    EXPECT_EQ(BackFileName(7), "Back7.bmp");
}

class CardsetsSearchTest : public ::testing::Test {
protected:
    fs::path Dir(const std::string& name) const { return Sets.Root() / name; }
    TCardsetsSearch Search() const
    {
        TCardsetsSearch search;
        search.WorkingDirectory = Dir("work");
        search.ProgramDirectory = Dir("program");
        fs::create_directories(search.WorkingDirectory);
        return search;
    }
    TempSets Sets;
};

TEST_F(CardsetsSearchTest, FindsTheFolderWhateverItsLetterCase)
{
    fs::create_directories(Dir("work") / "CARDSETS" / "standard");
    TCardsetsSearch search = Search();
    EXPECT_EQ(LocateCardsetsFolder(search), Dir("work") / "CARDSETS");

    fs::remove_all(Dir("work") / "CARDSETS");
    fs::create_directories(Dir("program") / "cardsets" / "Standard");
    EXPECT_EQ(LocateCardsetsFolder(search), Dir("program") / "cardsets");
}

TEST_F(CardsetsSearchTest, ConfigFileComesBeforeThePath)
{
    fs::create_directories(Dir("configured") / "Standard");
    fs::create_directories(Dir("onpath") / "Cardsets" / "Standard");
    TCardsetsSearch search = Search();
    search.SearchPath = "/nonexistent:" + Dir("onpath").string();
    EXPECT_EQ(LocateCardsetsFolder(search), Dir("onpath") / "Cardsets");

    WriteText(Dir("work") / "config.TXT", Dir("configured").string() + "\r\n");
    EXPECT_EQ(LocateCardsetsFolder(search), Dir("configured"));
}

TEST_F(CardsetsSearchTest, ConfigNamingAFolderWithoutStandardGoesStraightToThePrompt)
{
    fs::create_directories(Dir("noset") / "Other");
    fs::create_directories(Dir("onpath") / "Cardsets" / "Standard");
    fs::create_directories(Dir("typed") / "Standard");
    TCardsetsSearch search = Search();
    search.SearchPath = Dir("onpath").string();
    WriteText(Dir("work") / "Config.txt", Dir("noset").string() + "\r\n");

    EXPECT_EQ(MessageOf([&] { LocateCardsetsFolder(search); }), "Cardsets directory not found.");

    int asked = 0;
    search.Prompt = [&]() -> std::optional<std::string> {
        ++asked;
        return Dir("typed").string();
    };
    EXPECT_EQ(LocateCardsetsFolder(search), Dir("typed"));
    EXPECT_EQ(asked, 1);
    // The typed folder is remembered as the only line of Config.txt.
    EXPECT_EQ(platform::ReadWholeFile(Dir("work") / "Config.txt"), Dir("typed").string() + "\r\n");
    search.Prompt = nullptr;
    EXPECT_EQ(LocateCardsetsFolder(search), Dir("typed"));
}

TEST_F(CardsetsSearchTest, CancelledOrUselessPromptFails)
{
    TCardsetsSearch search = Search();
    search.Prompt = []() -> std::optional<std::string> { return std::nullopt; };
    EXPECT_EQ(MessageOf([&] { LocateCardsetsFolder(search); }), "Cardsets directory not found.");
    search.Prompt = [&]() -> std::optional<std::string> { return Dir("work").string(); };
    EXPECT_EQ(MessageOf([&] { LocateCardsetsFolder(search); }), "Cardsets directory not found.");
    EXPECT_FALSE(fs::exists(Dir("work") / "Config.txt"));
}

class CardSetLoadTest : public ::testing::Test {
protected:
    void SetUp() override { WriteSet(Sets.Cardsets() / "Standard"); }
    fs::path SetFolder(const std::string& name) const { return Sets.Cardsets() / name; }
    TempSets Sets;
};

TEST_F(CardSetLoadTest, PerUserFolderOverridesSingleFaces)
{
    TCardDeck deck(nullptr, Sets.Cardsets());
    const fs::path user = Sets.Root() / "User";
    Write(user / "standard" / "01C.BMP", Flat(Width, Height, FaceColour(csClub, cvAce, 99)));
    deck.SetUserCardsetsFolder(user.string());
    WriteSet(SetFolder("Other"));
    deck.SetDeckName("Other");
    deck.SetDeckName("Standard");
    EXPECT_EQ(deck.CardByIndex(1)->FaceImage.pixel(1, 1), FaceColour(csClub, cvAce, 99));
    EXPECT_EQ(deck.CardByIndex(2)->FaceImage.pixel(1, 1), FaceColour(csDiamond, cvAce));
    EXPECT_EQ(deck.AvailableDeckNames(), (std::vector<std::string>{"Other", "Standard"}));
}

TEST_F(CardSetLoadTest, BackCountAndFallbackToBackOne)
{
    WriteSet(SetFolder("Four"), 4);
    TCardDeck deck(nullptr, Sets.Cardsets());
    EXPECT_EQ(deck.BackCount(), 6);
    deck.SetCardBack(5);
    deck.SetDeckName("four");  // names are found without regard to case
    EXPECT_EQ(deck.BackCount(), 4);
    EXPECT_EQ(deck.CardBack(), 1);  // a set change resets the back
    deck.SetCardBack(4);
    EXPECT_EQ(deck.BackImage.pixel(0, 0), BackColour(4));
    deck.SetCardBack(7);
    EXPECT_EQ(deck.CardBack(), 1);
    EXPECT_EQ(deck.BackImage.pixel(0, 0), BackColour(1));
    EXPECT_TRUE(deck.BackExists(4));
    EXPECT_FALSE(deck.BackExists(5));
}

TEST_F(CardSetLoadTest, MissingSetIsIgnoredAndSetWithoutBacksRefused)
{
    TCardDeck deck(nullptr, Sets.Cardsets());
    deck.SetDeckName("Nowhere");
    EXPECT_EQ(deck.DeckName(), "Standard");
    WriteSet(SetFolder("Backless"), 0);
    EXPECT_EQ(MessageOf([&] { deck.SetDeckName("Backless"); }), "No CardBacks Found.");
    EXPECT_EQ(deck.DeckName(), "Standard");
    EXPECT_EQ(deck.BackImage.pixel(0, 0), BackColour(1));
}

// Each damage must end in a clear error naming the file, with the deck still
// showing the set it had.
TEST_F(CardSetLoadTest, DamagedSetsFailClearlyAndKeepTheOldSet)
{
    TCardDeck deck(nullptr, Sets.Cardsets());
    struct Damage {
        const char* File;
        std::function<void(const fs::path&)> Apply;
        const char* Expect;
    };
    const Damage damages[] = {
        {"07h.bmp", [](const fs::path& f) { fs::remove(f); }, "07h.bmp"},
        {"13s.bmp", [](const fs::path& f) { fs::resize_file(f, fs::file_size(f) / 2); }, "truncated"},
        {"01d.bmp", [](const fs::path& f) { WriteText(f, "not a picture"); }, "not a BMP"},
        {"05c.bmp", [](const fs::path& f) { Write(f, Flat(Width + 1, Height, 0)); }, "card size"},
        {"CardMask.bmp", [](const fs::path& f) { fs::remove(f); }, "CardMask.bmp"},
        {"Shadow01IM.bmp", [](const fs::path& f) { Write(f, Flat(2, 2, 0)); }, "Shadow01IM.bmp"},
        {"Bottom07.bmp", [](const fs::path& f) { WriteText(f, ""); }, "Bottom07.bmp"},
    };
    for (const Damage& damage : damages) {
        const fs::path folder = SetFolder("Broken");
        fs::remove_all(folder);
        WriteSet(folder);
        damage.Apply(folder / damage.File);
        const std::string message = MessageOf([&] { deck.SetDeckName("Broken"); });
        EXPECT_NE(message.find(damage.Expect), std::string::npos) << damage.File << ": " << message;
        EXPECT_EQ(deck.DeckName(), "Standard");
        EXPECT_EQ(deck.CardByIndex(52)->FaceImage.pixel(1, 1), FaceColour(csSpade, cvKing));
    }
}

TEST_F(CardSetLoadTest, MissingJokerFacesRefuseTheJokerPack)
{
    fs::remove(SetFolder("Standard") / "02joker.bmp");
    TCardDeck deck(nullptr, Sets.Cardsets());
    EXPECT_NE(MessageOf([&] { deck.SetCardCount(54); }).find("02joker.bmp"), std::string::npos);
    EXPECT_EQ(deck.Count(), 52);
    EXPECT_NE(deck.CardByIndex(52), nullptr);
}

TEST_F(CardSetLoadTest, ShadeCopyUnlessTheSetHasItsOwn)
{
    TCardDeck deck(nullptr, Sets.Cardsets());
    EXPECT_EQ(deck.Shadow02.pixel(0, 0), deck.BaseImages[6].pixel(0, 0));
    WriteSet(SetFolder("C_1"));
    Write(SetFolder("C_1") / "Shadow02.bmp", Flat(5, 5, qRgb(1, 2, 3)));
    deck.SetDeckName("C_1");
    EXPECT_EQ(deck.Shadow02.pixel(0, 0), qRgb(1, 2, 3));
    // The mask's inverse follows the mask.
    EXPECT_EQ(deck.MaskImage.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(deck.InverseMask.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(deck.InverseMask.pixel(3, 3), qRgb(255, 255, 255));
}

// The sets the build generates must load as they are, at every size.
TEST(GeneratedCardSets, LoadAtEverySizeStep)
{
    const fs::path folder = testpaths::ProgramDir() / "Cardsets";
    if (!HoldsStandardSet(folder))
        GTEST_SKIP() << "no generated card sets in " << folder;
    TCardDeck deck(nullptr, folder);
    EXPECT_EQ(deck.CardWidth, 71);
    EXPECT_EQ(deck.CardHeight, 96);
    EXPECT_GE(deck.BackCount(), 6);
    for (const std::string& name : deck.AvailableDeckNames()) {
        deck.SetDeckName(name);
        ASSERT_EQ(deck.DeckName(), name);
        deck.SetCardCount(54);
        for (int step = -2; step <= 5; ++step) {
            deck.SetScaleStep(step);
            EXPECT_EQ(deck.CardWidth, deck.CardByIndex(54)->FaceImage.width()) << name << " step " << step;
            EXPECT_EQ(deck.MaskImage.size(), deck.BackImage.size()) << name;
        }
        deck.SetScaleStep(0);
        deck.SetCardCount(52);
    }
}

} // namespace

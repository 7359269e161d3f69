#include <algorithm>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "TableTestSupport.h"
#include "cardtable/ComponentStream.h"
#include "cardtable/TableStatus.h"

using namespace tabletest;
namespace fs = std::filesystem;
namespace cs = componentstream;

namespace {

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string Folder(const QTemporaryDir& dir) { return dir.path().toStdString(); }

std::string Short(std::string_view text) { return std::string(1, char(text.size())) + std::string(text); }

// Sets every stored property away from its default.
void ChangeEverything(TCardTable& table)
{
    table.SetTag(11);
    table.setGeometry(3, 53, 700, 520);
    table.setCursor(Qt::CrossCursor);
    table.SetAlign(alClient);
    table.setEnabled(false);
    table.CardDeck().SetDeckName("Other");
    table.CardDeck().SetCardBack(2);
    table.SetStretchBackground(true);
    table.SetPlaceDeckOffset(7);
    table.SetDragCardCursor(Qt::PointingHandCursor);
    table.SetColor(QColor(12, 34, 56));
    TBackdrop& drop = table.BackDrop();
    drop.SetNewMode(true);
    drop.SetChangeRColour(false);
    drop.SetChangeBColour(false);
    drop.SetDirection(drDownUp);
    drop.SetStartR(200);
    drop.SetStartG(80);
    drop.SetStartB(7);
    drop.SetNewColorFrom(QColor(255, 0, 0));
    drop.SetNewColorTo(QColor(30, 20, 0));
    drop.SetNewType(gsDiagonalRightLeft);
    drop.SetEnabled(true);
    table.SetJpegPerformance(jpBestSpeed);
    table.SetCardSpeed(32);
    table.SetDragAndDrop(true);
    table.SetDragFromDeck(true);
    table.SetDragFaceDown(true);
    table.SetLiftOffset(true);
    table.SetRepaintLabels(true);
    table.SetMinWidth(600);
    table.SetMinHeight(450);
    table.SetTurnOverAnimationSpeed(12);
    table.SetTurnOverAnimationVertical(false);
    table.SetTurnOverAnimationLift(true);
    table.SetAutoShadeMode(2);
    table.SetSlowMoveRegion(true);
    table.SetShadowMode(smOriginal);
    table.SetSoftShadow(false);
    table.SetSMR_WaitMode(false);
    table.SetFastMovementMode(true);
    table.SetHQDragShade(false);
    table.SetHQDragShadeColour(5);
}

} // namespace

TEST(ComponentStream, IntegersTakeTheSmallestTypeAndTextItsKind)
{
    cs::TComponent c{"TThing", "Thing1", {}};
    for (const std::int64_t n : {0LL, -128LL, 127LL, 128LL, -32768LL, 32767LL, 32768LL, -2147483648LL})
        c.Properties.push_back({"N", cs::TValue::Integer(n)});
    c.Properties.push_back({"S", cs::TValue::String(std::string(300, 'x'))});
    c.Properties.push_back({"U", cs::TValue::String("Gr\xC3\xBCn")});
    c.Properties.push_back({"Bare", std::nullopt});
    const std::string stream = cs::WriteStream(c);
    const std::string expectedStart = std::string("TPF0") + Short("TThing") + Short("Thing1") +
                                      Short("N") + std::string("\x02\x00", 2) + Short("N") + "\x02\x80" + Short("N") + "\x02\x7F" +
                                      Short("N") + std::string("\x03\x80\x00", 3) + Short("N") + std::string("\x03\x00\x80", 3);
    EXPECT_EQ(stream.substr(0, expectedStart.size()), expectedStart);
    const auto back = cs::ReadResource(cs::WriteResource(c), [](std::string_view n) { return n == "Bare"; });
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, c);
    // Every type byte we do not read is refused, never guessed at.
    for (const int type : {0, 1, 5, 10, 13, 14, 15, 16, 17, 18, 19, 21, 255}) {
        std::string bad = std::string("TPF0") + Short("TThing") + Short("T") + Short("X") + char(type) +
                          std::string(16, '\0');
        std::string error;
        EXPECT_FALSE(cs::ReadResource(bad, {}, &error)) << type;
        EXPECT_FALSE(error.empty());
    }
}

TEST(TableStatus, FileIsTheComponentResourceOfTheTable)
{
    auto table = MakeTable(640, 480, false);
    tablestatus::ApplyProgramSettings(*table);
    table->setGeometry(0, 53, 1280, 971);
    const std::string bytes = tablestatus::WriteStatus(*table);
    const std::string header = std::string("\xFF\x0A\x00TCARDTABLE\x00\x30\x10", 16);
    ASSERT_EQ(bytes.substr(0, 16), header);
    const std::uint32_t size = std::uint8_t(bytes[16]) | std::uint8_t(bytes[17]) << 8 | std::uint8_t(bytes[18]) << 16 |
                               std::uint32_t(std::uint8_t(bytes[19])) << 24;
    EXPECT_EQ(size, bytes.size() - 20);
    const std::string start = std::string("TPF0") + Short("TCardTable") + Short("CardTable1") + Short("Left") +
                              std::string("\x02\x00", 2) + Short("Top") + "\x02\x35" + Short("Width") +
                              std::string("\x03\x00\x05", 3) + Short("Height") + "\x03\xCB\x03" + Short("Align") +
                              "\x07" + Short("alClient") + Short("CardDeck.DeckName") + "\x06" + Short("Standard");
    EXPECT_EQ(bytes.substr(20, start.size()), start);
    // The snapshot names close the list, one after another with nothing between.
    std::string names;
    for (const std::string_view name : tablestatus::SnapshotNames())
        names += Short(name);
    ASSERT_GT(bytes.size(), names.size() + 2);
    EXPECT_EQ(bytes.substr(bytes.size() - names.size() - 2), names + std::string(2, '\0'));
}

TEST(TableStatus, SavingAndLoadingInAnEmptyFolderKeepsEverySetting)
{
    QTemporaryDir dir;
    auto saved = MakeTable(640, 480, false);
    ChangeEverything(*saved);
    ASSERT_TRUE(saved->SaveStatus(Folder(dir)));
    auto loaded = MakeTable(640, 480, false);
    std::string error;
    ASSERT_TRUE(loaded->LoadStatus(Folder(dir), &error)) << error;
    EXPECT_EQ(tablestatus::WriteStatus(*loaded), tablestatus::WriteStatus(*saved));
    EXPECT_EQ(loaded->CardDeck().DeckName(), "Other");
    EXPECT_EQ(loaded->CardDeck().CardBack(), 2);
    EXPECT_EQ(loaded->Color(), QColor(12, 34, 56));
    EXPECT_TRUE(loaded->BackDrop().Enabled());
    EXPECT_EQ(loaded->BackDrop().NewType(), gsDiagonalRightLeft);
    EXPECT_EQ(loaded->Tag(), 11);
    EXPECT_EQ(loaded->HQDragShadeColour(), 5);
    EXPECT_FALSE(loaded->isEnabled());
    // Painted once at the end: the surface shows the gradient it loaded.
    EXPECT_EQ(loaded->SurfaceImage(), saved->SurfaceImage());
}

TEST(TableStatus, PictureAndMissingSetFollowTheirSetters)
{
    QTemporaryDir dir;
    auto saved = MakeTable(640, 480, true);
    saved->CardDeck().SetCardBack(3);
    ASSERT_TRUE(saved->SaveStatus(Folder(dir)));
    // A set that has gone keeps the current one, with the stored back.
    std::string bytes = ReadFile(fs::path(Folder(dir)) / "Status.Dat");
    const std::string from = Short("Standard"), to = Short("Gone1234");
    bytes.replace(bytes.find(from), from.size(), to);
    WriteFile(fs::path(Folder(dir)) / "Status.Dat", bytes);
    auto loaded = MakeTable(640, 480, false);
    ASSERT_TRUE(loaded->LoadStatus(Folder(dir)));
    EXPECT_EQ(loaded->CardDeck().DeckName(), "Standard");
    EXPECT_EQ(loaded->CardDeck().CardBack(), 3);
    EXPECT_EQ(loaded->BackgroundPicture(), PatternPicture().string());
    EXPECT_EQ(loaded->SurfaceImage(), saved->SurfaceImage());
}

TEST(TableStatus, ForeignEncodingsOfTheSameValuesLoad)
{
    QTemporaryDir dir;
    const std::string stream =
        std::string("TPF0") + Short("TCardTable") + Short("Table") + Short("CardSpeed") +
        std::string("\x04\x40\x00\x00\x00", 5) + Short("Color") + "\x07" + Short("clRed") + Short("ShadowMode") +
        std::string("\x02\x00", 2) + Short("BackgroundPicture") + "\x0C" + std::string("\x04\x00\x00\x00", 4) +
        "None" + Short("DragCardCursor") + "\x02\xEB" + Short("Hint") + "\x06" + Short("Deal!") + Short("Margins.Left") +
        "\x02\x05" + Short("cno") + Short("dfu") +
        Short("HQDragShadeColour") + "\x02\x03" + std::string(2, '\0');
    WriteFile(fs::path(Folder(dir)) / "Status.Dat", stream);
    auto table = MakeTable(640, 480, false);
    std::string error;
    ASSERT_TRUE(table->LoadStatus(Folder(dir), &error)) << error;
    EXPECT_EQ(table->CardSpeed(), 64);
    EXPECT_EQ(table->Color(), QColor(255, 0, 0));
    EXPECT_EQ(table->ShadowMode(), smOriginal);
    EXPECT_EQ(table->DragCardCursor(), Qt::PointingHandCursor);
    EXPECT_EQ(table->HQDragShadeColour(), 3);
}

TEST(TableStatus, DamagedOrForeignStreamsChangeNothing)
{
    auto reference = MakeTable(640, 480, false);
    ChangeEverything(*reference);
    const std::string good = tablestatus::WriteStatus(*reference);
    auto swap = [&](const std::string& from, const std::string& to) {
        std::string bytes = good;
        bytes.replace(bytes.find(from), from.size(), to);
        return bytes;
    };
    const std::vector<std::pair<std::string, std::string>> cases{
        {"truncated", good.substr(0, good.size() / 2)},
        {"empty", ""},
        {"unknown name", swap(Short("CardSpeed"), Short("CardSpeeX"))},
        {"wrong type", swap(Short("CardSpeed") + "\x02", Short("CardSpeed") + "\x09")},
        {"unknown identifier", swap(Short("drDownUp"), Short("drSideway"))},
        {"huge length", swap(Short("DragAndDrop") + "\x09", Short("DragAndDrop") + "\x0C\xFF\xFF\xFF\x7F")},
        {"other class", swap(Short("TCardTable"), Short("TCardTabl2"))},
        {"size past the end", swap(good.substr(16, 4), std::string("\xFF\xFF\x00\x00", 4))},
        {"children", good.substr(0, good.size() - 1) + "\x01"},
    };
    for (const auto& [what, bytes] : cases) {
        QTemporaryDir dir;
        const fs::path file = fs::path(Folder(dir)) / "Status.Dat";
        WriteFile(file, bytes);
        auto table = MakeTable(640, 480, false);
        const std::string before = tablestatus::WriteStatus(*table);
        std::string error;
        EXPECT_FALSE(table->LoadStatus(Folder(dir), &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_EQ(tablestatus::WriteStatus(*table), before) << what;
        EXPECT_EQ(ReadFile(file), bytes) << what;
    }
}

TEST(TableStatus, SettingsParseFromTheirShownForm)
{
    auto table = MakeTable(640, 480, false);
    ChangeEverything(*table);
    const auto status = tablestatus::ReadStatus(tablestatus::WriteStatus(*table));
    ASSERT_TRUE(status);
    for (const tablestatus::TSetting& setting : *status) {
        const std::string line = tablestatus::Describe(setting);
        if (setting.Bare) {
            EXPECT_EQ(line, setting.Name);
            continue;
        }
        const std::size_t eq = line.find(" = ");
        ASSERT_NE(eq, std::string::npos) << line;
        const auto parsed = tablestatus::ParseSetting(line.substr(0, eq), line.substr(eq + 3));
        ASSERT_TRUE(parsed) << line;
        EXPECT_EQ(tablestatus::Describe(*parsed), line);
    }
    EXPECT_EQ(tablestatus::Describe(*tablestatus::ParseSetting("Color", "255")), "Color = clRed");
    EXPECT_EQ(tablestatus::Describe(*tablestatus::ParseSetting("CardDeck.DeckName", "'It''s'")),
              "CardDeck.DeckName = 'It''s'");
    EXPECT_FALSE(tablestatus::ParseSetting("Colour", "clRed"));
    EXPECT_FALSE(tablestatus::ParseSetting("ShadowMode", "smLight"));
    EXPECT_FALSE(tablestatus::ParseSetting("CardSpeed", "fast"));
    EXPECT_FALSE(tablestatus::ParseSetting("DragAndDrop", "1"));
}

// The classic scheme's colours are those of the desktop: the inactive
// caption is RGB 191, 205, 219, stored as 14405055.
TEST(TableStatus, SystemColourNamesGiveTheSchemesColours)
{
    auto table = MakeTable(640, 480, false);
    const std::pair<const char*, QColor> expected[] = {{"clInactiveCaption", QColor(191, 205, 219)},
                                                       {"clActiveCaption", QColor(10, 36, 106)},
                                                       {"clBtnFace", QColor(212, 208, 200)},
                                                       {"clInfoBk", QColor(255, 255, 225)}};
    for (const auto& [name, colour] : expected) {
        tablestatus::ApplyStatus(*table, {*tablestatus::ParseSetting("Color", name)});
        EXPECT_EQ(table->Color(), colour) << name;
    }
    EXPECT_EQ(table->Color().red() | table->Color().green() << 8 | table->Color().blue() << 16, 0xE1FFFF);
}

// Identifiers that share a pointer shape come back as they were read.
TEST(TableStatus, CursorIdentifiersSurviveARoundTrip)
{
    for (const auto& [cursor, drag] : {std::pair{"crNoDrop", "crSQLWait"}, std::pair{"crNo", "crDefault"},
                                       std::pair{"crHourGlass", "crArrow"}}) {
        auto table = MakeTable(640, 480, false);
        tablestatus::ApplyStatus(*table, {*tablestatus::ParseSetting("Cursor", cursor),
                                          *tablestatus::ParseSetting("DragCardCursor", drag)});
        const auto status = tablestatus::ReadStatus(tablestatus::WriteStatus(*table));
        ASSERT_TRUE(status);
        std::vector<std::string> lines;
        for (const tablestatus::TSetting& setting : *status)
            lines.push_back(tablestatus::Describe(setting));
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("Cursor = ") + cursor), lines.end()) << cursor;
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("DragCardCursor = ") + drag), lines.end())
            << drag;
    }
}

// The table keeps the pixels under each card; after a new back those must
// still be the background, not the cards that lay there before.
TEST(TableStatus, NewBackLeavesNoGhostCards)
{
    auto table = MakeTable();
    const QImage empty = table->SurfaceImage().copy();
    std::vector<TCard*> cards;
    for (int i = 0; i < 6; ++i)
        cards.push_back(Deal(*table, 40 + 30 * i, 60 + 20 * i, i % 2 == 0));
    table->PlaceDeck(400, 300);
    table->CardDeck().SetCardBack(2);
    table->RedrawAll();
    for (auto it = cards.rbegin(); it != cards.rend(); ++it)
        table->RemoveCard(*it);
    table->ClearTable();
    EXPECT_EQ(table->SurfaceImage(), empty);
}

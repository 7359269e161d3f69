#include <fstream>

#include <gtest/gtest.h>

#include "TableTestSupport.h"
#include "cardtable/TableStatus.h"
#include "support/Mutator.h"

using namespace tabletest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Seeds()
{
    auto table = MakeTable(320, 240, false);
    std::vector<std::string> seeds{tablestatus::WriteStatus(*table)};
    tablestatus::ApplyProgramSettings(*table);
    table->SetTag(9);
    table->CardDeck().SetDeckName("Other");
    table->BackDrop().SetNewMode(true);
    table->BackDrop().SetEnabled(true);
    table->SetBackgroundPicture(PatternPicture().string());
    seeds.push_back(tablestatus::WriteStatus(*table));
    return seeds;
}

} // namespace

// Damaged files are refused or read whole; never a crash, never an
// out-of-bounds read (the sanitizer build runs this too).
TEST(TableStatusFuzz, MutatedStreamsAreReadWholeOrRefused)
{
    const std::vector<std::string> seeds = Seeds();
    fuzz::TMutator mutator(20261208);
    int refused = 0;
    for (int i = 0; i < 100000; ++i) {
        const std::string bytes = mutator.Mutate(seeds[std::size_t(i) % seeds.size()]);
        std::string error;
        const auto status = tablestatus::ReadStatus(bytes, &error);
        if (!status) {
            ++refused;
            EXPECT_FALSE(error.empty());
        } else {
            for (const tablestatus::TSetting& setting : *status)
                EXPECT_FALSE(tablestatus::Describe(setting).empty());
        }
    }
    // Most damage is noticed; a changed value inside a string is not damage.
    EXPECT_GT(refused, 50000);
}

// Loading a damaged file changes nothing; loading one that reads whole
// applies it without harm.
TEST(TableStatusFuzz, MutatedFilesApplyWholeOrNotAtAll)
{
    const std::vector<std::string> seeds = Seeds();
    fuzz::TMutator mutator(7);
    QTemporaryDir dir;
    const fs::path file = fs::path(dir.path().toStdString()) / "Status.Dat";
    auto table = MakeTable(320, 240, false);
    for (int i = 0; i < 400; ++i) {
        const std::string bytes = mutator.Mutate(seeds[std::size_t(i) % seeds.size()]);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        const std::string before = tablestatus::WriteStatus(*table);
        std::string error;
        if (!table->LoadStatus(dir.path().toStdString(), &error)) {
            EXPECT_EQ(tablestatus::WriteStatus(*table), before) << "case " << i;
        }
        EXPECT_FALSE(table->SurfaceImage().isNull());
    }
}

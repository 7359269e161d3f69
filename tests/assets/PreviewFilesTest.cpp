#include "support/TestPaths.h"

#include "cardtable/ImageIO.h"
#include "catalogue/GameDefinitions.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PreviewFiles, EveryGameNumberHasAPreviewOfTheGameDealt)
{
    std::set<int> numbers;
    for (const TGameDefinition& game : GameDefinitions())
        numbers.insert(game.GameNumber);
    for (const int number : numbers) {
        const fs::path file = testpaths::ProgramDir() / "GameImages" / (std::to_string(number) + ".jpg");
        const std::optional<QImage> preview = ReadJpegFile(file, jpBestSpeed);
        ASSERT_TRUE(preview) << file;
        EXPECT_EQ(preview->size(), QSize(400, 300)) << file;
        // A dealt table is more than bare cloth (some games deal face down).
        const QRgb cloth = preview->pixel(preview->width() - 1, preview->height() - 1);
        int other = 0;
        for (int y = 0; y < preview->height(); y += 2)
            for (int x = 0; x < preview->width(); x += 2) {
                const QRgb pixel = preview->pixel(x, y);
                if (std::abs(qRed(pixel) - qRed(cloth)) + std::abs(qGreen(pixel) - qGreen(cloth))
                        + std::abs(qBlue(pixel) - qBlue(cloth))
                    > 60)
                    ++other;
            }
        EXPECT_GT(other, 1000) << file << " shows no card";
    }
}

TEST(PreviewFiles, TheTitleStripHoldsTwoFramesAndTheBackgroundIsThere)
{
    const std::optional<QImage> strip = ReadJpegFile(testpaths::ProgramDir() / "qx3.jpg", jpBestQuality);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->size(), QSize(2 * 402, 144));
    // Two looks: the frames differ.
    EXPECT_NE(strip->copy(0, 0, 402, 144), strip->copy(402, 0, 402, 144));
    const std::optional<QImage> backdrop = ReadJpegFile(testpaths::ProgramDir() / "backdrop.jpg", jpBestQuality);
    ASSERT_TRUE(backdrop);
    EXPECT_GE(backdrop->width(), 640);
}

TEST(PreviewFiles, ASecondRunWritesTheSameBytes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const fs::path out = folder.path().toStdString();
    fs::create_directory_symlink(testpaths::ProgramDir() / "Cardsets", out / "Cardsets");
    QProcess process;
    process.start(QStringLiteral(TESSALYN_GENPREVIEWS), {folder.path()});
    ASSERT_TRUE(process.waitForFinished(120000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    for (const char* name : {"qx3.jpg", "backdrop.jpg", "GameImages/1.jpg", "GameImages/24.jpg"})
        EXPECT_EQ(Bytes(out / name), Bytes(testpaths::ProgramDir() / name)) << name;
}

TEST(PreviewFiles, AFolderWithoutCardsIsReportedNotPassedOffAsSuccess)
{
    QTemporaryDir folder;
    QProcess process;
    process.start(QStringLiteral(TESSALYN_GENPREVIEWS), {folder.path()});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_NE(process.exitCode(), 0);
}

} // namespace

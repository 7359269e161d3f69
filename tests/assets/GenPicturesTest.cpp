// The generated pictures: the table's textures and the win show's strip.
#include "support/TestPaths.h"

#include "cardtable/ImageIO.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Mean absolute difference of two pixel columns (or rows) of a picture.
double ColumnDifference(const QImage& image, int a, int b)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb p = image.pixel(a, y), q = image.pixel(b, y);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / image.height();
}

double RowDifference(const QImage& image, int a, int b)
{
    return ColumnDifference(image.transformed(QTransform().rotate(90)), a, b);
}

} // namespace

// Across the seam a tiled texture changes no more than between any two
// neighbouring columns inside it.
TEST(GeneratedPictures, TexturesAreJpegsThatTileWithoutSeams)
{
    const fs::path folder = testpaths::ProgramDir() / "Textures";
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        ASSERT_TRUE(IsJpegName(entry.path())) << entry.path();
        std::string error;
        const auto image = ReadJpegFile(entry.path(), jpBestQuality, &error);
        ASSERT_TRUE(image) << error;
        ++count;
        const int w = image->width(), h = image->height();
        double inside = 0;
        for (int x = 1; x < w; ++x)
            inside += ColumnDifference(*image, x - 1, x);
        inside /= (w - 1);
        EXPECT_LE(ColumnDifference(*image, w - 1, 0), 2.5 * inside + 3) << entry.path();
        double insideRows = 0;
        for (int y = 1; y < h; y += 8)
            insideRows += RowDifference(*image, y - 1, y);
        insideRows /= ((h - 2) / 8 + 1);
        EXPECT_LE(RowDifference(*image, h - 1, 0), 2.5 * insideRows + 3) << entry.path();
    }
    EXPECT_GE(count, 8);
}

TEST(GeneratedPictures, WinStripHoldsEightDistinctFrames)
{
    std::string error;
    const auto strip = ReadJpegFile(testpaths::ProgramDir() / "Big.jpg", jpBestQuality, &error);
    ASSERT_TRUE(strip) << error;
    ASSERT_EQ(strip->size(), QSize(2560, 480));
    std::vector<QImage> frames;
    for (int i = 0; i < 8; ++i)
        frames.push_back(strip->copy(i * 320, 0, 320, 480).scaled(16, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    for (std::size_t i = 0; i < frames.size(); ++i)
        for (std::size_t j = i + 1; j < frames.size(); ++j) {
            double difference = 0;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 16; ++x)
                    difference += std::abs(qGray(frames[i].pixel(x, y)) - qGray(frames[j].pixel(x, y)));
            EXPECT_GT(difference / (16 * 24), 12.0) << "frames " << i << " and " << j;
        }
}

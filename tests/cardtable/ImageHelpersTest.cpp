#include <cmath>
#include <numbers>
#include <string>

#include <QTemporaryDir>
#include <QBuffer>

#include <gtest/gtest.h>

#include "cardtable/ImageArrayUnit.h"
#include "cardtable/ImageIO.h"
#include "platform/FilePath.h"

namespace {

namespace fs = std::filesystem;

// Every pixel distinct, so a mapping that is off by one shows.
QImage Numbered(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 3, y * 2, (x + y) % 256));
    return image;
}

TEST(ImageArrayRender, UprightAtScaleOneIsAnIdenticalCopy)
{
    const QImage source = Numbered(71, 96);
    QImage target;
    const QPoint centre = TImageArray(source).Render(target, QPoint(35, 48), false, false, 1.0, 0.0);
    EXPECT_EQ(target, source);
    EXPECT_EQ(centre, QPoint(35, 48));
}

TEST(ImageArrayRender, QuarterTurnSwapsTheSidesAndMapsEveryPixel)
{
    const QImage source = Numbered(71, 96);
    QImage target;
    const QPoint centre = TImageArray(source).Render(target, QPoint(35, 48), false, false, 1.0, std::numbers::pi / 2);
    ASSERT_EQ(target.size(), QSize(96, 71));
    EXPECT_EQ(centre, QPoint(48, 35));
    // A quarter turn is exact: target (x, y) shows source (W - 1 - y, x).
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            ASSERT_EQ(target.pixel(x, y), source.pixel(70 - y, x)) << x << "," << y;
}

TEST(ImageArrayRender, SizesFollowScaleAndAngle)
{
    const QImage source = Numbered(71, 96);
    const TImageArray array(source);
    QImage target;
    array.Render(target, QPoint(35, 48), false, false, 0.599, 0.0);
    EXPECT_EQ(target.size(), QSize(43, 58));
    EXPECT_EQ(target.pixel(42, 57), source.pixel(70, 95));
    array.Render(target, QPoint(35, 48), false, false, 2.0, 0.0);
    EXPECT_EQ(target.size(), QSize(142, 192));
    EXPECT_EQ(target.pixel(3, 5), source.pixel(1, 2));
    array.Render(target, QPoint(35, 48), false, true, 1.0, 0.0);  // mirrored
    EXPECT_EQ(target.pixel(0, 7), source.pixel(70, 7));
    array.Render(target, QPoint(35, 48), false, false, 1.0, 0.5);
    EXPECT_EQ(target.width(), int(std::nearbyint(96 * std::sin(0.5))) + int(std::nearbyint(71 * std::cos(0.5))));
    EXPECT_EQ(target.height(), int(std::nearbyint(71 * std::sin(0.5))) + int(std::nearbyint(96 * std::cos(0.5))));
}

TEST(ImageArrayRender, CornersOutsideTheTurnedCardTakeTheFillColour)
{
    QImage source = Numbered(40, 60);
    source.setPixel(0, 59, qRgb(1, 2, 3));  // bottom-left: the transparent key
    const TImageArray array(source);
    QImage target;
    array.Render(target, QPoint(20, 30), false, false, 1.0, 0.4);
    EXPECT_EQ(target.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(target.width() - 1, target.height() - 1), qRgb(1, 2, 3));
    array.Render(target, QPoint(20, 30), true, false, 1.0, 0.4);
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255));
}

// The turned mapping written out pixel by pixel in its plainest form: each
// target pixel centre turned back into the source, rounded half to even.
QImage PlainlyTurned(const QImage& source, double scale, double angle, bool mirror, QRgb fill, QSize size)
{
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    QImage result(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int k = 2 * x - (size.width() - 1);
            const int l = 2 * y - size.height() + 1;
            int column = (source.width() + int(std::nearbyint((c * k - s * l) / scale)) - 1) / 2;
            const int row = (source.height() + int(std::nearbyint((s * k + c * l) / scale)) - 1) / 2;
            if (mirror)
                column = source.width() - column - 1;
            const bool inside = column >= 0 && column < source.width() && row >= 0 && row < source.height();
            result.setPixel(x, y, inside ? source.pixel(column, row) : fill);
        }
    return result;
}

TEST(ImageArrayRender, TurnedPicturesMatchThePlainMappingAtEveryAngleScaleAndMirror)
{
    // Odd and even sides, the clock face's twelfth turns, a half turn and
    // angles whose products land on rounding ties.
    const QImage source = Numbered(71, 96);
    const QImage small = Numbered(40, 61);
    const TImageArray array(source);
    const TImageArray smallArray(small);
    const double angles[] = {std::numbers::pi / 6, -std::numbers::pi / 3, 2 * std::numbers::pi / 3,
                             std::numbers::pi, -5 * std::numbers::pi / 6, 0.25, 1e-9, 3.0};
    for (const double angle : angles)
        for (const double scale : {1.0, 0.5, 1.25})
            for (const bool mirror : {false, true}) {
                QImage target;
                array.Render(target, QPoint(35, 48), false, mirror, scale, angle);
                EXPECT_EQ(target, PlainlyTurned(source, scale, angle, mirror, array.BottomLeft(), target.size()))
                    << angle << " " << scale << " " << mirror;
                smallArray.Render(target, QPoint(20, 30), true, mirror, scale, angle);
                EXPECT_EQ(target, PlainlyTurned(small, scale, angle, mirror, 0xFFFFFFFFu, target.size()))
                    << angle << " " << scale << " " << mirror;
            }
}

TEST(BitmapFiles, RoundTripAs24BitAndRefuseDamage)
{
    QTemporaryDir dir;
    const fs::path file = fs::path(dir.path().toStdString()) / "Picture.bmp";
    const QImage picture = Numbered(13, 7);  // odd width: rows are padded
    ASSERT_TRUE(WriteBitmapFile(picture, file));
    const auto bytes = platform::ReadWholeFile(file);
    ASSERT_TRUE(bytes);
    EXPECT_EQ((*bytes)[28], 24);  // bits per pixel
    const auto back = ReadBitmapFile(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, picture);

    std::string error;
    EXPECT_FALSE(DecodeBitmap(bytes->substr(0, bytes->size() - 10), &error));
    EXPECT_NE(error.find("truncated"), std::string::npos);
    EXPECT_FALSE(DecodeBitmap(bytes->substr(0, 20), &error));
    EXPECT_FALSE(DecodeBitmap("GIF89a and then some more bytes to pass the length", &error));
    EXPECT_NE(error.find("not a BMP"), std::string::npos);
    EXPECT_FALSE(ReadBitmapFile(file.parent_path() / "missing.bmp", &error));
    EXPECT_NE(error.find("missing.bmp"), std::string::npos);
}

int LargestDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

TEST(JpegCodec, BothDecodersReadWhatTheEncoderWrote)
{
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 5, 128));
    const auto bytes = EncodeJpeg(picture, 95);
    ASSERT_TRUE(bytes);
    for (TJpegPerformance performance : {jpBestQuality, jpBestSpeed}) {
        const auto decoded = DecodeJpeg(*bytes, performance);
        ASSERT_TRUE(decoded);
        ASSERT_EQ(decoded->size(), picture.size());
        EXPECT_LT(LargestDifference(*decoded, picture), 24);
    }
}

// A small file whose header declares 65500 x 65500 pixels is refused before
// anything is allocated for it; so is a bitmap, and a card picture beyond
// the card limit.
TEST(PictureLimits, DeclaredSizesBeyondTheLimitAreRefusedBeforeDecoding)
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(200, 10, 30));
    std::string bytes = *EncodeJpeg(picture);
    const std::size_t sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    for (const std::size_t at : {sof + 5, sof + 7}) {
        bytes[at] = char(0xFF);
        bytes[at + 1] = char(0xDC);
    }
    std::string error;
    EXPECT_FALSE(DecodeJpeg(bytes, jpBestQuality, &error));
    EXPECT_NE(error.find("65500 x 65500 pixels"), std::string::npos) << error;

    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImage(1001, 2, QImage::Format_RGB32).save(&buffer, "BMP"));
    const std::string bitmap(bmp.constData(), std::size_t(bmp.size()));
    EXPECT_TRUE(DecodeBitmap(bitmap));
    EXPECT_FALSE(DecodeBitmap(bitmap, &error, CardPicture));
    EXPECT_NE(error.find("1001 x 2 pixels"), std::string::npos) << error;
    EXPECT_FALSE(PictureSizeProblem(16384, 2000, AnyPicture));
    EXPECT_TRUE(PictureSizeProblem(16385, 1, AnyPicture));
    EXPECT_TRUE(PictureSizeProblem(10000, 10000, AnyPicture));
}

TEST(JpegCodec, DamagedDataFailsWithoutCrashing)
{
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const auto bytes = EncodeJpeg(picture);
    ASSERT_TRUE(bytes);
    std::string error;
    EXPECT_FALSE(DecodeJpeg("definitely not a jpeg", jpBestQuality, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(DecodeJpeg("", jpBestSpeed, &error));
    // A stream cut off inside its rows is refused, not shown with grey rows.
    QImage rows(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            rows.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    const std::string whole = *EncodeJpeg(rows);
    ASSERT_TRUE(DecodeJpeg(whole, jpBestQuality));
    EXPECT_FALSE(DecodeJpeg(whole.substr(0, whole.size() - whole.size() / 4), jpBestQuality, &error));
    EXPECT_EQ(error, "the file is truncated");
    EXPECT_TRUE(IsJpegName("a/B.JPG"));
    EXPECT_FALSE(IsJpegName("a/B.bmp"));
}

} // namespace

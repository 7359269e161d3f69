#include <random>

#include <QImage>
#include <gtest/gtest.h>

#include "cardtable/CardTableBlit.h"

namespace {

using tableblit::TRop;

QImage Noise(int width, int height, std::uint32_t seed, QImage::Format format = QImage::Format_ARGB32)
{
    std::mt19937 random(seed);
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random());
    return image;
}

// Noise where about half the pixels carry the key colour (any alpha).
QImage Keyed(int width, int height, QRgb key)
{
    QImage image = Noise(width, height, 7);
    for (int y = 0; y < height; ++y)
        for (int x = (y % 2); x < width; x += 2)
            image.setPixel(x, y, (key & 0x00FFFFFFu) | (QRgb(x * 40) << 24));
    return image;
}

// The stored value, alpha bits and all (pixel() hides them for RGB32).
QRgb Raw(const QImage& image, QPoint at)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(at.y()))[at.x()];
}

QRgb Combined(QRgb d, QRgb s, TRop op, QRgb key)
{
    switch (op) {
    case TRop::Copy: return s;
    case TRop::And: return d & s;
    case TRop::Or: return d | s;
    case TRop::Transparent: return (s & 0x00FFFFFFu) != (key & 0x00FFFFFFu) ? s | 0xFF000000u : d;
    }
    return d;
}

// Every operation, on widths that leave every remainder of a four-pixel
// step and at places that clip on each side, against the rule per pixel.
TEST(TableBlit, EveryOperationMatchesItsRuleOnEveryWidthAndClip)
{
    const QRgb key = 0xFF123456u;
    const QImage table = Noise(23, 17, 1);
    for (int width = 1; width <= 13; ++width)
        for (const TRop op : {TRop::Copy, TRop::And, TRop::Or, TRop::Transparent})
            for (const QPoint at : {QPoint(0, 0), QPoint(3, 2), QPoint(-2, 5), QPoint(18, -3)}) {
                const QImage source = op == TRop::Transparent ? Keyed(width, 9, key) : Noise(width, 9, 2 + width);
                QImage target = table.copy();
                tableblit::Blit(target, at, source, op, key);
                for (int y = 0; y < table.height(); ++y)
                    for (int x = 0; x < table.width(); ++x) {
                        const QPoint inSource = QPoint(x, y) - at;
                        const QRgb expected = source.rect().contains(inSource)
                            ? Combined(Raw(table, {x, y}), Raw(source, inSource), op, key)
                            : Raw(table, {x, y});
                        ASSERT_EQ(Raw(target, {x, y}), expected)
                            << "op " << int(op) << " width " << width << " at " << at.x() << "," << at.y()
                            << " pixel " << x << "," << y;
                    }
            }
}

TEST(TableBlit, MaskedCopyKeepsTheTableWhereTheMaskIsWhite)
{
    const QImage table = Noise(21, 15, 3);
    for (int width = 1; width <= 11; ++width) {
        const QImage picture = Noise(width, 10, 4 + width);
        QImage mask = Noise(width, 10, 40 + width);
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < width; ++x)
                if ((x + y) % 3 == 0)
                    mask.setPixel(x, y, 0xFFFFFFFFu);
                else if ((x + y) % 3 == 1)
                    mask.setPixel(x, y, 0xFF000000u);
        QImage target = table.copy();
        const QPoint at(width % 4 - 2, 7);
        tableblit::MaskedCopy(target, at, picture, mask);
        for (int y = 0; y < table.height(); ++y)
            for (int x = 0; x < table.width(); ++x) {
                const QPoint inPicture = QPoint(x, y) - at;
                QRgb expected = Raw(table, {x, y});
                if (picture.rect().contains(inPicture)) {
                    const QRgb keep = Raw(mask, inPicture);
                    expected = (expected & keep) | (Raw(picture, inPicture) & ~keep & 0x00FFFFFFu);
                }
                ASSERT_EQ(Raw(target, {x, y}), expected) << "width " << width << " pixel " << x << "," << y;
            }
    }
}

TEST(TableBlit, OnePassCardDrawEqualsMaskThenPicture)
{
    const QImage table = Noise(19, 14, 5);
    for (int width = 1; width <= 10; ++width)
        for (const QPoint at : {QPoint(2, 1), QPoint(-3, 6), QPoint(15, -2)}) {
            const QImage mask = Noise(width, 8, 50 + width);
            const QImage picture = Noise(width, 8, 60 + width);
            const QImage larger = Noise(width + 1, 8, 70 + width);
            for (const QImage* drawn : {&picture, &larger}) {
                QImage expected = table.copy();
                tableblit::Blit(expected, at, mask, TRop::And);
                tableblit::Blit(expected, at, *drawn, TRop::Or);
                QImage target = table.copy();
                tableblit::MaskThenOr(target, at, mask, *drawn);
                ASSERT_EQ(target, expected) << "width " << width << " at " << at.x() << "," << at.y();
            }
        }
}

} // namespace

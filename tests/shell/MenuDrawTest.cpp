#include "shell/Icons.h"
#include "shell/MenuDraw.h"

#include <QApplication>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr int Width = 160;
constexpr int Height = TMenuStyle::ItemHeight;

QImage Draw(const TMenuItemLook& look, int height = Height)
{
    QImage image(Width, height, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    BaseMenuDraw(painter, QRect(0, 0, Width, height), look, StripPattern(), QApplication::font());
    painter.end();
    return image;
}

// Pixels of `colour` in the rectangle.
int Count(const QImage& image, const QRect& area, QColor colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
    return n;
}

// Pixels of text drawn in near black (the caption is smoothed at its edges).
int CountDark(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qGray(image.pixel(x, y)) < 90 ? 1 : 0;
    return n;
}

// Pixels between light grey and silver: what a silver caption leaves on white.
int CountSilvery(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int g = qGray(image.pixel(x, y));
            n += (g >= 185 && g <= 235) ? 1 : 0;
        }
    return n;
}

TEST(MenuDraw, WindowsColourValuesAreReadBlueGreenRed)
{
    EXPECT_EQ(FromColorRef(15780518), QColor(166, 202, 240));
    EXPECT_EQ(FromColorRef(10198015), QColor(255, 155, 155));
    EXPECT_EQ(FromColorRef(12632256), QColor(192, 192, 192));
}

TEST(MenuDraw, PlainItemHasPatternStripWhiteBodyAndBlackCaption)
{
    TMenuItemLook look;
    look.Caption = QStringLiteral("New Game");
    const QImage image = Draw(look);
    const QImage tile = StripPattern();
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < TMenuStyle::StripWidth; ++x)
            ASSERT_EQ(image.pixel(x, y), tile.pixel(x % 8, y % 8)) << x << "," << y;
    EXPECT_EQ(image.pixelColor(Width - 1, 0), QColor(Qt::white));
    EXPECT_GT(CountDark(image, QRect(30, 0, Width - 30, Height)), 10);
    EXPECT_EQ(Count(image, image.rect(), Qt::magenta), 0) << "the whole rectangle is painted";
}

TEST(MenuDraw, SelectionIsAGradientFramedInBlack)
{
    TMenuItemLook look;
    look.Caption = QStringLiteral("Undo");
    look.Selected = true;
    const QImage image = Draw(look);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(Width - 1, Height - 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(Width / 2, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 155, 155)) << "the bar starts at its warm end";
    const QColor far = image.pixelColor(Width - 2, Height - 2);
    EXPECT_GT(far.green(), 240) << "and fades towards white";

    // A disabled item never shows the bar.
    look.Enabled = false;
    const QImage disabled = Draw(look);
    EXPECT_NE(disabled.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_GT(CountSilvery(disabled, QRect(30, 0, Width - 30, Height)), 10);
    EXPECT_EQ(CountDark(disabled, QRect(30, 0, Width - 30, Height)), 0);
}

TEST(MenuDraw, SeparatorIsOneBlueLineNeverText)
{
    TMenuItemLook look;
    look.Caption = QStringLiteral("-");
    look.Separator = true;
    const int height = TMenuStyle::SeparatorHeight;
    const QImage image = Draw(look, height);
    const int lineY = height - 4;
    const QColor blue(166, 202, 240);
    EXPECT_EQ(Count(image, QRect(30, lineY, Width - 30, 1), blue), Width - 30);
    EXPECT_EQ(Count(image, QRect(28, 0, Width - 28, height), blue), Width - 30);
    EXPECT_EQ(Count(image, QRect(28, 0, Width - 28, height), Qt::black), 0);
}

TEST(MenuDraw, CheckedItemWithoutPictureShowsTheCheckMark)
{
    TMenuItemLook look;
    look.Caption = QStringLiteral("Normal");
    const QRect imageArea(5, 2, ToolImageSize, ToolImageSize);
    const QImage unchecked = Draw(look);
    look.Checked = true;
    const QImage checked = Draw(look);
    EXPECT_NE(checked.copy(imageArea), unchecked.copy(imageArea));

    // A picture of its own wins over the check mark.
    look.Image = ToolImage(TToolImage::Undo);
    const QImage withImage = Draw(look);
    EXPECT_NE(withImage.copy(imageArea), checked.copy(imageArea));
}

TEST(MenuDraw, CaptionLosesItsFirstMnemonicMarkOnly)
{
    TMenuItemLook plain;
    plain.Caption = QStringLiteral("Scoring & Statistics");
    TMenuItemLook marked;
    marked.Caption = QStringLiteral("Scoring && Statistics");
    EXPECT_EQ(Draw(plain).copy(28, 0, Width - 28, Height) == Draw(marked).copy(28, 0, Width - 28, Height),
              false)
        << "a doubled mark shows one ampersand, a single one vanishes";
    TMenuItemLook accelerator;
    accelerator.Caption = QStringLiteral("&Undo");
    TMenuItemLook bare;
    bare.Caption = QStringLiteral("Undo");
    EXPECT_EQ(Draw(accelerator), Draw(bare));
}

TEST(Icons, EveryToolImageIsDrawnAndDistinct)
{
    std::vector<QImage> images;
    for (int i = 0; i < ToolImageCount; ++i) {
        const QImage image = ToolImage(static_cast<TToolImage>(i));
        ASSERT_EQ(image.size(), QSize(ToolImageSize, ToolImageSize));
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        EXPECT_GT(opaque, 12) << "image " << i;
        for (std::size_t j = 0; j < images.size(); ++j)
            EXPECT_NE(image, images[j]) << i << " and " << j;
        images.push_back(image);
    }
    EXPECT_FALSE(ApplicationImage(256).isNull());
    EXPECT_EQ(ApplicationImage(256).size(), QSize(256, 256));
}

} // namespace

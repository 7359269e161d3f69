#include <gtest/gtest.h>

#include "cardtable/MyGrphx.h"

namespace {

QImage Filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(Darken, HardShadowModesAndTints)
{
    const QRgb colour = qRgb(255, 200, 100);
    QImage image = Filled(30, 10, colour);
    Darken(image, false, false, 7);
    EXPECT_EQ(image.pixel(3, 3), colour);

    Darken(image, false, false, 0);  // level 20: 175/255, rounded
    EXPECT_EQ(image.pixel(29, 9), qRgb(175, 137, 69));

    image = Filled(30, 10, colour);
    Darken(image, true, false, 1);  // red tint: green and blue at level 60, soft ignored
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 169, 84));
    image = Filled(30, 10, colour);
    Darken(image, false, false, 6);  // cyan: red only
    EXPECT_EQ(image.pixel(5, 5), qRgb(215, 200, 100));
}

TEST(Darken, SoftShadowsFadeTowardsTheFarEdges)
{
    const QRgb white = qRgb(255, 255, 255);
    QImage bottom = Filled(200, 10, white);
    Darken(bottom, true, false, 0);
    EXPECT_EQ(qRed(bottom.pixel(0, 0)), 165);                     // row 1 of 10: level 10
    EXPECT_EQ(DarkenValue(255, 0), 155);
    EXPECT_EQ(qRed(bottom.pixel(0, 9)), 255);                     // last row: level 100
    EXPECT_EQ(qRed(bottom.pixel(199, 0)), 255);                   // far end of the ramp
    EXPECT_EQ(qRed(bottom.pixel(129, 0)), DarkenValue(255, 50));  // column 130: 130 - 80

    QImage right = Filled(10, 200, white);
    Darken(right, true, true, 0);
    EXPECT_EQ(qRed(right.pixel(0, 0)), DarkenValue(255, 10));
    EXPECT_EQ(qRed(right.pixel(9, 0)), 255);
    EXPECT_EQ(qRed(right.pixel(0, 199)), 255);
    EXPECT_EQ(qRed(right.pixel(0, 149)), DarkenValue(255, 50));
}

TEST(RadialBlend, FullAtTheCentreNothingAtTheRim)
{
    const TDistanceTable table = DistanceTable(10);
    EXPECT_EQ(table.At(3, 4), 5);
    EXPECT_EQ(table.At(-10, 0), 10);
    EXPECT_EQ(table.At(0, 0), 0);

    QImage image = Filled(40, 40, qRgb(0, 0, 0));
    RadialBlend(20, 20, image, table, 100, QColor(200, 100, 50));
    EXPECT_EQ(image.pixel(20, 20), qRgb(200, 100, 50));
    EXPECT_EQ(image.pixel(30, 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(25, 20), qRgb(100, 50, 25));
    EXPECT_EQ(image.pixel(29, 29), qRgb(0, 0, 0));  // outside the disc

    // Discs reaching past the picture's edges are clipped, not written outside.
    RadialBlend(0, 39, image, table, 50, QColor(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 39), qRgb(127, 127, 127));
}

} // namespace

#include <gtest/gtest.h>

#include "cardtable/Backdrop.h"

namespace {

QImage Surface(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return image;
}

TEST(BackdropBands, RedOnlyRunsFromBlackToPureRed)
{
    TBackdrop backdrop;
    backdrop.SetEnabled(true);
    backdrop.SetChangeGColour(false);
    backdrop.SetChangeBColour(false);
    for (TFillDirection direction : {drLeftRight, drRightLeft}) {
        backdrop.SetDirection(direction);
        QImage image = Surface(600, 40);
        backdrop.Paint(image);
        const QRgb left = image.pixel(0, 20), right = image.pixel(599, 39);
        EXPECT_EQ(direction == drLeftRight ? left : right, qRgb(0, 0, 0));
        EXPECT_EQ(direction == drLeftRight ? right : left, qRgb(255, 0, 0));
    }
    backdrop.SetDirection(drDownUp);
    backdrop.SetStartB(77);
    QImage image = Surface(30, 300);
    backdrop.Paint(image);
    EXPECT_EQ(image.pixel(15, 0), qRgb(255, 0, 77));
    // Bands are two rows thick here and later ones overwrite: band 1 covers
    // the last row that band 0 started on.
    EXPECT_EQ(image.pixel(15, 299), qRgb(1, 0, 77));
}

TEST(BackdropTwoColour, EndColoursAndSolidFill)
{
    TBackdrop backdrop;
    backdrop.SetEnabled(true);
    backdrop.SetNewMode(true);
    backdrop.SetNewColorFrom(QColor(0, 0, 0));
    backdrop.SetNewColorTo(QColor(200, 100, 0));
    QImage image = Surface(100, 50);
    backdrop.Paint(image);
    EXPECT_EQ(image.pixel(0, 49), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(99, 0), qRgb(198, 99, 0));  // F + 99 * d / 100
    EXPECT_EQ(image.pixel(50, 10), qRgb(100, 50, 0));

    backdrop.SetNewType(gsVertical);
    backdrop.Paint(image);
    EXPECT_EQ(image.pixel(99, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 49), qRgb(196, 98, 0));

    backdrop.SetNewType(gsDiagonalRightLeft);
    backdrop.Paint(image);
    EXPECT_EQ(image.pixel(99, 0), qRgb(0, 0, 0));
    EXPECT_GT(qRed(image.pixel(0, 49)), 190);

    backdrop.SetNewColorTo(QColor(0, 0, 0));
    backdrop.Paint(image);
    EXPECT_EQ(image.pixel(70, 30), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(BackdropNotification, OnlySettingsOfTheCurrentModeAndOnlyRealChanges)
{
    TBackdrop backdrop;
    int calls = 0;
    backdrop.RefreshEvent = [&] { ++calls; };
    backdrop.SetStartR(10);
    EXPECT_EQ(calls, 1);
    backdrop.SetStartR(10);
    backdrop.SetNewColorTo(Qt::red);  // two-colour setting while in band mode
    backdrop.SetEnabled(false);       // unchanged
    EXPECT_EQ(calls, 1);
    backdrop.SetEnabled(true);
    backdrop.SetEnabled(false);  // only becoming enabled notifies
    EXPECT_EQ(calls, 2);
    backdrop.SetNewMode(true);
    backdrop.SetDirection(drUpDown);  // band setting while in two-colour mode
    EXPECT_EQ(calls, 3);
    backdrop.SetNewType(gsVertical);
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(backdrop.Direction(), drUpDown);
}

} // namespace

#include "shell/Starfield.h"

#include "cardtable/Random.h"

#include <gtest/gtest.h>

namespace {

// The values below were worked out by hand from the generator's step
// (seed * 134775813 + 1, Random(n) = high half of seed * n) for seed 7 on a
// 640 x 480 area: cx 320, cy 240, radius (320 + 240) div 2 = 280.
struct TStarfieldFixture : testing::Test {
    TStarfield Field;
    QImage Surface{640, 480, QImage::Format_RGB32};

    void SetUp() override
    {
        SetRandSeed(7);
        Field.Initialise(640, 480);
        Surface.fill(Qt::black);
    }

    bool White(int x, int y) const { return Surface.pixel(x, y) == qRgb(255, 255, 255); }
};

TEST_F(TStarfieldFixture, InitialisePlacesStarsFromTheGenerator)
{
    EXPECT_EQ(Field.CentreX(), 320);
    EXPECT_EQ(Field.CentreY(), 240);
    EXPECT_EQ(Field.Radius(), 280);
    const auto& stars = Field.Stars();
    EXPECT_EQ(stars[0].X, -92160);
    EXPECT_EQ(stars[0].Y, 82944);
    EXPECT_EQ(stars[85].X, 17408);
    EXPECT_EQ(stars[85].Y, 5120);
    for (int i = 0; i < TStarfield::StarCount; ++i) {
        EXPECT_EQ(stars[std::size_t(i)].Z, i + 1);
        EXPECT_EQ(stars[std::size_t(i)].LastLeft, -1);
        EXPECT_EQ(stars[std::size_t(i)].LastSize, 0);
    }
}

TEST_F(TStarfieldFixture, AFrameDrawsEachStarAtItsFixedPointPlace)
{
    Field.NormalFrame(Surface);
    // Star 85, depth 86: size 280 div 86 = 3; left 17408 div 86 + 320 - 3 = 519;
    // top 5120 div 86 + 240 - 3 = 296.
    const auto& star = Field.Stars()[85];
    EXPECT_EQ(star.LastSize, 3);
    EXPECT_EQ(star.LastLeft, 519);
    EXPECT_EQ(star.LastTop, 296);
    EXPECT_EQ(star.Z, 85);
    EXPECT_TRUE(White(519, 296));
    EXPECT_TRUE(White(521, 298));
    // Star 95 truncates toward zero: -6656 div 96 is -69, not -70.
    EXPECT_EQ(Field.Stars()[95].LastLeft, 249);
    EXPECT_EQ(Field.Stars()[95].LastTop, 153);
}

TEST_F(TStarfieldFixture, AStarPassingTheViewerIsBornAgainFarAway)
{
    Field.NormalFrame(Surface);
    // Star 0 had depth 1; the generator's next two numbers place it again,
    // now scaled by 128.
    const auto& star = Field.Stars()[0];
    EXPECT_EQ(star.Z, 500);
    EXPECT_EQ(star.X, 2304);
    EXPECT_EQ(star.Y, 14208);
}

TEST_F(TStarfieldFixture, NormalFramesEraseAndWhiteoutFramesLeaveTrails)
{
    TStarfield trails = Field;
    QImage trailSurface = Surface;
    Field.NormalFrame(Surface);
    trails.WhiteoutFrame(trailSurface);
    EXPECT_EQ(Surface, trailSurface);

    // Star 85 moves to (521, 297): its old corner is black again only when erased.
    Field.NormalFrame(Surface);
    trails.WhiteoutFrame(trailSurface);
    EXPECT_EQ(Field.Stars()[85].LastLeft, 521);
    EXPECT_EQ(Field.Stars()[85].LastTop, 297);
    EXPECT_EQ(Surface.pixel(519, 296), qRgb(0, 0, 0));
    EXPECT_EQ(trailSurface.pixel(519, 296), qRgb(255, 255, 255));
}

TEST(Starfield, AnAreaWithoutSizeDrawsNothing)
{
    TStarfield field;
    QImage surface(1, 1, QImage::Format_RGB32);
    surface.fill(Qt::black);
    field.Initialise(1, 1); // cx and cy are 0
    field.NormalFrame(surface);
    EXPECT_TRUE(field.Changed().empty());
    EXPECT_EQ(surface.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(Starfield, ChangedCoversEveryPixelTheFrameTouched)
{
    SetRandSeed(3);
    TStarfield field;
    field.Initialise(320, 200);
    QImage surface(320, 200, QImage::Format_RGB32);
    surface.fill(Qt::black);
    for (int frame = 0; frame < 40; ++frame) {
        const QImage before = surface.copy();
        field.NormalFrame(surface);
        QRegion changed;
        for (const QRect& rect : field.Changed())
            changed += rect;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x)
                if (before.pixel(x, y) != surface.pixel(x, y)) {
                    ASSERT_TRUE(changed.contains(QPoint(x, y))) << frame << ": " << x << "," << y;
                }
    }
}

} // namespace

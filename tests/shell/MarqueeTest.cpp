#include "shell/Marquee.h"

#include <gtest/gtest.h>

namespace {

struct TMarqueeFixture : testing::Test {
    TMarquee Marquee;
    int Done = 0;

    void SetUp() override
    {
        Marquee.resize(200, 40);
        Marquee.Items = {QStringLiteral("Tessalyn."), QString(), QStringLiteral("Goodbye.")};
        Marquee.OnDone = [this] { ++Done; };
    }

    int TicksToEnd()
    {
        int ticks = 0;
        while (Marquee.Active() && ticks < 100000) {
            Marquee.Tick();
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(TMarqueeFixture, WithoutLinesItStaysOff)
{
    Marquee.Items.clear();
    Marquee.SetActive(true);
    EXPECT_FALSE(Marquee.Active());
    Marquee.SetActive(false);
    EXPECT_EQ(Done, 0);
}

TEST_F(TMarqueeFixture, ARunScrollsOnePixelPerTickUntilTheLastLineHasLeft)
{
    Marquee.SetActive(true);
    ASSERT_TRUE(Marquee.Active());
    EXPECT_EQ(Marquee.Offset(), 0);
    Marquee.Tick();
    EXPECT_EQ(Marquee.Offset(), 1);
    // The run ends once the offset has passed the height plus all lines.
    const int lastOffset = 40 + 3 * Marquee.LineHeight();
    const int ticks = TicksToEnd();
    EXPECT_EQ(1 + ticks, lastOffset + 1);
    EXPECT_FALSE(Marquee.Active());
    EXPECT_EQ(Done, 1);
}

TEST_F(TMarqueeFixture, AnEndedRunStartsAgainFromTheTop)
{
    Marquee.SetActive(true);
    TicksToEnd();
    Marquee.SetActive(true);
    EXPECT_TRUE(Marquee.Active());
    EXPECT_EQ(Marquee.Offset(), 0);
    TicksToEnd();
    EXPECT_EQ(Done, 2);
}

TEST_F(TMarqueeFixture, ScrollingDownStartsAtTheEndAndStopsAtZero)
{
    Marquee.ScrollDown = true;
    Marquee.SetActive(true);
    EXPECT_EQ(Marquee.Offset(), 3 * Marquee.LineHeight() + 40);
    TicksToEnd();
    EXPECT_EQ(Marquee.Offset(), 0);
    EXPECT_EQ(Done, 1);
}

TEST(Marquee, SwitchingOffByTheProgramOrByDestructionRaisesOnDoneOnce)
{
    int done = 0;
    {
        TMarquee marquee;
        marquee.Items = {QStringLiteral("x")};
        marquee.OnDone = [&done] { ++done; };
        marquee.SetActive(true);
        marquee.SetActive(false);
        marquee.SetActive(false);
        EXPECT_EQ(done, 1);
        marquee.SetActive(true);
    }
    EXPECT_EQ(done, 2);
}

TEST(Marquee, TheLineHeightAddsFivePixelsToTheFontsCell)
{
    TMarquee marquee;
    QFont font = marquee.font();
    font.setPointSize(12);
    marquee.setFont(font);
    EXPECT_GE(marquee.LineHeight(), QFontMetrics(font).height() + 5);
}

} // namespace

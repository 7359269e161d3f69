#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPixmap>
#include <QRegion>

#include "TableTestSupport.h"
#include "support/TestPaths.h"

using namespace tabletest;

namespace {

double Luminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QRect Rect(const TCard* card) { return QRect(card->X, card->Y, card->Deck->CardWidth, card->Deck->CardHeight); }

QImage Shown(TCardTable& table) { return table.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The pixels of `rect` where the screen shows something else than the Surface.
std::vector<QPoint> Painted(TCardTable& table, const QRect& rect)
{
    const QImage shown = Shown(table);
    const QImage surface = table.SurfaceImage().convertToFormat(QImage::Format_RGB32);
    std::vector<QPoint> points;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (shown.valid(x, y) && shown.pixel(x, y) != surface.pixel(x, y))
                points.emplace_back(x, y);
    return points;
}

// Collects what the table repaints on the screen.
class TPaintWatch : public QObject {
public:
    QRegion Repainted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Repainted += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// The band takes the tone that stands out from the table (a contrast of at
// least 3 to 1, the least asked of a focus mark, on any table at all) and
// is edged with the other tone; the ring is drawn in the tones picked for
// what lies under it.
TEST(TableFocusRing, StandsOutOnDarkLightAndMiddlingTables)
{
    for (int grey = 0; grey <= 255; ++grey) {
        const QRgb table = qRgb(grey, grey, grey);
        const TRingTones tones = FocusRingTones(Luminance(table));
        EXPECT_GE(Contrast(tones.Band.rgb(), table), 3.0) << grey;
        EXPECT_GE(Contrast(tones.Band.rgb(), tones.Edge.rgb()), 7.0) << grey;
    }
    const QColor tables[] = {QColor(0, 100, 0), QColor(255, 214, 0),   QColor(250, 240, 120), QColor(255, 255, 255),
                             QColor(0, 0, 0),   QColor(118, 118, 118), QColor(20, 40, 120),   QColor(200, 60, 40)};
    for (const QColor& colour : tables) {
        SCOPED_TRACE(colour.name().toStdString());
        auto table = MakeTable(300, 300, false);
        table->SetColor(colour);
        TCard* card = Deal(*table, 100, 100);
        table->SetKeyFocus(card, {});
        const QRect ring = table->KeyFocusRing();
        const TRingTones tones = FocusRingTones(Luminance(colour.rgb()));
        EXPECT_GE(Contrast(tones.Band.rgb(), colour.rgb()), 3.0);
        // Across the middle of the top and of the left side: edge, band, edge.
        const QImage shown = Shown(*table);
        const QRgb edge = tones.Edge.rgb(), band = tones.Band.rgb();
        const std::vector<QRgb> across = {edge, band, band, band, edge};
        std::vector<QRgb> top, left;
        for (int i = 0; i < int(across.size()); ++i) {
            top.push_back(shown.pixel(ring.center().x(), ring.top() + i) | 0xFF000000);
            left.push_back(shown.pixel(ring.left() + i, ring.center().y()) | 0xFF000000);
        }
        EXPECT_EQ(top, across);
        EXPECT_EQ(left, across);
    }
}

// A card in a fan is ringed with the cards lying on it: no edge of the ring
// runs across them.
TEST(TableFocusRing, GoesAroundTheCardsLyingOnAFannedCard)
{
    auto table = MakeTable(400, 400);
    TCard* under = Deal(*table, 100, 50);
    TCard* middle = Deal(*table, 100, 70);
    TCard* top = Deal(*table, 100, 90);
    table->SetKeyFocus(under, {}, {middle, top});
    const QRect ring = table->KeyFocusRing();
    EXPECT_TRUE(ring.contains(Rect(top)));
    EXPECT_TRUE(ring.contains(Rect(under)));
    const QRect cards = Rect(under) | Rect(top);
    EXPECT_TRUE(Painted(*table, cards).empty()) << "the ring crosses the fan";
    EXPECT_FALSE(Painted(*table, ring).empty());

    // Focused alone (nothing on it), the top card's ring is its own.
    table->SetKeyFocus(top, {});
    EXPECT_FALSE(table->KeyFocusRing().contains(Rect(middle)));
}

// Cards lifted by keys over a ringed pile are drawn above the ring.
TEST(TableFocusRing, LiftedCardsHideTheRingUnderThem)
{
    auto table = MakeTable(500, 400);
    table->SetDragAndDrop(true);
    table->OnCardDropEvent = [&table](TCard*, int, int, int, int, int) { table->RestoreCard(); };
    TCard* target = Deal(*table, 250, 50);
    TCard* lifted = Deal(*table, 50, 50);
    TCard* follower = Deal(*table, 50, 70);
    ASSERT_TRUE(table->PressByKey(lifted, {follower}));
    table->SetKeyFocus(target, {});
    table->HoverLifted(250, 70, -1);
    ASSERT_TRUE(table->KeyFocusRing().intersects(Rect(lifted)));
    EXPECT_TRUE(Painted(*table, Rect(lifted)).empty()) << "the ring is drawn over the lifted card";
    EXPECT_TRUE(Painted(*table, Rect(follower)).empty()) << "the ring is drawn over the follower";
    EXPECT_FALSE(Painted(*table, table->KeyFocusRing()).empty()) << "the ring around the rest of the pile";
    table->CancelLifted();
}

// When the cards change size (another card set) nobody moves the focus, yet
// the ring drawn next is another size: the table remembers the ring it
// painted, so the whole of it is repainted when the focus moves on.
TEST(TableFocusRing, ARingGrownWithTheCardsIsRepaintedWholeWhenTheFocusMoves)
{
    const std::filesystem::path cardsets = testpaths::ProgramDir() / "Cardsets";
    ASSERT_TRUE(std::filesystem::exists(cardsets / "Large")) << cardsets;
    TCardTable table(nullptr, cardsets);
    table.SetTableSize(900, 700);
    table.CardDeck().SetDeckName("Standard");
    table.RedrawAll();
    table.show();
    TPaintWatch watch;
    table.installEventFilter(&watch);
    TCard* card = table.NextCard();
    card->FaceUp = true;
    table.PlaceCard(card, 100, 100);
    TCard* other = table.NextCard();
    other->FaceUp = true;
    table.PlaceCard(other, 500, 100);
    table.SetKeyFocus(card, {});
    QApplication::processEvents();
    const QRect small = table.KeyFocusRing();

    // A new card set, as the card deck dialog brings one.
    table.CardDeck().SetDeckName("Large");
    table.RedrawAll();
    QApplication::processEvents();
    const QRect large = table.KeyFocusRing();
    ASSERT_GT(large.width(), small.width());
    EXPECT_EQ(table.KeyFocusRingShown(), large);

    watch.Repainted = {};
    table.SetKeyFocus(other, {});
    QApplication::processEvents();
    EXPECT_TRUE((QRegion(large) - watch.Repainted).isEmpty()) << "a piece of the old ring would stay on the screen";
    table.removeEventFilter(&watch);
}

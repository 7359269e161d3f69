// The win show's picture strip: eight celebration scenes side by side; the
// slide show pans a frame-sized window across it.
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double W = FrameWidth;
constexpr double H = FrameHeight;

// A seeded source of numbers for scattering sparks and confetti; the same
// frame always comes out the same.
class TScatter {
public:
    explicit TScatter(std::uint32_t seed) : Random(seed) {}
    double Unit() { return double(Random() >> 8) / double(1u << 24); }
    double Between(double a, double b) { return a + (b - a) * Unit(); }
    int Below(int n) { return int(Random() % std::uint32_t(n)); }

private:
    std::mt19937 Random;
};

const std::array<QColor, 7> Festive{QColor(255, 80, 80),  QColor(255, 200, 40), QColor(80, 220, 120),
                                    QColor(80, 160, 255), QColor(230, 90, 230), QColor(255, 140, 30),
                                    QColor(250, 250, 250)};

void Sky(QPainter& p, QColor top, QColor bottom)
{
    QLinearGradient sky(0, 0, 0, H);
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    p.fillRect(QRectF(0, 0, W, H), sky);
}

QPainterPath Star(QPointF centre, double outer, double inner, int points, double turn = -Pi / 2)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = turn + Pi * i / points;
        const QPointF at(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    path.closeSubpath();
    return path;
}

void Rays(QPainter& p, QPointF centre, int count, QColor a, QColor b, double length = 900)
{
    for (int i = 0; i < count; ++i) {
        const double a0 = 2 * Pi * i / count, a1 = 2 * Pi * (i + 0.5) / count;
        QPainterPath ray;
        ray.moveTo(centre);
        ray.lineTo(centre + QPointF(length * std::cos(a0), length * std::sin(a0)));
        ray.lineTo(centre + QPointF(length * std::cos(a1), length * std::sin(a1)));
        ray.closeSubpath();
        p.fillPath(ray, i % 2 == 0 ? a : b);
    }
}

void Burst(QPainter& p, QPointF centre, double radius, QColor colour, TScatter& scatter)
{
    const int sparks = 28 + scatter.Below(12);
    for (int i = 0; i < sparks; ++i) {
        const double a = 2 * Pi * i / sparks + scatter.Between(-0.05, 0.05);
        const double r = radius * scatter.Between(0.75, 1.0);
        const QPointF end = centre + QPointF(r * std::cos(a), r * std::sin(a));
        QLinearGradient trail(centre, end);
        trail.setColorAt(0, QColor(colour.red(), colour.green(), colour.blue(), 0));
        trail.setColorAt(1, colour);
        p.setPen(QPen(QBrush(trail), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre + (end - centre) * 0.25, end);
        p.setPen(Qt::NoPen);
        p.setBrush(colour.lighter(150));
        p.drawEllipse(end, 2.6, 2.6);
    }
}

void Fireworks(QPainter& p)
{
    Sky(p, QColor(6, 8, 40), QColor(40, 30, 90));
    TScatter scatter(1);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        p.setBrush(QColor(255, 255, 230, 90 + scatter.Below(160)));
        p.drawEllipse(QPointF(scatter.Between(0, W), scatter.Between(0, H * 0.7)), 1.0, 1.0);
    }
    const std::array<QPointF, 5> centres{QPointF(90, 120), QPointF(230, 90), QPointF(170, 230), QPointF(60, 300),
                                         QPointF(265, 280)};
    const std::array<double, 5> sizes{70, 60, 85, 50, 55};
    for (std::size_t i = 0; i < centres.size(); ++i)
        Burst(p, centres[i], sizes[i], Festive[i], scatter);
    // The town below, with lit windows.
    p.setBrush(QColor(10, 10, 20));
    double x = 0;
    while (x < W) {
        const double w = scatter.Between(28, 56), h = scatter.Between(50, 120);
        p.setBrush(QColor(12, 12, 24));
        p.drawRect(QRectF(x, H - h, w, h));
        for (double wy = H - h + 8; wy < H - 8; wy += 14)
            for (double wx = x + 5; wx < x + w - 8; wx += 11)
                if (scatter.Unit() < 0.35)
                    p.fillRect(QRectF(wx, wy, 5, 7), QColor(255, 220, 120));
        x += w + 2;
    }
}

void Trophy(QPainter& p)
{
    Sky(p, QColor(120, 10, 30), QColor(50, 0, 10));
    Rays(p, QPointF(W / 2, 200), 24, QColor(255, 210, 120, 40), QColor(255, 255, 255, 0));
    QLinearGradient gold(80, 0, 240, 0);
    gold.setColorAt(0, QColor(150, 100, 10));
    gold.setColorAt(0.35, QColor(255, 230, 120));
    gold.setColorAt(0.6, QColor(230, 170, 40));
    gold.setColorAt(1, QColor(130, 80, 0));
    p.setBrush(gold);
    p.setPen(QPen(QColor(90, 50, 0), 2));
    // Handles, then the cup over them.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(gold), 12));
    p.drawArc(QRectF(50, 120, 80, 100), 90 * 16, 180 * 16);
    p.drawArc(QRectF(190, 120, 80, 100), 270 * 16, 180 * 16);
    p.setPen(QPen(QColor(90, 50, 0), 2));
    p.setBrush(gold);
    QPainterPath cup;
    cup.moveTo(80, 100);
    cup.lineTo(240, 100);
    cup.cubicTo(240, 220, 200, 270, 175, 280);
    cup.lineTo(145, 280);
    cup.cubicTo(120, 270, 80, 220, 80, 100);
    p.drawPath(cup);
    p.drawRect(QRectF(148, 280, 24, 50));
    p.drawRoundedRect(QRectF(110, 330, 100, 22), 4, 4);
    p.setBrush(QColor(60, 30, 10));
    p.drawRect(QRectF(95, 352, 130, 50));
    p.fillPath(Star(QPointF(160, 175), 34, 14, 5), QColor(255, 250, 220));
}

QPainterPath Heart(QPointF c, double s)
{
    QPainterPath path;
    path.moveTo(c.x(), c.y() + s * 0.9);
    path.cubicTo(c.x() - s * 1.2, c.y() + s * 0.1, c.x() - s * 0.7, c.y() - s * 0.9, c.x(), c.y() - s * 0.3);
    path.cubicTo(c.x() + s * 0.7, c.y() - s * 0.9, c.x() + s * 1.2, c.y() + s * 0.1, c.x(), c.y() + s * 0.9);
    return path;
}

QPainterPath Diamond(QPointF c, double s)
{
    QPainterPath path;
    path.moveTo(c.x(), c.y() - s);
    path.lineTo(c.x() + s * 0.7, c.y());
    path.lineTo(c.x(), c.y() + s);
    path.lineTo(c.x() - s * 0.7, c.y());
    path.closeSubpath();
    return path;
}

QPainterPath Spade(QPointF c, double s)
{
    QPainterPath path;
    path.moveTo(c.x(), c.y() - s * 0.95);
    path.cubicTo(c.x() + s * 1.2, c.y() - s * 0.1, c.x() + s * 0.7, c.y() + s * 0.9, c.x(), c.y() + s * 0.3);
    path.cubicTo(c.x() - s * 0.7, c.y() + s * 0.9, c.x() - s * 1.2, c.y() - s * 0.1, c.x(), c.y() - s * 0.95);
    path.addPolygon(QPolygonF({QPointF(c.x(), c.y() + s * 0.2), QPointF(c.x() + s * 0.35, c.y() + s),
                               QPointF(c.x() - s * 0.35, c.y() + s)}));
    return path;
}

QPainterPath Club(QPointF c, double s)
{
    QPainterPath path;
    path.addEllipse(QPointF(c.x(), c.y() - s * 0.45), s * 0.42, s * 0.42);
    path.addEllipse(QPointF(c.x() - s * 0.45, c.y() + s * 0.1), s * 0.42, s * 0.42);
    path.addEllipse(QPointF(c.x() + s * 0.45, c.y() + s * 0.1), s * 0.42, s * 0.42);
    path.addPolygon(QPolygonF({QPointF(c.x(), c.y()), QPointF(c.x() + s * 0.3, c.y() + s),
                               QPointF(c.x() - s * 0.3, c.y() + s)}));
    path.setFillRule(Qt::WindingFill);
    return path;
}

void CardFan(QPainter& p)
{
    Sky(p, QColor(20, 120, 60), QColor(5, 60, 25));
    const std::array<std::function<QPainterPath(QPointF, double)>, 4> suits{Spade, Heart, Diamond, Club};
    const QPointF pivot(W / 2, 470);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(pivot);
        p.rotate(-28 + 14 * i);
        const QRectF card(-48, -235, 96, 140);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(252, 252, 248));
        p.drawRoundedRect(card, 9, 9);
        const bool red = i % 4 == 1 || i % 4 == 2;
        const QColor ink = red ? QColor(200, 20, 30) : QColor(20, 20, 20);
        p.fillPath(suits[std::size_t(i % 4)](card.center(), 26), ink);
        p.fillPath(suits[std::size_t(i % 4)](card.topLeft() + QPointF(16, 22), 9), ink);
        p.fillPath(suits[std::size_t(i % 4)](card.bottomRight() - QPointF(16, 22), 9), ink);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    QRadialGradient glow(QPointF(W / 2, 60), 120);
    glow.setColorAt(0, QColor(255, 255, 200, 140));
    glow.setColorAt(1, QColor(255, 255, 200, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(W / 2, 60), 120, 120);
    for (int i = 0; i < 5; ++i)
        p.fillPath(Star(QPointF(60 + 50 * i, 60 + (i % 2) * 20), 12, 5, 5), QColor(255, 230, 90));
}

void StarBurst(QPainter& p)
{
    Sky(p, QColor(255, 150, 20), QColor(220, 40, 20));
    Rays(p, QPointF(W / 2, H / 2), 32, QColor(255, 230, 80), QColor(255, 120, 20));
    QRadialGradient core(QPointF(W / 2, H / 2), 150);
    core.setColorAt(0, QColor(255, 255, 230, 255));
    core.setColorAt(1, QColor(255, 255, 230, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(core);
    p.drawEllipse(QPointF(W / 2, H / 2), 150, 150);
    p.setPen(QPen(QColor(180, 60, 0), 3));
    p.setBrush(QColor(255, 215, 40));
    p.drawPath(Star(QPointF(W / 2, H / 2), 110, 45, 5));
    p.setPen(Qt::NoPen);
    p.fillPath(Star(QPointF(W / 2, H / 2), 50, 20, 5), QColor(255, 250, 200));
    TScatter scatter(4);
    for (int i = 0; i < 18; ++i)
        p.fillPath(Star(QPointF(scatter.Between(10, W - 10), scatter.Between(10, H - 10)), scatter.Between(5, 11), 3, 4,
                        0),
                   QColor(255, 255, 255, 200));
}

void Confetti(QPainter& p)
{
    Sky(p, QColor(70, 20, 110), QColor(20, 10, 60));
    TScatter scatter(5);
    p.setPen(Qt::NoPen);
    // Streamers: wavy ribbons from the top.
    for (int s = 0; s < 6; ++s) {
        QPainterPath ribbon;
        const double x0 = 25 + s * 55;
        ribbon.moveTo(x0, 0);
        for (double y = 0; y <= H; y += 8)
            ribbon.lineTo(x0 + 18 * std::sin(y / 30.0 + s), y);
        p.setPen(QPen(Festive[std::size_t(s % 6)], 5, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(ribbon);
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        p.save();
        p.translate(scatter.Between(0, W), scatter.Between(0, H));
        p.rotate(scatter.Between(0, 180));
        p.setBrush(Festive[std::size_t(scatter.Below(int(Festive.size())))]);
        if (i % 3 == 0)
            p.drawEllipse(QPointF(0, 0), 3.5, 3.5);
        else
            p.drawRect(QRectF(-5, -2.5, 10, 5));
        p.restore();
    }
}

void Balloons(QPainter& p)
{
    Sky(p, QColor(110, 180, 250), QColor(220, 240, 255));
    TScatter scatter(6);
    p.setPen(Qt::NoPen);
    for (int c = 0; c < 4; ++c) {
        const QPointF at(scatter.Between(0, W), scatter.Between(30, 200));
        for (int k = 0; k < 4; ++k)
            p.setBrush(QColor(255, 255, 255, 220)), p.drawEllipse(at + QPointF(k * 18 - 27, (k % 2) * -8), 20, 14);
    }
    const std::array<QPointF, 7> tops{QPointF(60, 130), QPointF(130, 90), QPointF(205, 120), QPointF(270, 80),
                                      QPointF(95, 220), QPointF(175, 200), QPointF(250, 230)};
    const QPointF hand(W / 2, 430);
    for (std::size_t i = 0; i < tops.size(); ++i) {
        p.setPen(QPen(QColor(90, 90, 90), 1.2));
        QPainterPath string;
        string.moveTo(tops[i] + QPointF(0, 42));
        string.quadTo(QPointF((tops[i].x() + hand.x()) / 2 + 15, (tops[i].y() + hand.y()) / 2), hand);
        p.setBrush(Qt::NoBrush);
        p.drawPath(string);
        const QColor colour = Festive[i % 6];
        QRadialGradient shine(tops[i] + QPointF(-10, -14), 50);
        shine.setColorAt(0, colour.lighter(170));
        shine.setColorAt(1, colour.darker(120));
        p.setPen(Qt::NoPen);
        p.setBrush(shine);
        p.drawEllipse(tops[i], 30, 38);
        p.drawPolygon(QPolygonF({tops[i] + QPointF(0, 36), tops[i] + QPointF(6, 44), tops[i] + QPointF(-6, 44)}));
    }
}

void Rosette(QPainter& p)
{
    Sky(p, QColor(235, 235, 245), QColor(190, 200, 225));
    const QPointF centre(W / 2, 190);
    p.setPen(Qt::NoPen);
    // Two ribbon tails.
    for (const double side : {-1.0, 1.0}) {
        QPainterPath tail;
        tail.moveTo(centre + QPointF(side * 20, 40));
        tail.lineTo(centre + QPointF(side * 80, 250));
        tail.lineTo(centre + QPointF(side * 50, 230));
        tail.lineTo(centre + QPointF(side * 30, 265));
        tail.lineTo(centre + QPointF(side * -10, 60));
        tail.closeSubpath();
        p.fillPath(tail, QColor(30, 70, 200));
    }
    // Pleated ring.
    for (int i = 0; i < 36; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(i * 10);
        p.setBrush(i % 2 == 0 ? QColor(40, 90, 220) : QColor(20, 50, 160));
        p.drawEllipse(QPointF(0, -95), 16, 30);
        p.restore();
    }
    p.setBrush(QColor(245, 245, 255));
    p.drawEllipse(centre, 78, 78);
    QRadialGradient gold(centre + QPointF(-20, -20), 90);
    gold.setColorAt(0, QColor(255, 240, 150));
    gold.setColorAt(1, QColor(190, 130, 20));
    p.setBrush(gold);
    p.drawEllipse(centre, 68, 68);
    p.fillPath(Star(centre, 50, 22, 5), QColor(255, 250, 225));
    p.fillPath(Star(centre, 20, 9, 5), QColor(210, 150, 30));
}

void Rainbow(QPainter& p)
{
    Sky(p, QColor(90, 170, 250), QColor(200, 230, 255));
    const std::array<QColor, 7> bands{QColor(230, 40, 40), QColor(250, 140, 30), QColor(250, 230, 50),
                                      QColor(70, 200, 70), QColor(60, 140, 240), QColor(80, 60, 190),
                                      QColor(150, 70, 200)};
    p.setPen(Qt::NoPen);
    const QPointF centre(W / 2, 360);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const double r = 250 - 16 * double(i);
        p.setBrush(bands[i]);
        p.drawEllipse(centre, r, r);
    }
    p.setBrush(QColor(150, 205, 252));
    p.drawEllipse(centre, 250 - 16 * 7.0, 250 - 16 * 7.0);
    QRadialGradient sun(QPointF(255, 70), 60);
    sun.setColorAt(0, QColor(255, 255, 200));
    sun.setColorAt(0.5, QColor(255, 230, 80));
    sun.setColorAt(1, QColor(255, 230, 80, 0));
    p.setBrush(sun);
    p.drawEllipse(QPointF(255, 70), 60, 60);
    // Hills over the rainbow's feet.
    QPainterPath hills;
    hills.moveTo(0, H);
    hills.lineTo(0, 350);
    hills.cubicTo(80, 300, 150, 380, 200, 350);
    hills.cubicTo(250, 320, 300, 340, W, 330);
    hills.lineTo(W, H);
    hills.closeSubpath();
    QLinearGradient grass(0, 320, 0, H);
    grass.setColorAt(0, QColor(90, 190, 70));
    grass.setColorAt(1, QColor(30, 110, 40));
    p.fillPath(hills, grass);
    for (const QPointF at : {QPointF(70, 110), QPointF(160, 60)}) {
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawEllipse(at, 34, 18);
        p.drawEllipse(at + QPointF(26, 6), 26, 14);
        p.drawEllipse(at + QPointF(-26, 6), 24, 13);
    }
}

} // namespace

QImage WinStrip()
{
    QImage strip(FrameWidth * FrameCount, FrameHeight, QImage::Format_RGB32);
    strip.fill(Qt::black);
    const std::array<std::function<void(QPainter&)>, FrameCount> scenes{Fireworks, Trophy,   CardFan, StarBurst,
                                                                         Confetti,  Balloons, Rosette, Rainbow};
    for (int i = 0; i < FrameCount; ++i) {
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipRect(QRect(i * FrameWidth, 0, FrameWidth, FrameHeight));
        painter.translate(i * FrameWidth, 0);
        scenes[std::size_t(i)](painter);
    }
    return strip;
}

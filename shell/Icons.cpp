#include "shell/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Every picture is drawn on a 16 x 16 grid and scaled, so one drawing serves
// the menus, the tool bar and the application icon alike.
constexpr double Grid = 16.0;

const QColor Ink(40, 40, 60);
const QColor CardWhite(252, 252, 248);
const QColor Red(200, 30, 40);
const QColor Blue(40, 90, 190);
const QColor Green(30, 140, 60);
const QColor Gold(230, 170, 20);

QPen InkPen(double width = 1.0) { return QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void DrawCard(QPainter& p, const QRectF& r, const QColor& pip = Red)
{
    p.setPen(InkPen(0.8));
    p.setBrush(CardWhite);
    p.drawRoundedRect(r, 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(pip);
    const QPointF c = r.center();
    QPolygonF diamond;
    const double w = r.width() * 0.22;
    const double h = r.height() * 0.22;
    diamond << QPointF(c.x(), c.y() - h) << QPointF(c.x() + w, c.y()) << QPointF(c.x(), c.y() + h)
            << QPointF(c.x() - w, c.y());
    p.drawPolygon(diamond);
}

// A curved arrow: an arc round `centre` ending in a head. `clockwise` picks
// which way the head points.
void DrawCurvedArrow(QPainter& p, const QPointF& centre, double radius, double startDeg, double spanDeg,
                     const QColor& colour)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(box, int(startDeg * 16), int(spanDeg * 16));
    const double end = (startDeg + spanDeg) * M_PI / 180.0;
    const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
    // Tangent direction at the arc's end, following the sweep.
    const double sign = spanDeg >= 0 ? 1.0 : -1.0;
    const QPointF along(-std::sin(end) * sign, -std::cos(end) * sign);
    const QPointF across(-along.y(), along.x());
    QPolygonF head;
    head << tip + along * 3.2 << tip + across * 2.6 << tip - across * 2.6;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void DrawNewGame(QPainter& p)
{
    DrawCard(p, QRectF(2.5, 2.5, 9, 12));
    p.setPen(QPen(Gold, 1.4, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(12.5, 4);
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 4;
        const QPointF d(std::cos(a) * 3, std::sin(a) * 3);
        p.drawLine(c - d, c + d);
    }
}

void DrawOpenGame(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(200, 150, 40));
    p.drawRect(QRectF(1.5, 4.5, 12, 9));
    p.drawRect(QRectF(1.5, 3, 5, 1.5));
    p.setBrush(QColor(250, 210, 90));
    QPolygonF front;
    front << QPointF(3.5, 7) << QPointF(15, 7) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(front);
}

void DrawSaveGame(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(Blue);
    p.drawRoundedRect(QRectF(2, 2, 12, 12), 1, 1);
    p.setBrush(CardWhite);
    p.drawRect(QRectF(4.5, 2, 7, 4.5));
    p.setBrush(QColor(190, 200, 220));
    p.drawRect(QRectF(4, 9, 8, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawRect(QRectF(9, 2.8, 1.5, 3));
}

void DrawUndo(QPainter& p) { DrawCurvedArrow(p, QPointF(8.5, 9.5), 5, 0, 170, Blue); }

void DrawRedo(QPainter& p) { DrawCurvedArrow(p, QPointF(7.5, 9.5), 5, 180, -170, Blue); }

void DrawAutoMoves(QPainter& p)
{
    DrawCard(p, QRectF(1.5, 6.5, 7, 9), Ink);
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    QPolygonF arrow;
    arrow << QPointF(12, 1) << QPointF(15.5, 5.5) << QPointF(13.3, 5.5) << QPointF(13.3, 11) << QPointF(10.7, 11)
          << QPointF(10.7, 5.5) << QPointF(8.5, 5.5);
    p.drawPolygon(arrow);
}

void DrawRules(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(Blue);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawExit(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(Red);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.2, 5.2), QPointF(10.8, 10.8));
    p.drawLine(QPointF(10.8, 5.2), QPointF(5.2, 10.8));
}

void DrawHighScores(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(Gold);
    QPainterPath cup;
    cup.moveTo(3.5, 2);
    cup.lineTo(12.5, 2);
    cup.cubicTo(12.5, 8, 10, 9.5, 8, 9.5);
    cup.cubicTo(6, 9.5, 3.5, 8, 3.5, 2);
    p.drawPath(cup);
    p.drawRect(QRectF(7, 9.5, 2, 3));
    p.drawRect(QRectF(4.5, 12.5, 7, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(1, 3, 4, 4), 90 * 16, 180 * 16);
    p.drawArc(QRectF(11, 3, 4, 4), -90 * 16, 180 * 16);
}

void DrawStatistics(QPainter& p)
{
    p.setPen(InkPen(0.8));
    const std::array<double, 3> heights{5, 9, 12};
    const std::array<QColor, 3> colours{Red, Gold, Green};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(QRectF(2.5 + i * 4, 14.5 - heights[i], 3, heights[i]));
    }
    p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
}

void DrawCheckMark(QPainter& p)
{
    p.setPen(QPen(QColor(20, 20, 20), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF tick;
    tick << QPointF(3, 8.5) << QPointF(6.5, 12) << QPointF(13, 4);
    p.drawPolyline(tick);
}

void DrawRestart(QPainter& p)
{
    DrawCard(p, QRectF(5, 4.5, 6, 8), Red);
    DrawCurvedArrow(p, QPointF(8, 8.5), 6.3, 120, 300, Green);
}

void DrawRedeal(QPainter& p)
{
    DrawCard(p, QRectF(1.5, 1.5, 7, 10), Ink);
    DrawCard(p, QRectF(4.5, 4.5, 7, 10), Red);
    DrawCurvedArrow(p, QPointF(11.5, 5), 3, -60, 240, Green);
}

void DrawFullScreen(QPainter& p)
{
    p.setPen(InkPen(1.0));
    p.setBrush(QColor(210, 225, 245));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(QPen(Blue, 1.5, Qt::SolidLine, Qt::RoundCap));
    const std::array<QPointF, 4> corners{QPointF(3.5, 4.5), QPointF(12.5, 4.5), QPointF(12.5, 11.5),
                                         QPointF(3.5, 11.5)};
    const QPointF centre(8, 8);
    for (const QPointF& c : corners) {
        const QPointF d = (c - centre) * 0.45;
        p.drawLine(c - d, c);
        p.drawLine(c, c - QPointF(d.x(), 0));
        p.drawLine(c, c - QPointF(0, d.y()));
    }
}

void DrawCompact(QPainter& p)
{
    DrawCard(p, QRectF(2.5, 3.5, 6, 9), Ink);
    DrawCard(p, QRectF(7.5, 3.5, 6, 9), Red);
}

void DrawExtended(QPainter& p)
{
    DrawCard(p, QRectF(0.5, 4.5, 5, 7.5), Ink);
    DrawCard(p, QRectF(10.5, 4.5, 5, 7.5), Red);
    p.setPen(QPen(Green, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.5, 8.2), QPointF(9.5, 8.2));
    p.drawLine(QPointF(6.5, 8.2), QPointF(7.6, 7));
    p.drawLine(QPointF(6.5, 8.2), QPointF(7.6, 9.4));
    p.drawLine(QPointF(9.5, 8.2), QPointF(8.4, 7));
    p.drawLine(QPointF(9.5, 8.2), QPointF(8.4, 9.4));
}

// A light bulb: the idea the hint gives.
void DrawHint(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(255, 225, 90));
    p.drawEllipse(QRectF(3.5, 1.5, 9, 9));
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(6, 10.5, 4, 3));
    p.drawLine(QPointF(6, 12), QPointF(10, 12));
    p.setPen(QPen(Gold, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 5), QPointF(8, 9.5));
}

using TDrawer = void (*)(QPainter&);

// Indexed by TToolImage; the order must follow the enumeration.
constexpr std::array<TDrawer, ToolImageCount> Drawers{
    DrawNewGame, DrawOpenGame,   DrawSaveGame,   DrawUndo,       DrawRedo,      DrawAutoMoves,
    DrawRules,   DrawExit,       DrawHighScores, DrawStatistics, DrawCheckMark, DrawRestart,
    DrawRedeal,  DrawFullScreen, DrawCompact,    DrawExtended,   DrawHint};

QImage Canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage ToolImage(TToolImage which, int size)
{
    QImage image = Canvas(size);
    const int index = static_cast<int>(which);
    if (index < 0 || index >= ToolImageCount || size <= 0)
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / Grid, size / Grid);
    Drawers[static_cast<std::size_t>(index)](p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage GreyedImage(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb px = line[x];
            // Lighten towards silver so the picture reads as unavailable.
            const int g = 128 + qGray(px) / 2;
            line[x] = qRgba(g, g, g, qAlpha(px) * 3 / 4);
        }
    }
    return grey;
}

QIcon ToolIcon(TToolImage which, int size)
{
    const QImage image = ToolImage(which, size);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(GreyedImage(image)), QIcon::Disabled);
    return icon;
}

QImage StripPattern()
{
    // A quiet two-tone weave in the blue of the menu separators.
    QImage tile(8, 8, QImage::Format_RGB32);
    const QRgb light = qRgb(226, 236, 250);
    const QRgb mid = qRgb(196, 214, 240);
    const QRgb dark = qRgb(166, 202, 240);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int d = (x + y) % 8;
            const int e = (x - y + 8) % 8;
            QRgb c = light;
            if (d == 0 || e == 0)
                c = dark;
            else if (d == 4 || e == 4)
                c = mid;
            tile.setPixel(x, y, c);
        }
    }
    return tile;
}

QImage ApplicationImage(int size)
{
    QImage image = Canvas(size);
    if (size <= 0)
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // A green baize disc with three fanned cards; the front card shows a heart.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 110, 50));
    p.drawEllipse(QRectF(2, 2, 60, 60));
    const std::array<double, 3> angles{-22, 0, 22};
    // An outline thinner than a device pixel would vanish into grey.
    const double outline = std::max(1.2, 64.0 / size);
    const bool small = size < 32;
    for (std::size_t i = 0; i < angles.size(); ++i) {
        p.save();
        p.translate(32, 50);
        p.rotate(angles[i]);
        p.setPen(QPen(Ink, outline));
        p.setBrush(CardWhite);
        p.drawRoundedRect(QRectF(-12, -38, 24, 34), 3, 3);
        p.setPen(Qt::NoPen);
        if (i == angles.size() - 1) {
            p.setBrush(Red);
            QPainterPath heart;
            heart.moveTo(0, -12);
            heart.cubicTo(-10, -19, -7, -30, 0, -25);
            heart.cubicTo(7, -30, 10, -19, 0, -12);
            p.drawPath(heart);
        } else if (!small) {
            // Only the top-left corner of the cards behind shows: a corner pip.
            p.setBrush(i == 0 ? Red : Ink);
            QPolygonF pip;
            pip << QPointF(-7, -35) << QPointF(-4.5, -31) << QPointF(-7, -27) << QPointF(-9.5, -31);
            p.drawPolygon(pip);
        }
        p.restore();
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(ApplicationImage(size)));
    return icon;
}

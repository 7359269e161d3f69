#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "CardPictures.h"
#include "CardShapes.h"

namespace {

struct TBackColours {
  QColor Ground;
  QColor Pattern;
};

// One pattern per back, drawn over the ground colour inside `field`.
void Lattice(QPainter& p, const QRectF& field, double step, const QColor& colour, double width) {
  p.setPen(QPen(colour, width));
  const double span = field.width() + field.height();
  for (double d = -span; d <= span; d += step) {
    p.drawLine(QPointF(field.left() + d, field.top()),
               QPointF(field.left() + d + field.height(), field.bottom()));
    p.drawLine(QPointF(field.right() - d, field.top()),
               QPointF(field.right() - d - field.height(), field.bottom()));
  }
}

void DiamondGrid(QPainter& p, const QRectF& field, double step, const QColor& colour) {
  QPainterPath diamonds;
  for (double y = field.top(); y <= field.bottom() + step; y += step / 2) {
    const bool odd = std::lround((y - field.top()) / (step / 2)) % 2 == 1;
    for (double x = field.left() + (odd ? step / 2 : 0); x <= field.right() + step; x += step)
      diamonds.addPath(SuitPath(TSuitShape::Diamond, QPointF(x, y), step * 0.55));
  }
  p.fillPath(diamonds, colour);
}

void ConcentricFrames(QPainter& p, const QRectF& field, double step, const QColor& colour) {
  p.setPen(QPen(colour, step / 2));
  p.setBrush(Qt::NoBrush);
  for (QRectF r = field.adjusted(step / 2, step / 2, -step / 2, -step / 2);
       r.width() > step && r.height() > step; r.adjust(step, step, -step, -step))
    p.drawRoundedRect(r, step, step);
}

void Dots(QPainter& p, const QRectF& field, double step, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  int row = 0;
  for (double y = field.top() + step / 2; y < field.bottom() + step; y += step * 0.75, ++row)
    for (double x = field.left() + (row % 2 ? step / 2 : 0); x < field.right() + step; x += step)
      p.drawEllipse(QPointF(x, y), step * 0.22, step * 0.22);
}

void Sunburst(QPainter& p, const QRectF& field, const QColor& colour) {
  const QPointF c = field.center();
  const double reach = field.width() + field.height();
  QPainterPath rays;
  const int count = 24;
  for (int i = 0; i < count; i += 2) {
    const double a0 = 2 * M_PI * i / count;
    const double a1 = 2 * M_PI * (i + 1) / count;
    rays.moveTo(c);
    rays.lineTo(c + QPointF(std::cos(a0), std::sin(a0)) * reach);
    rays.lineTo(c + QPointF(std::cos(a1), std::sin(a1)) * reach);
    rays.closeSubpath();
  }
  p.fillPath(rays, colour);
}

void SuitEmblem(QPainter& p, const QRectF& field, const QColor& colour) {
  const QPointF c = field.center();
  const double size = field.width() * 0.26;
  const double off = field.width() * 0.2;
  QPainterPath emblem;
  emblem.addPath(SuitPath(TSuitShape::Spade, c + QPointF(0, -off), size));
  emblem.addPath(SuitPath(TSuitShape::Heart, c + QPointF(off, 0), size));
  emblem.addPath(SuitPath(TSuitShape::Club, c + QPointF(0, off), size));
  emblem.addPath(SuitPath(TSuitShape::Diamond, c + QPointF(-off, 0), size));
  p.fillPath(emblem, colour);
  p.setPen(QPen(colour, std::max(1.0, field.width() / 40)));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, field.width() * 0.42, field.width() * 0.42);
  const double inset = field.width() * 0.06;
  p.drawRect(field.adjusted(inset, inset, -inset, -inset));
}

void Tartan(QPainter& p, const QRectF& field, double step) {
  const QColor red(180, 30, 40, 150);
  const QColor yellow(230, 200, 60, 170);
  for (double v = field.left() + step / 2; v < field.right(); v += step) {
    p.fillRect(QRectF(v, field.top(), step / 3, field.height()), red);
    p.fillRect(QRectF(v + step / 2, field.top(), step / 12 + 0.5, field.height()), yellow);
  }
  for (double h = field.top() + step / 2; h < field.bottom(); h += step) {
    p.fillRect(QRectF(field.left(), h, field.width(), step / 3), red);
    p.fillRect(QRectF(field.left(), h + step / 2, field.width(), step / 12 + 0.5), yellow);
  }
}

TBackColours Colours(int design) {
  switch (design) {
    case 1: return {QColor(28, 58, 150), QColor(128, 168, 236)};
    case 2: return {QColor(150, 20, 32), QColor(236, 140, 140)};
    case 3: return {QColor(18, 106, 58), QColor(70, 176, 110)};
    case 4: return {QColor(86, 38, 118), QColor(160, 112, 200)};
    case 5: return {QColor(0, 104, 116), QColor(176, 232, 232)};
    case 6: return {QColor(214, 110, 16), QColor(250, 184, 64)};
    case 7: return {QColor(20, 30, 82), QColor(226, 184, 60)};
    default: return {QColor(16, 86, 44), QColor(0, 0, 0)};
  }
}

void DrawPattern(QPainter& p, const QRectF& field, int design, const QColor& colour, double w) {
  switch (design) {
    case 1: Lattice(p, field, w / 9, colour, std::max(1.0, w / 60)); break;
    case 2: Lattice(p, field, w / 6, colour, std::max(1.0, w / 35)); break;
    case 3: DiamondGrid(p, field, w / 6, colour); break;
    case 4: ConcentricFrames(p, field, w / 10, colour); break;
    case 5: Dots(p, field, w / 6, colour); break;
    case 6: Sunburst(p, field, colour); break;
    case 7: SuitEmblem(p, field, colour); break;
    default: Tartan(p, field, w / 5); break;
  }
}

}  // namespace

QImage BackImage(const TCardSetLayout& l, int design) {
  QImage img(l.Width, l.Height, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = l.Width;
    // A white margin round the printed field, as on most real backs.
    const double margin = std::max(3.0, std::round(w * 0.06));
    const QRectF field(margin, margin, l.Width - 2 * margin, l.Height - 2 * margin);
    const TBackColours colours = Colours(design);
    QPainterPath clip;
    clip.addRoundedRect(field, l.CornerRadius * 0.6, l.CornerRadius * 0.6);
    p.setClipPath(clip);
    p.fillRect(field, colours.Ground);
    DrawPattern(p, field, design, colours.Pattern, w);
    p.setClipping(false);
    p.setPen(QPen(colours.Ground.darker(150), std::max(1.0, w / 71)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(clip);
  }
  FinishCardPicture(l, img);
  return img;
}

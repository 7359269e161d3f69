#include "CardShapes.h"

#include <QPainterPathStroker>
#include <QTransform>

namespace {

// Suit outlines in a unit box from (-1, -1) to (1, 1), y pointing down.
QPainterPath UnitHeart() {
  QPainterPath p;
  p.moveTo(0, -0.52);
  p.cubicTo(-0.15, -0.95, -0.55, -1.02, -0.8, -0.88);
  p.cubicTo(-1.06, -0.72, -1.04, -0.3, -0.88, -0.08);
  p.cubicTo(-0.68, 0.25, -0.22, 0.58, 0, 1.0);
  p.cubicTo(0.22, 0.58, 0.68, 0.25, 0.88, -0.08);
  p.cubicTo(1.04, -0.3, 1.06, -0.72, 0.8, -0.88);
  p.cubicTo(0.55, -1.02, 0.15, -0.95, 0, -0.52);
  p.closeSubpath();
  return p;
}

QPainterPath UnitDiamond() {
  QPainterPath p;
  p.moveTo(0, -1);
  p.quadTo(0.3, -0.42, 0.76, 0);
  p.quadTo(0.3, 0.42, 0, 1);
  p.quadTo(-0.3, 0.42, -0.76, 0);
  p.quadTo(-0.3, -0.42, 0, -1);
  p.closeSubpath();
  return p;
}

// The flared foot shared by spades and clubs.
QPainterPath UnitStem() {
  QPainterPath p;
  // Not pointed at the top: a hairline stem leaves slits beside the leaves.
  p.moveTo(0.08, -0.05);
  p.cubicTo(0.1, 0.55, 0.24, 0.86, 0.5, 1.0);
  p.lineTo(-0.5, 1.0);
  p.cubicTo(-0.24, 0.86, -0.1, 0.55, -0.08, -0.05);
  p.closeSubpath();
  return p;
}

QPainterPath UnitSpade() {
  // An upside-down heart, a little narrower, raised to leave room for the foot.
  const QPainterPath body = QTransform().translate(0, -0.2).scale(0.9, -0.8).map(UnitHeart());
  return body.united(UnitStem());
}

QPainterPath UnitClub() {
  QPainterPath leaves;
  // The leaves overlap; with the default even-odd rule the overlaps would be holes.
  leaves.setFillRule(Qt::WindingFill);
  const double r = 0.43;
  leaves.addEllipse(QPointF(0, -0.54), r, r);
  leaves.addEllipse(QPointF(-0.52, 0.1), r, r);
  leaves.addEllipse(QPointF(0.52, 0.1), r, r);
  leaves.addEllipse(QPointF(0, 0.0), 0.3, 0.3);
  return leaves.simplified().united(UnitStem());
}

QPainterPath UnitSuit(TSuitShape suit) {
  switch (suit) {
    case TSuitShape::Club: return UnitClub();
    case TSuitShape::Diamond: return UnitDiamond();
    case TSuitShape::Heart: return UnitHeart();
    case TSuitShape::Spade: return UnitSpade();
  }
  return {};
}

// Glyph centre lines in a unit box, (0, 0) top-left to (1, 1) bottom-right.
struct TGlyphPen {
  QPainterPath Path;
  void Line(std::initializer_list<QPointF> points) {
    auto it = points.begin();
    Path.moveTo(*it);
    for (++it; it != points.end(); ++it) Path.lineTo(*it);
  }
  // An arc of the ellipse with centre c and radii rx, ry, angles in degrees
  // counter-clockwise from three o'clock, started as a new stroke.
  void Arc(QPointF c, double rx, double ry, double start, double sweep) {
    const QRectF r(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry);
    Path.arcMoveTo(r, start);
    Path.arcTo(r, start, sweep);
  }
  // The same arc continuing the current stroke.
  void ArcOn(QPointF c, double rx, double ry, double start, double sweep) {
    Path.arcTo(QRectF(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), start, sweep);
  }
  void Ellipse(QPointF c, double rx, double ry) { Arc(c, rx, ry, 90, 360); }
};

QPainterPath GlyphLines(char glyph) {
  TGlyphPen g;
  switch (glyph) {
    case 'A':
      g.Line({{0, 1}, {0.5, 0}, {1, 1}});
      g.Line({{0.2, 0.64}, {0.8, 0.64}});
      break;
    case '1': g.Line({{0.12, 0.24}, {0.62, 0}, {0.62, 1}}); break;
    case '2':
      g.Arc({0.5, 0.27}, 0.46, 0.27, 170, -215);
      g.Path.lineTo(0, 1);
      g.Path.lineTo(1, 1);
      break;
    case '3':
      g.Arc({0.48, 0.25}, 0.42, 0.25, 160, -250);
      g.ArcOn({0.5, 0.74}, 0.48, 0.26, 95, -265);
      break;
    case '4': g.Line({{0.74, 1}, {0.74, 0}, {0, 0.7}, {1, 0.7}}); break;
    case '5':
      // Stem and bowl as separate strokes: joined, the sharp turn leaves a spur.
      g.Line({{0.92, 0}, {0.2, 0}, {0.16, 0.5}});
      g.Arc({0.5, 0.68}, 0.46, 0.32, 142, -280);
      break;
    case '6':
      g.Ellipse({0.5, 0.68}, 0.46, 0.32);
      g.Path.moveTo(0.04, 0.68);
      g.Path.cubicTo(0.04, 0.2, 0.35, -0.02, 0.86, 0.06);
      break;
    case '7': g.Line({{0, 0}, {1, 0}, {0.36, 1}}); break;
    case '8':
      g.Ellipse({0.5, 0.25}, 0.38, 0.25);
      g.Ellipse({0.5, 0.73}, 0.47, 0.27);
      break;
    case '9':
      g.Ellipse({0.5, 0.32}, 0.46, 0.32);
      g.Path.moveTo(0.96, 0.32);
      g.Path.cubicTo(0.96, 0.8, 0.65, 1.02, 0.14, 0.94);
      break;
    case '0':
    case 'O': g.Ellipse({0.5, 0.5}, 0.5, 0.5); break;
    case 'J':
      g.Line({{0.82, 0}, {0.82, 0.66}});
      g.ArcOn({0.46, 0.66}, 0.36, 0.34, 0, -180);
      break;
    case 'Q':
      g.Ellipse({0.5, 0.47}, 0.5, 0.47);
      g.Line({{0.55, 0.68}, {1.0, 1.0}});
      break;
    case 'K':
      g.Line({{0.08, 0}, {0.08, 1}});
      g.Line({{0.96, 0}, {0.08, 0.64}});
      g.Line({{0.36, 0.44}, {1.0, 1.0}});
      break;
    case 'E':
      g.Line({{0.95, 0}, {0.06, 0}, {0.06, 1}, {0.95, 1}});
      g.Line({{0.06, 0.5}, {0.78, 0.5}});
      break;
    case 'R':
      g.Line({{0.08, 1}, {0.08, 0}, {0.52, 0}});
      g.ArcOn({0.52, 0.27}, 0.42, 0.27, 90, -180);
      g.Path.lineTo(0.08, 0.54);
      g.Line({{0.5, 0.54}, {0.96, 1}});
      break;
    default: break;
  }
  return g.Path;
}

}  // namespace

QPainterPath SuitPath(TSuitShape suit, QPointF centre, double size, bool upsideDown) {
  QTransform t;
  t.translate(centre.x(), centre.y());
  if (upsideDown) t.rotate(180);
  t.scale(size / 2, size / 2);
  return t.map(UnitSuit(suit));
}

QPainterPath GlyphPath(char glyph, const QRectF& box, double stroke) {
  const QPainterPath lines = GlyphLines(glyph);
  if (lines.isEmpty()) return {};
  // Centre lines run inside the box by half a stroke; square caps then reach
  // the box edge and the clip below cuts slanted ends flush with it.
  const QRectF inner = box.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
  const QTransform toBox = QTransform::fromTranslate(inner.left(), inner.top())
                               .scale(inner.width(), inner.height());
  QPainterPathStroker stroker;
  stroker.setWidth(stroke);
  stroker.setCapStyle(Qt::SquareCap);
  stroker.setJoinStyle(Qt::MiterJoin);
  stroker.setMiterLimit(2.0);
  QPainterPath clip;
  clip.addRect(box);
  return stroker.createStroke(toBox.map(lines)).simplified().intersected(clip);
}

QPainterPath RankPath(int value, const QRectF& box, double stroke) {
  static constexpr char kGlyphs[] = "A23456789?JQK";
  if (value < 0 || value > 12) return {};
  if (value != 9) return GlyphPath(kGlyphs[value], box, stroke);
  // Ten: a narrow one and a narrow nought, set slightly wider than one glyph.
  const double w = box.width() * 0.72;
  const double gap = box.width() * 0.12;
  const double left = box.center().x() - (2 * w + gap) / 2;
  QPainterPath ten = GlyphPath('1', QRectF(left, box.top(), w, box.height()), stroke * 0.9);
  ten.addPath(GlyphPath('0', QRectF(left + w + gap, box.top(), w, box.height()), stroke * 0.9));
  return ten;
}

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <array>
#include <vector>

#include "CardPictures.h"
#include "CardShapes.h"

namespace {

const QColor kRedInk(196, 18, 28);
const QColor kBlackInk(26, 26, 30);
const QColor kGold(226, 178, 42);
const QColor kBlue(38, 78, 168);
const QColor kSkin(250, 216, 176);
const QColor kHair(122, 72, 30);
const QColor kFrameFloor(252, 247, 230);

bool IsRedSuit(int suit) { return suit == 1 || suit == 2; }
QColor SuitInk(int suit) { return IsRedSuit(suit) ? kRedInk : kBlackInk; }
TSuitShape Shape(int suit) { return static_cast<TSuitShape>(suit); }

QImage WhiteCard(const TCardSetLayout& l) {
  QImage img(l.Width, l.Height, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

// Turns a path drawn for the top-left of the card into its twin at the bottom-right.
QPainterPath HalfTurn(const TCardSetLayout& l, const QPainterPath& path) {
  return QTransform::fromTranslate(l.Width, l.Height).rotate(180).map(path);
}

double IndexStroke(const TCardSetLayout& l) { return std::max(1.25, l.IndexHeight * 0.16); }

// Rank with a small suit beside it, in the top-left corner and turned in the
// bottom-right. Side by side they both show in the narrow strip a fanned
// column leaves of a covered card; a suit below the rank would be cut off.
void DrawIndices(QPainter& p, const TCardSetLayout& l, int suit, int value) {
  const QRectF box(l.IndexLeft, l.IndexTop, l.IndexWidth, l.IndexHeight);
  QPainterPath index = RankPath(value, box, IndexStroke(l));
  // "10" is wider than its box: the suit keeps its distance from the ink.
  const double rankRight = std::max(box.right(), index.boundingRect().right());
  const QPointF pipCentre(rankRight + l.IndexWidth * 0.2 + l.IndexPip / 2, box.center().y());
  index.addPath(SuitPath(Shape(suit), pipCentre, l.IndexPip));
  index.addPath(HalfTurn(l, index));
  p.fillPath(index, SuitInk(suit));
}

// Pip rows as fractions of the pip field's height, column -1 left, 0 centre,
// 1 right: the arrangements printed on ordinary French-suited cards.
struct TPipSpot {
  int Column;
  double Row;
};

std::vector<TPipSpot> PipSpots(int rank) {
  const double third = 1.0 / 3;
  const std::vector<TPipSpot> sides2 = {{-1, 0}, {1, 0}, {-1, 1}, {1, 1}};
  const std::vector<TPipSpot> sides3 = {{-1, 0}, {1, 0}, {-1, 0.5}, {1, 0.5}, {-1, 1}, {1, 1}};
  const std::vector<TPipSpot> sides4 = {{-1, 0},     {1, 0},     {-1, third},
                                        {1, third},  {-1, 1 - third}, {1, 1 - third},
                                        {-1, 1},     {1, 1}};
  auto with = [](std::vector<TPipSpot> base, std::initializer_list<TPipSpot> extra) {
    base.insert(base.end(), extra);
    return base;
  };
  switch (rank) {
    case 2: return {{0, 0}, {0, 1}};
    case 3: return {{0, 0}, {0, 0.5}, {0, 1}};
    case 4: return sides2;
    case 5: return with(sides2, {{0, 0.5}});
    case 6: return sides3;
    case 7: return with(sides3, {{0, 0.25}});
    case 8: return with(sides3, {{0, 0.25}, {0, 0.75}});
    case 9: return with(sides4, {{0, 0.5}});
    case 10: return with(sides4, {{0, 1.0 / 6}, {0, 5.0 / 6}});
    default: return {};
  }
}

void DrawPips(QPainter& p, const TCardSetLayout& l, int suit, int rank) {
  const double top = l.Height * 0.21;
  const double bottom = l.Height * 0.79;
  const double columnStep = l.Width * 0.2;
  QPainterPath pips;
  for (const TPipSpot& spot : PipSpots(rank)) {
    const QPointF centre(l.Width / 2.0 + spot.Column * columnStep, top + spot.Row * (bottom - top));
    // Pips below the middle face the other way, as on a real card.
    pips.addPath(SuitPath(Shape(suit), centre, l.PipSize, spot.Row > 0.5));
  }
  p.fillPath(pips, SuitInk(suit));
}

void DrawAce(QPainter& p, const TCardSetLayout& l, int suit) {
  const QPointF centre(l.Width / 2.0, l.Height / 2.0);
  // The Ace of spades traditionally carries the largest pip of the pack.
  const double size = l.Width * (suit == 3 ? 0.52 : 0.42);
  p.fillPath(SuitPath(Shape(suit), centre, size), SuitInk(suit));
  if (suit == 3) {
    p.setPen(QPen(kBlackInk, std::max(1.0, l.Width / 71.0)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, size * 0.68, size * 0.68);
  }
}

// The frame starts below the strip a tight fan leaves of a covered card, so
// that strip shows the corner index alone.
QRectF CourtFrame(const TCardSetLayout& l) {
  return QRectF(l.Width * 0.2, l.Height * 0.175, l.Width * 0.6, l.Height * 0.65);
}

// Drawing of one half of a court figure in a unit box: x 0..1 across the
// frame, y 0..1 from the frame's top to its middle line. `aspect` is the
// frame's width over its half height, used to keep round things round.
class TFigurePainter {
 public:
  TFigurePainter(QPainter& painter, double aspect, double unitPixels)
      : P(painter), Aspect(aspect), Hair(1.0 / unitPixels) {}

  void Polygon(std::initializer_list<QPointF> points, const QColor& fill, bool outline = true) {
    P.setPen(outline ? QPen(kBlackInk, Hair) : QPen(Qt::NoPen));
    P.setBrush(fill);
    P.drawPolygon(std::vector<QPointF>(points).data(), static_cast<int>(points.size()));
  }
  void Disc(QPointF c, double r, const QColor& fill, bool outline = true) {
    P.setPen(outline ? QPen(kBlackInk, Hair) : QPen(Qt::NoPen));
    P.setBrush(fill);
    P.drawEllipse(c, r, r * Aspect);
  }
  void Stroke(std::initializer_list<QPointF> points, const QColor& colour, double width) {
    P.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.setBrush(Qt::NoBrush);
    P.drawPolyline(std::vector<QPointF>(points).data(), static_cast<int>(points.size()));
  }
  void Path(const QPainterPath& path, const QColor& fill, bool outline = true) {
    P.setPen(outline ? QPen(kBlackInk, Hair) : QPen(Qt::NoPen));
    P.setBrush(fill);
    P.drawPath(path);
  }

 private:
  QPainter& P;
  const double Aspect;
  const double Hair;
};

void DrawFace(TFigurePainter& f, const QColor& ink) {
  f.Disc({0.5, 0.4}, 0.14, kSkin);
  f.Disc({0.445, 0.38}, 0.022, ink, false);
  f.Disc({0.555, 0.38}, 0.022, ink, false);
  f.Stroke({{0.46, 0.5}, {0.54, 0.5}}, kRedInk, 0.03);
}

void DrawRobe(TFigurePainter& f, const QColor& main, const QColor& panel, const QColor& trim) {
  f.Polygon({{0.1, 1.0}, {0.2, 0.64}, {0.5, 0.57}, {0.8, 0.64}, {0.9, 1.0}}, main);
  f.Polygon({{0.36, 1.0}, {0.4, 0.64}, {0.6, 0.64}, {0.64, 1.0}}, panel);
  f.Stroke({{0.26, 0.62}, {0.5, 0.86}, {0.74, 0.62}}, trim, 0.06);
}

// King: a pointed crown, a beard and a sceptre.
void DrawKing(TFigurePainter& f, const QColor& ink) {
  DrawRobe(f, ink, kBlue, kGold);
  f.Stroke({{0.82, 0.18}, {0.82, 0.98}}, kGold, 0.05);
  f.Disc({0.82, 0.16}, 0.045, kGold);
  DrawFace(f, ink);
  QPainterPath beard;
  beard.moveTo(0.37, 0.43);
  beard.quadTo(0.5, 0.74, 0.63, 0.43);
  beard.quadTo(0.5, 0.56, 0.37, 0.43);
  f.Path(beard, kHair);
  f.Polygon({{0.35, 0.29}, {0.35, 0.1}, {0.42, 0.2}, {0.5, 0.04}, {0.58, 0.2}, {0.65, 0.1}, {0.65, 0.29}},
            kGold);
  f.Disc({0.5, 0.24}, 0.025, kRedInk, false);
}

// Queen: long hair, a rounded tiara and a flower.
void DrawQueen(TFigurePainter& f, const QColor& ink) {
  QPainterPath hair;
  hair.moveTo(0.3, 0.66);
  hair.quadTo(0.24, 0.2, 0.5, 0.2);
  hair.quadTo(0.76, 0.2, 0.7, 0.66);
  hair.closeSubpath();
  f.Path(hair, kGold);
  DrawRobe(f, ink, kGold, kBlue);
  f.Polygon({{0.4, 0.6}, {0.6, 0.6}, {0.58, 0.7}, {0.42, 0.7}}, kSkin, false);
  DrawFace(f, ink);
  QPainterPath tiara;
  tiara.moveTo(0.38, 0.28);
  tiara.quadTo(0.5, 0.08, 0.62, 0.28);
  tiara.closeSubpath();
  f.Path(tiara, kGold);
  for (const double x : {0.43, 0.5, 0.57}) f.Disc({x, 0.2}, 0.02, kRedInk, false);
  f.Stroke({{0.22, 0.95}, {0.24, 0.72}}, QColor(40, 130, 60), 0.035);
  f.Disc({0.24, 0.7}, 0.06, kRedInk);
  f.Disc({0.24, 0.7}, 0.025, kGold, false);
}

// Jack: a flat cap with a plume, no beard, a halberd.
void DrawJack(TFigurePainter& f, const QColor& ink) {
  DrawRobe(f, kBlue, ink, kGold);
  // The staff stands on the right, clear of the suit pip in the frame's corner.
  f.Stroke({{0.82, 0.12}, {0.82, 0.98}}, QColor(120, 80, 40), 0.04);
  f.Polygon({{0.82, 0.12}, {0.95, 0.2}, {0.93, 0.32}, {0.82, 0.3}}, QColor(190, 190, 200));
  DrawFace(f, ink);
  f.Polygon({{0.34, 0.28}, {0.4, 0.14}, {0.6, 0.14}, {0.66, 0.28}}, ink);
  f.Stroke({{0.3, 0.29}, {0.7, 0.29}}, kGold, 0.05);
  QPainterPath plume;
  plume.moveTo(0.56, 0.16);
  plume.cubicTo(0.56, 0.08, 0.6, 0.03, 0.68, 0.0);
  plume.cubicTo(0.66, 0.07, 0.64, 0.12, 0.6, 0.17);
  plume.closeSubpath();
  f.Path(plume, kGold);
}

// Jester's hat with three bells, for the jokers.
void DrawJester(TFigurePainter& f, const QColor& ink) {
  DrawRobe(f, ink, kGold, kBlue);
  f.Polygon({{0.2, 0.66}, {0.3, 0.58}, {0.4, 0.66}, {0.5, 0.58}, {0.6, 0.66}, {0.7, 0.58}, {0.8, 0.66},
             {0.7, 0.74}, {0.3, 0.74}},
            kGold);
  DrawFace(f, ink);
  f.Polygon({{0.36, 0.3}, {0.14, 0.1}, {0.44, 0.2}, {0.5, 0.02}, {0.56, 0.2}, {0.86, 0.1}, {0.64, 0.3}},
            ink);
  for (const QPointF bell : {QPointF(0.14, 0.1), QPointF(0.5, 0.03), QPointF(0.86, 0.1)})
    f.Disc(bell, 0.04, kGold);
}

using TFigureDrawing = void (*)(TFigurePainter&, const QColor&);

// A double-ended framed figure: the top half drawn, then the same turned
// about the card's centre, with a small suit pip inside each frame corner.
void DrawFramedFigure(QPainter& p, const TCardSetLayout& l, TFigureDrawing figure, const QColor& ink,
                      const QPainterPath& framePip) {
  const QRectF frame = CourtFrame(l);
  p.fillRect(frame, kFrameFloor);
  for (int half = 0; half < 2; ++half) {
    p.save();
    if (half == 1) p.setTransform(QTransform::fromTranslate(l.Width, l.Height).rotate(180));
    p.setClipRect(QRectF(frame.left(), frame.top(), frame.width(), frame.height() / 2));
    p.translate(frame.topLeft());
    p.scale(frame.width(), frame.height() / 2);
    TFigurePainter painter(p, frame.width() / (frame.height() / 2), frame.width());
    figure(painter, ink);
    p.restore();
  }
  p.fillPath(framePip, ink);
  p.fillPath(HalfTurn(l, framePip), ink);
  const double line = std::max(1.0, l.Width / 71.0);
  p.setPen(QPen(ink, line));
  p.setBrush(Qt::NoBrush);
  p.drawRect(frame);
  p.drawLine(QPointF(frame.left(), frame.center().y()), QPointF(frame.right(), frame.center().y()));
}

void DrawCourt(QPainter& p, const TCardSetLayout& l, int suit, int value) {
  static constexpr std::array<TFigureDrawing, 3> kFigures = {DrawJack, DrawQueen, DrawKing};
  const QRectF frame = CourtFrame(l);
  const double pip = l.IndexPip;
  const QPointF pipCentre(frame.left() + pip * 0.5 + 2, frame.top() + pip * 0.5 + 2);
  DrawFramedFigure(p, l, kFigures[value - 10], SuitInk(suit), SuitPath(Shape(suit), pipCentre, pip));
}

// "JOKER" read downwards in each corner, instead of a rank and suit.
void DrawJokerIndices(QPainter& p, const TCardSetLayout& l, const QColor& ink) {
  const double letterHeight = l.IndexHeight * 0.62;
  const double letterWidth = l.IndexWidth * 0.74;
  const double left = l.IndexLeft + (l.IndexWidth - letterWidth) / 2;
  QPainterPath word;
  double top = l.IndexTop;
  for (const char c : std::string_view("JOKER")) {
    word.addPath(GlyphPath(c, QRectF(left, top, letterWidth, letterHeight), IndexStroke(l) * 0.8));
    top += letterHeight * 1.28;
  }
  word.addPath(HalfTurn(l, word));
  p.fillPath(word, ink);
}

}  // namespace

QImage FaceImage(const TCardSetLayout& l, int suit, int value) {
  QImage img = WhiteCard(l);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (value == 0) {
      DrawAce(p, l, suit);
    } else if (value < 10) {
      DrawPips(p, l, suit, value + 1);
    } else {
      DrawCourt(p, l, suit, value);
    }
    DrawIndices(p, l, suit, value);
  }
  FinishCardPicture(l, img);
  return img;
}

QImage JokerImage(const TCardSetLayout& l, int which) {
  const QColor ink = which == 2 ? kRedInk : kBlackInk;
  QImage img = WhiteCard(l);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = CourtFrame(l);
    const double star = l.IndexPip;
    QPainterPath pip = SuitPath(which == 2 ? TSuitShape::Heart : TSuitShape::Spade,
                                QPointF(frame.left() + star * 0.5 + 2, frame.top() + star * 0.5 + 2), star);
    DrawFramedFigure(p, l, DrawJester, ink, pip);
    DrawJokerIndices(p, l, ink);
  }
  FinishCardPicture(l, img);
  return img;
}

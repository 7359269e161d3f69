#include <QPainter>
#include <QPainterPath>

#include "CardPictures.h"
#include "CardShapes.h"

namespace {

constexpr QRgb kEdge = 0xFF5A5A5A;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
// The darkest ink allowed inside a card; see the note on rotation in the header.
constexpr QRgb kNearBlack = 0xFF080808;

// Pixel-centre test against a rounded rectangle of w x h at (left, top).
bool InsideRounded(double x, double y, double left, double top, double w, double h, double r) {
  if (x < left || y < top || x >= left + w || y >= top + h) return false;
  const double cx = x + 0.5 < left + r ? left + r : (x + 0.5 > left + w - r ? left + w - r : x + 0.5);
  const double cy = y + 0.5 < top + r ? top + r : (y + 0.5 > top + h - r ? top + h - r : y + 0.5);
  const double dx = x + 0.5 - cx;
  const double dy = y + 0.5 - cy;
  return dx * dx + dy * dy <= r * r;
}

// The card outline shifted down and right by the shadow thickness, in card
// coordinates: the shadow a lifted card throws.
bool InsideShadow(const TCardSetLayout& l, int x, int y) {
  const int t = l.ShadowThickness;
  return InsideRounded(x, y, t, t, l.Width, l.Height, l.CornerRadius);
}

QImage Blank(int w, int h, QRgb colour) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(colour);
  return img;
}

bool Dot(int x, int y) { return (x + y) % 2 == 0; }

// Where a strip lies relative to its card's top-left corner.
QPoint StripOrigin(const TCardSetLayout& l, bool rightStrip) {
  return rightStrip ? QPoint(l.Width, l.ShadowThickness) : QPoint(l.ShadowThickness, l.Height);
}

QSize StripSize(const TCardSetLayout& l, bool rightStrip) {
  return rightStrip ? QSize(l.ShadowThickness, l.Height - l.ShadowThickness)
                    : QSize(l.Width, l.ShadowThickness);
}

// Black card outline on white, `width` pixels thick, inset by `inset`.
void DrawBaseOutline(const TCardSetLayout& l, QImage& img, int inset, int width) {
  for (int y = 0; y < l.Height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < l.Width; ++x) {
      const bool outer = InsideRounded(x, y, inset, inset, l.Width - 2 * inset, l.Height - 2 * inset,
                                       l.CornerRadius);
      const bool inner =
          InsideRounded(x, y, inset + width, inset + width, l.Width - 2 * (inset + width),
                        l.Height - 2 * (inset + width), std::max(1, l.CornerRadius - width));
      if (outer && !inner) row[x] = kBlack;
    }
  }
}

// Sparse dots inside the outline: every `step`-th pixel of every `step`-th row.
void DotInterior(const TCardSetLayout& l, QImage& img, int step, QRgb colour) {
  for (int y = 0; y < l.Height; y += step) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = (y / step) % 2; x < l.Width; x += step)
      if (InsideOutline(l, x, y) && row[x] == kWhite) row[x] = colour;
  }
}

void FillSymbol(QImage& img, const QPainterPath& path, double stroke) {
  QPainter p(&img);
  // Base pictures are combined with AND: hard edges keep them free of the
  // grey fringes that would show as dirt on coloured tables.
  p.setRenderHint(QPainter::Antialiasing, false);
  if (stroke > 0) {
    p.setPen(QPen(Qt::black, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
  }
  p.drawPath(path);
}

}  // namespace

bool InsideOutline(const TCardSetLayout& l, int x, int y) {
  return InsideRounded(x, y, 0, 0, l.Width, l.Height, l.CornerRadius);
}

QImage CardMaskImage(const TCardSetLayout& l) {
  QImage img = Blank(l.Width, l.Height, kWhite);
  for (int y = 0; y < l.Height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < l.Width; ++x)
      if (InsideOutline(l, x, y)) row[x] = kBlack;
  }
  return img;
}

void FinishCardPicture(const TCardSetLayout& l, QImage& picture) {
  const auto inside = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < l.Width && y < l.Height && InsideOutline(l, x, y);
  };
  for (int y = 0; y < l.Height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < l.Width; ++x) {
      if (!inside(x, y)) {
        row[x] = kBlack;
      } else if (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1)) {
        row[x] = kEdge;
      } else if (qRed(row[x]) < 8 && qGreen(row[x]) < 8 && qBlue(row[x]) < 8) {
        row[x] = kNearBlack;
      }
    }
  }
}

QImage ShadowMask(const TCardSetLayout& l, bool rightStrip, bool inverse) {
  const QSize size = StripSize(l, rightStrip);
  const QPoint origin = StripOrigin(l, rightStrip);
  QImage img = Blank(size.width(), size.height(), inverse ? kBlack : kWhite);
  for (int y = 0; y < size.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < size.width(); ++x)
      if (InsideShadow(l, origin.x() + x, origin.y() + y)) row[x] = inverse ? kWhite : kBlack;
  }
  return img;
}

QImage ShadowStrip(const TCardSetLayout& l, bool rightStrip) {
  const QSize size = StripSize(l, rightStrip);
  const QPoint origin = StripOrigin(l, rightStrip);
  QImage img = Blank(size.width(), size.height(), kWhite);
  for (int y = 0; y < size.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const int cx = origin.x() + x;
      const int cy = origin.y() + y;
      // Dots counted in card coordinates so the two strips meet without a seam.
      if (InsideShadow(l, cx, cy) && Dot(cx, cy)) row[x] = 0xFF101010;
    }
  }
  return img;
}

QImage ShadeImage(const TCardSetLayout& l) {
  QImage img = Blank(l.Width, l.Height, kWhite);
  for (int y = 0; y < l.Height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < l.Width; ++x)
      if (InsideOutline(l, x, y) && Dot(x, y)) row[x] = 0xFF303030;
  }
  return img;
}

QImage BaseImage(const TCardSetLayout& l, int digit) {
  QImage img = Blank(l.Width, l.Height, kWhite);
  const int line = std::max(1, l.Width / 50);
  const double w = l.Width;
  const double h = l.Height;
  const QPointF centre(w / 2, h / 2);
  DrawBaseOutline(l, img, 0, line);
  switch (digit) {
    case 1:  // tableau piles and free cells: an outline over a light dotted floor
      DotInterior(l, img, 4, 0xFF808080);
      break;
    case 2: {  // foundations: the four suits, since the start rank differs from game to game
      DotInterior(l, img, 4, 0xFF808080);
      const double dx = w * 0.17;
      const double dy = h * 0.14;
      const double size = w * 0.22;
      FillSymbol(img, SuitPath(TSuitShape::Spade, centre + QPointF(-dx, -dy), size), 0);
      FillSymbol(img, SuitPath(TSuitShape::Heart, centre + QPointF(dx, -dy), size), 0);
      FillSymbol(img, SuitPath(TSuitShape::Diamond, centre + QPointF(-dx, dy), size), 0);
      FillSymbol(img, SuitPath(TSuitShape::Club, centre + QPointF(dx, dy), size), 0);
      break;
    }
    case 4: {  // a ring, the usual sign for "the stock can be turned again"
      QPainterPath ring;
      ring.addEllipse(centre, w * 0.26, w * 0.26);
      FillSymbol(img, ring, std::max(2.0, w * 0.06));
      break;
    }
    case 5: {  // a cross: nothing more to come from here
      QPainterPath cross;
      cross.moveTo(w * 0.28, h * 0.33);
      cross.lineTo(w * 0.72, h * 0.67);
      cross.moveTo(w * 0.72, h * 0.33);
      cross.lineTo(w * 0.28, h * 0.67);
      FillSymbol(img, cross, std::max(2.0, w * 0.06));
      break;
    }
    case 6: {  // a plain frame with a second, inner line
      DrawBaseOutline(l, img, std::max(3, l.Width / 12), line);
      break;
    }
    case 7:  // a denser floor for piles that deserve to stand out
      DotInterior(l, img, 2, 0xFF909090);
      FillSymbol(img, SuitPath(TSuitShape::Diamond, centre, w * 0.4), 0);
      break;
    default: break;
  }
  return img;
}

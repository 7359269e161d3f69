#include "CardSheet.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace {

const QColor kFelt(0, 112, 44);
const QColor kLabel(230, 240, 230);

struct TSheetReader {
  QDir Folder;
  QStringList& Problems;

  QImage Load(const QString& name) const {
    QImage img(Folder.filePath(name));
    if (img.isNull()) {
      Problems << name;
      return {};
    }
    return img.convertToFormat(QImage::Format_RGB32);
  }
};

// The table's way of drawing an upright picture: AND the mask, OR the picture.
void Combine(QImage& sheet, const QImage& picture, const QImage& mask, QPoint at) {
  for (int y = 0; y < picture.height() && at.y() + y < sheet.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(at.y() + y)) + at.x();
    const auto* pic = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    const auto* msk = mask.isNull() ? nullptr : reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    for (int x = 0; x < picture.width() && at.x() + x < sheet.width(); ++x) {
      const QRgb m = msk && x < mask.width() && y < mask.height() ? msk[x] : 0xFFFFFFFF;
      row[x] = 0xFF000000 | ((row[x] & m) | pic[x]);
    }
  }
}

void AndInto(QImage& sheet, const QImage& picture, QPoint at) {
  for (int y = 0; y < picture.height() && at.y() + y < sheet.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(at.y() + y)) + at.x();
    const auto* pic = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width() && at.x() + x < sheet.width(); ++x) row[x] &= pic[x];
  }
}

void CopyInto(QImage& sheet, const QImage& picture, QPoint at) {
  QPainter p(&sheet);
  p.drawImage(at, picture);
}

void MarkMissing(QImage& sheet, QRect where) {
  QPainter p(&sheet);
  p.setPen(QPen(Qt::red, 2));
  p.drawRect(where.adjusted(1, 1, -1, -1));
}

QString FaceName(int suit, int value) {
  return QString("%1%2.bmp").arg(value + 1, 2, 10, QChar('0')).arg(QChar("cdhs"[suit]));
}

}  // namespace

QStringList CardSetNames(const QString& cardsetsFolder) {
  QStringList names = QDir(cardsetsFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  // The set the program starts with comes first.
  const auto standard = std::find_if(names.begin(), names.end(),
                                     [](const QString& n) { return n.compare("Standard", Qt::CaseInsensitive) == 0; });
  if (standard != names.end()) std::rotate(names.begin(), standard, standard + 1);
  return names;
}

QImage RenderCardSheet(const QString& setFolder, QStringList& problems) {
  const TSheetReader reader{QDir(setFolder), problems};
  const QImage back1 = reader.Load("Back1.bmp");
  const QImage mask = reader.Load("CardMask.bmp");
  const QSize card = back1.isNull() ? QSize(71, 96) : back1.size();
  const int gap = std::max(4, card.width() / 8);
  const int columns = 13;
  const int rows = 7;
  const QPoint margin(gap * 2, gap * 2 + 14);
  QImage sheet(margin.x() * 2 + columns * (card.width() + gap), margin.y() + gap + rows * (card.height() + gap),
               QImage::Format_RGB32);
  sheet.fill(kFelt);
  {
    QPainter p(&sheet);
    p.setPen(kLabel);
    p.drawText(QPoint(gap * 2, gap + 12),
               QString("%1  (%2 x %3)").arg(QFileInfo(setFolder).fileName()).arg(card.width()).arg(card.height()));
  }
  const auto cell = [&](int column, int row) {
    return QPoint(margin.x() + column * (card.width() + gap), margin.y() + row * (card.height() + gap));
  };
  const auto place = [&](const QImage& picture, QPoint at) {
    if (picture.isNull())
      MarkMissing(sheet, QRect(at, card));
    else
      Combine(sheet, picture, mask, at);
  };
  for (int suit = 0; suit < 4; ++suit)
    for (int value = 0; value < 13; ++value) place(reader.Load(FaceName(suit, value)), cell(value, suit));
  place(reader.Load("01joker.bmp"), cell(0, 4));
  place(reader.Load("02joker.bmp"), cell(1, 4));
  for (int n = 1; n <= 9 && QFileInfo::exists(reader.Folder.filePath(QString("Back%1.bmp").arg(n))); ++n)
    place(reader.Load(QString("Back%1.bmp").arg(n)), cell(1 + n, 4));

  // Row 6: the mask as it is, then everything that is combined with AND.
  const QStringList andPictures = {"Shade.bmp",    "Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp",
                                   "Bottom05.bmp", "Bottom06.bmp", "Bottom07.bmp"};
  if (!mask.isNull()) CopyInto(sheet, mask, cell(0, 5));
  for (int i = 0; i < andPictures.size(); ++i) {
    const QImage picture = reader.Load(andPictures[i]);
    if (picture.isNull())
      MarkMissing(sheet, QRect(cell(1 + i, 5), card));
    else
      AndInto(sheet, picture, cell(1 + i, 5));
  }

  // Row 7: a lifted card with its dotted shadow, then the four shadow masks.
  const QImage bottom = reader.Load("Shadow00.bmp");
  const QImage right = reader.Load("Shadow01.bmp");
  const QPoint lifted = cell(0, 6);
  if (!bottom.isNull() && !right.isNull()) {
    const int t = right.width();
    AndInto(sheet, right, lifted + QPoint(card.width(), t));
    AndInto(sheet, bottom, lifted + QPoint(t, t + right.height()));
  }
  place(reader.Load("13h.bmp"), lifted);
  const QStringList masks = {"Shadow00M.bmp", "Shadow00IM.bmp", "Shadow01M.bmp", "Shadow01IM.bmp"};
  for (int i = 0; i < masks.size(); ++i) {
    const QImage picture = reader.Load(masks[i]);
    if (!picture.isNull()) CopyInto(sheet, picture, cell(2 + i, 6) + QPoint(i * card.width() / 2, 0));
  }
  return sheet;
}

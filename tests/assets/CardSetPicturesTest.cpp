#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <set>

#include "AssetFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xFFFFFF;

bool IsRed(QRgb c) { return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90; }
bool IsInk(QRgb c) { return std::min({qRed(c), qGreen(c), qBlue(c)}) < 128; }

// Connected groups (8-neighbourhood) of ink pixels whose bounding box is
// centred in the middle of the card, so corner indices (rank and suit side
// by side across the top and bottom corners) do not count.
int CentralInkBlobs(const QImage& face) {
  const int w = face.width();
  const int h = face.height();
  std::vector<char> seen(static_cast<size_t>(w * h), 0);
  int blobs = 0;
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) {
      if (seen[y * w + x] || !IsInk(assets::Pixel(face, x, y))) continue;
      int minX = x, maxX = x, minY = y, maxY = y;
      std::vector<QPoint> stack{{x, y}};
      seen[y * w + x] = 1;
      while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = p.x() + dx, ny = p.y() + dy;
            // The grey edge of the card is ink too; stay off the outermost ring.
            if (nx < 2 || ny < 2 || nx >= w - 2 || ny >= h - 2 || seen[ny * w + nx]) continue;
            if (!IsInk(assets::Pixel(face, nx, ny))) continue;
            seen[ny * w + nx] = 1;
            stack.push_back({nx, ny});
          }
      }
      const double centre = (minX + maxX) / 2.0;
      const double middle = (minY + maxY) / 2.0;
      if (centre > w * 0.22 && centre < w * 0.78 && middle > h * 0.15 && middle < h * 0.85) ++blobs;
    }
  return blobs;
}

QByteArray Digest(const QImage& img) {
  return QCryptographicHash::hash(
      QByteArrayView(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()), QCryptographicHash::Sha1);
}

}  // namespace

// The table ANDs the mask in and ORs the picture over it: any colour outside
// the outline would show as dirt in the corners, and pure black inside would
// turn into holes when the card is drawn rotated (black is then transparent).
TEST(CardSetPictures, CardPicturesAreBlackExactlyWhereTheMaskIsWhite) {
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path folder = assets::CardsetsDir() / set.Name;
    const QImage mask = assets::Load(folder / "CardMask.bmp");
    ASSERT_FALSE(mask.isNull()) << set.Name;
    EXPECT_EQ(assets::Pixel(mask, 0, 0), kWhite) << "corners are cut";
    EXPECT_EQ(assets::Pixel(mask, set.Width - 1, set.Height - 1), kWhite);
    EXPECT_EQ(assets::Pixel(mask, set.Width / 2, 0), kBlack) << "edges are not";
    EXPECT_EQ(assets::Pixel(mask, set.Width / 2, set.Height / 2), kBlack);

    std::vector<std::string> pictures = assets::FaceFiles();
    for (const std::string& back : assets::BackFiles(folder)) pictures.push_back(back);
    for (const std::string& name : pictures) {
      const QImage card = assets::Load(folder / name);
      ASSERT_EQ(card.size(), mask.size()) << set.Name << "/" << name;
      int faults = 0;
      for (int y = 0; y < set.Height; ++y)
        for (int x = 0; x < set.Width; ++x) {
          const QRgb m = assets::Pixel(mask, x, y);
          const QRgb c = assets::Pixel(card, x, y);
          ASSERT_TRUE(m == kBlack || m == kWhite) << "mask is not two-coloured at " << x << "," << y;
          if ((m == kWhite) != (c == kBlack)) ++faults;
        }
      EXPECT_EQ(faults, 0) << set.Name << "/" << name;
    }
  }
}

TEST(CardSetPictures, ShadowMasksAreInversesAndTheDotsStayInsideThem) {
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path folder = assets::CardsetsDir() / set.Name;
    for (const std::string strip : {"Shadow00", "Shadow01"}) {
      const QImage picture = assets::Load(folder / (strip + ".bmp"));
      const QImage mask = assets::Load(folder / (strip + "M.bmp"));
      const QImage inverse = assets::Load(folder / (strip + "IM.bmp"));
      ASSERT_EQ(mask.size(), picture.size());
      ASSERT_EQ(inverse.size(), picture.size());
      int shadowPixels = 0;
      for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
          const QRgb m = assets::Pixel(mask, x, y);
          ASSERT_TRUE(m == kBlack || m == kWhite);
          EXPECT_EQ(assets::Pixel(inverse, x, y), m ^ 0xFFFFFF) << set.Name << strip << " " << x << "," << y;
          if (m == kBlack) {
            ++shadowPixels;
          } else {
            EXPECT_EQ(assets::Pixel(picture, x, y), kWhite) << "shadow dot outside its mask";
          }
        }
      // Most of the strip is shadow; only the far rounded corner is cut away.
      EXPECT_GT(shadowPixels, mask.width() * mask.height() * 3 / 4) << set.Name << strip;
    }
  }
}

TEST(CardSetPictures, SuitsHaveTheirColoursAndPipCardsTheirPipCount) {
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path folder = assets::CardsetsDir() / set.Name;
    for (int suit = 0; suit < 4; ++suit) {
      const bool red = suit == 1 || suit == 2;
      for (int value = 0; value < 10; ++value) {
        SCOPED_TRACE(set.Name + "/" + assets::FaceFile(suit, value));
        const QImage face = assets::Load(folder / assets::FaceFile(suit, value));
        int redPixels = 0;
        for (int y = 0; y < face.height(); ++y)
          for (int x = 0; x < face.width(); ++x) redPixels += IsRed(assets::Pixel(face, x, y));
        if (red) {
          EXPECT_GT(redPixels, set.Width);
        } else {
          EXPECT_EQ(redPixels, 0);
        }
        if (value >= 1) {
          EXPECT_EQ(CentralInkBlobs(face), value + 1);
        }
      }
    }
  }
}

TEST(CardSetPictures, EveryFaceAndEveryBackOfASetIsDistinct) {
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path folder = assets::CardsetsDir() / set.Name;
    std::vector<std::string> pictures = assets::FaceFiles();
    for (const std::string& back : assets::BackFiles(folder)) pictures.push_back(back);
    std::set<QByteArray> digests;
    for (const std::string& name : pictures) {
      const QImage img = assets::Load(folder / name);
      ASSERT_FALSE(img.isNull()) << name;
      EXPECT_TRUE(digests.insert(Digest(img)).second) << set.Name << "/" << name << " repeats another picture";
    }
  }
}

namespace {

// The strip of a card that the tightest fan of the layout leaves in view:
// the fan step less the tight cut, both taken in proportion to the height.
int TightestFanStep(int cardHeight) {
  const double scale = cardHeight / 96.0;
  return static_cast<int>(20 * scale) - static_cast<int>(4 * scale);
}

int StripDifference(const QImage& a, const QImage& b, int rows) {
  int differing = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = assets::Pixel(a, x, y);
      const QRgb q = assets::Pixel(b, x, y);
      differing += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 150;
    }
  return differing;
}

}  // namespace

// In a tight fan (Spider's columns) only a strip of each covered card shows:
// rank and suit must both be whole in it, so a club never reads as a spade
// nor a diamond as a heart, and no two cards show the same strip.
TEST(CardSetPictures, ATightlyFannedCardShowsItsWholeSuitBesideItsRank) {
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path folder = assets::CardsetsDir() / set.Name;
    const int rows = TightestFanStep(set.Height);
    // A suit cut off at the strip's edge leaves the two black (or the two
    // red) suits nearly alike there; whole index pips differ clearly.
    const int enough = std::max(3, rows * rows / 64);
    std::set<QByteArray> strips;
    for (int value = 0; value < 13; ++value) {
      for (const auto& [one, other] : {std::pair{0, 3}, std::pair{1, 2}}) {
        const QImage a = assets::Load(folder / assets::FaceFile(one, value));
        const QImage b = assets::Load(folder / assets::FaceFile(other, value));
        EXPECT_GE(StripDifference(a, b, rows), enough)
            << set.Name << ": " << assets::FaceFile(one, value) << " and " << assets::FaceFile(other, value)
            << " look alike in the top " << rows << " rows";
        for (const QImage* face : {&a, &b})
          EXPECT_TRUE(strips.insert(Digest(face->copy(0, 0, face->width(), rows))).second)
              << set.Name << " value " << value << ": the strip repeats another card's";
      }
    }
  }
}

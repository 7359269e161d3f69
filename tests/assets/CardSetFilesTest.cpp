#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>

#include "AssetFiles.h"

namespace fs = std::filesystem;

namespace {

struct TBmpHeader {
  bool Valid = false;
  int Width = 0;
  int Height = 0;
  std::string Problem;
};

std::uint32_t Le32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t Le16(const std::vector<unsigned char>& b, size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Reads the header the way any BMP loader would and insists on the plain
// uncompressed 24-bit form, with the pixel data the header promises.
TBmpHeader ReadBmpHeader(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  TBmpHeader h;
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return h.Problem = "not a BMP", h;
  if (Le32(bytes, 2) != bytes.size()) return h.Problem = "size field differs from file size", h;
  if (Le32(bytes, 14) < 40) return h.Problem = "old-style header", h;
  if (Le16(bytes, 26) != 1 || Le16(bytes, 28) != 24) return h.Problem = "not 24 bits per pixel", h;
  if (Le32(bytes, 30) != 0) return h.Problem = "compressed", h;
  h.Width = static_cast<int>(Le32(bytes, 18));
  h.Height = std::abs(static_cast<std::int32_t>(Le32(bytes, 22)));
  const size_t stride = (static_cast<size_t>(h.Width) * 3 + 3) / 4 * 4;
  if (Le32(bytes, 10) + stride * h.Height > bytes.size()) return h.Problem = "pixel data truncated", h;
  h.Valid = true;
  return h;
}

void ExpectBmp(const fs::path& file, int width, int height) {
  SCOPED_TRACE(file.string());
  ASSERT_TRUE(fs::exists(file));
  const TBmpHeader h = ReadBmpHeader(file);
  ASSERT_TRUE(h.Valid) << h.Problem;
  EXPECT_EQ(h.Width, width);
  EXPECT_EQ(h.Height, height);
}

}  // namespace

TEST(CardSetFiles, EverySetHasEveryPictureAsA24BitBmpOfItsSize) {
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path folder = assets::CardsetsDir() / set.Name;
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    for (const std::string& face : assets::FaceFiles()) ExpectBmp(folder / face, set.Width, set.Height);
    for (const char* name : {"CardMask.bmp", "Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp", "Bottom05.bmp",
                             "Bottom06.bmp", "Bottom07.bmp", "Shade.bmp"})
      ExpectBmp(folder / name, set.Width, set.Height);

    // The right strip's width is the shadow thickness; the bottom strip
    // must be exactly that high so the two meet under the card's corner.
    const TBmpHeader right = ReadBmpHeader(folder / "Shadow01.bmp");
    ASSERT_TRUE(right.Valid) << set.Name;
    const int t = right.Width;
    EXPECT_GT(t, 1);
    EXPECT_LT(t, set.Width / 8);
    for (const char* name : {"Shadow00.bmp", "Shadow00M.bmp", "Shadow00IM.bmp"})
      ExpectBmp(folder / name, set.Width, t);
    for (const char* name : {"Shadow01.bmp", "Shadow01M.bmp", "Shadow01IM.bmp"})
      ExpectBmp(folder / name, t, set.Height - t);
  }
}

TEST(CardSetFiles, BacksAreNumberedWithoutGapsAndAtLeastSix) {
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path folder = assets::CardsetsDir() / set.Name;
    const std::vector<std::string> backs = assets::BackFiles(folder);
    EXPECT_GE(backs.size(), 6u) << set.Name;
    for (const std::string& back : backs) ExpectBmp(folder / back, set.Width, set.Height);
    // A back beyond the first gap would never be offered, a sign of a stale file.
    for (size_t n = backs.size() + 2; n <= 9; ++n)
      EXPECT_FALSE(fs::exists(folder / ("Back" + std::to_string(n) + ".bmp"))) << set.Name << " " << n;
  }
}

TEST(CardSetFiles, SmallSetIsMarkedAndOthersAreNot) {
  // The "M_" prefix is what tells the program a set is the small kind.
  for (const assets::TShippedSet& set : assets::ShippedSets())
    EXPECT_EQ(set.Name.rfind("M_", 0) == 0, set.Width < 71) << set.Name;
}

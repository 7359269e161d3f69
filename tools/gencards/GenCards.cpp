// gencards: writes the program's own card sets into a card sets folder.
//
//   gencards CARDSETS_FOLDER [SET_NAME...]
//
// Without set names every shipped set is written. The output depends on
// nothing but this program, so two runs give the same bytes.

#include <QImage>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "CardPictures.h"
#include "CardSetLayout.h"

namespace fs = std::filesystem;

namespace {

// "01c.bmp" .. "13s.bmp": the number is the value plus one, two digits.
std::string FaceFileName(int suit, int value) {
  static constexpr char kSuitLetters[] = "cdhs";
  const int number = value + 1;
  std::string name = number < 10 ? "0" + std::to_string(number) : std::to_string(number);
  return name + kSuitLetters[suit] + ".bmp";
}

constexpr int kDotsPerMeter = 3780;  // 96 dots per inch

class TSetWriter {
 public:
  explicit TSetWriter(fs::path folder) : Folder(std::move(folder)) {}

  void Write(const std::string& fileName, QImage picture) {
    const fs::path file = Folder / fileName;
    // The header's resolution would otherwise come from the screen Qt finds,
    // which would make the bytes depend on the machine and its display.
    picture.setDotsPerMeterX(kDotsPerMeter);
    picture.setDotsPerMeterY(kDotsPerMeter);
    // Qt writes 32-bit pictures as 24-bit BMP without a colour table.
    if (!picture.save(QString::fromStdString(file.string()), "BMP")) {
      std::fprintf(stderr, "gencards: cannot write %s\n", file.c_str());
      Failed = true;
    }
  }
  bool Ok() const { return !Failed; }

 private:
  const fs::path Folder;
  bool Failed = false;
};

// Backs are counted from Back1 until the first missing number, so a stale
// higher-numbered back left from an older run would change the count.
void RemoveStaleBacks(const fs::path& folder, int keep) {
  for (int n = keep + 1; n <= 9; ++n) {
    std::error_code ignored;
    fs::remove(folder / ("Back" + std::to_string(n) + ".bmp"), ignored);
  }
}

bool WriteSet(const fs::path& cardsets, const TCardSetLayout& layout) {
  const fs::path folder = cardsets / layout.Name;
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "gencards: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
    return false;
  }
  TSetWriter out(folder);
  for (int suit = 0; suit < 4; ++suit)
    for (int value = 0; value < 13; ++value) out.Write(FaceFileName(suit, value), FaceImage(layout, suit, value));
  out.Write("01joker.bmp", JokerImage(layout, 1));
  out.Write("02joker.bmp", JokerImage(layout, 2));
  for (int design = 1; design <= BackDesignCount(); ++design)
    out.Write("Back" + std::to_string(design) + ".bmp", BackImage(layout, design));
  RemoveStaleBacks(folder, BackDesignCount());
  out.Write("CardMask.bmp", CardMaskImage(layout));
  out.Write("Shadow00.bmp", ShadowStrip(layout, false));
  out.Write("Shadow01.bmp", ShadowStrip(layout, true));
  out.Write("Shadow00M.bmp", ShadowMask(layout, false, false));
  out.Write("Shadow00IM.bmp", ShadowMask(layout, false, true));
  out.Write("Shadow01M.bmp", ShadowMask(layout, true, false));
  out.Write("Shadow01IM.bmp", ShadowMask(layout, true, true));
  for (const int digit : {1, 2, 4, 5, 6, 7})
    out.Write("Bottom0" + std::to_string(digit) + ".bmp", BaseImage(layout, digit));
  out.Write("Shade.bmp", ShadeImage(layout));
  return out.Ok();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gencards CARDSETS_FOLDER [SET_NAME...]\n");
    return 2;
  }
  const fs::path cardsets = argv[1];
  const auto started = std::chrono::steady_clock::now();
  bool ok = true;
  int written = 0;
  for (const TCardSetLayout& layout : ShippedCardSets()) {
    bool wanted = argc == 2;
    for (int i = 2; i < argc; ++i) wanted = wanted || layout.Name == argv[i];
    if (!wanted) continue;
    ok = WriteSet(cardsets, layout) && ok;
    ++written;
  }
  if (written == 0) {
    std::fprintf(stderr, "gencards: no such card set\n");
    return 2;
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  std::printf("gencards: %d card set(s) in %s (%lld ms)\n", written, cardsets.c_str(),
              static_cast<long long>(ms.count()));
  return ok ? 0 : 1;
}

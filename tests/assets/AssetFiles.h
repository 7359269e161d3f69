#pragma once

#include <QImage>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace assets {

struct TShippedSet {
  std::string Name;
  int Width;
  int Height;
};

// The sets the program relies on: "Standard" at the classic size, a large
// one and a small "M_" one.
inline const std::vector<TShippedSet>& ShippedSets() {
  static const std::vector<TShippedSet> sets = {{"Standard", 71, 96}, {"Large", 142, 192}, {"M_Small", 55, 75}};
  return sets;
}

inline std::filesystem::path CardsetsDir() { return testpaths::ProgramDir() / "Cardsets"; }

inline std::string FaceFile(int suit, int value) {
  const int n = value + 1;
  return (n < 10 ? "0" : "") + std::to_string(n) + "cdhs"[suit] + ".bmp";
}

// Every face picture of a set: the 52 cards, then the two jokers.
inline std::vector<std::string> FaceFiles() {
  std::vector<std::string> files;
  for (int suit = 0; suit < 4; ++suit)
    for (int value = 0; value < 13; ++value) files.push_back(FaceFile(suit, value));
  files.push_back("01joker.bmp");
  files.push_back("02joker.bmp");
  return files;
}

inline std::vector<std::string> BackFiles(const std::filesystem::path& set) {
  std::vector<std::string> files;
  for (int n = 1; n <= 9 && std::filesystem::exists(set / ("Back" + std::to_string(n) + ".bmp")); ++n)
    files.push_back("Back" + std::to_string(n) + ".bmp");
  return files;
}

inline QImage Load(const std::filesystem::path& file) {
  return QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_RGB32);
}

inline QRgb Pixel(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

}  // namespace assets

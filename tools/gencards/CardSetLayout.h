#pragma once

#include <string>
#include <vector>

// Everything that decides how one generated card set looks. Sizes are pixels
// of the finished pictures; the drawing code derives the rest from them.
struct TCardSetLayout {
  std::string Name;
  int Width = 0;
  int Height = 0;
  int CornerRadius = 0;
  // Thickness of the drop shadow strips, which is also the table's lift offset.
  int ShadowThickness = 0;
  // Corner index: the rank glyph box and the small suit pip beside it. The
  // index must end above the smallest fan step of the set (16 pixels at
  // 96 pixels high, in proportion for the others), or covered cards in a
  // tight fan lose their suit.
  double IndexLeft = 0;
  double IndexTop = 0;
  double IndexWidth = 0;
  double IndexHeight = 0;
  double IndexPip = 0;
  // Height of a pip in the body of Two to Ten.
  double PipSize = 0;
};

// The sets the build ships. "Standard" must stay first: it is the set every
// other part of the program falls back to.
std::vector<TCardSetLayout> ShippedCardSets();

// Number of back designs written into every set (Back1.bmp .. BackN.bmp).
int BackDesignCount();

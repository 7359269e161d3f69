#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <QColor>
#include <QImage>

class QWidget;

// Darkening and tinting of shadows and shades, and the radial colour blend of
// the win animation. Pictures are worked on as RGB32, scan line by scan line.

// Darkening levels 0..100: level e scales a channel by (e + 155) / 255, so
// 100 leaves it unchanged and 0 keeps about 61 %.
inline constexpr int DarkenLevels = 101;

// Entry (v, e) = round(v * (e + 155) / 255), ties to even.
std::uint8_t DarkenValue(int v, int level);

// Colour modes: 0 darkens all channels; 1..7 tint by darkening only some of
// them at level 60 (1 green+blue, 2 red+blue, 3 red+green, 4 blue, 5 green,
// 6 red, 7 none).
//
// Without `soft` mode 0 uses level 20 everywhere. With `soft` the level
// ramps up (lighter) towards the far edges: for a bottom strip (`vertical`
// false) over its last 120 columns and down its rows, for a right strip
// (`vertical` true) over its last 100 rows and across its columns.
void Darken(QImage& image, bool soft, bool vertical, int mode);

// Rounded distances from the centre of a (2r+1) x (2r+1) square.
class TDistanceTable {
public:
    explicit TDistanceTable(int radius);
    int Radius() const { return R; }
    // i, j in -r..r
    std::uint16_t At(int i, int j) const { return Values[std::size_t((i + R) * (2 * R + 1) + (j + R))]; }

private:
    int R;
    std::vector<std::uint16_t> Values;
};

TDistanceTable DistanceTable(int radius);

// Blends `colour` into the disc of radius `table.Radius()` around (x, y):
// full `strength` percent at the centre, fading to nothing at the rim.
void RadialBlend(int x, int y, QImage& image, const TDistanceTable& table, int strength, QColor colour);

// The operating system is recent enough for the newer dialog look. Always
// true here: every supported desktop has the fonts and styles it implies.
bool IsVistaOrLater();

// Gives the form "Segoe UI" one point larger when that family is installed
// and the form does not use it already; otherwise leaves the font alone.
void SetVistaFont(QWidget* form);

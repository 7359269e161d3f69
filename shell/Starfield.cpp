#include "shell/Starfield.h"

#include "cardtable/Random.h"

#include <algorithm>

namespace {

constexpr int FarDepth = TStarfield::StarCount;
// A new field spreads the stars at every depth; a reborn star starts far
// away near the middle, hence the smaller scale.
constexpr int FirstScale = 512;
constexpr int RebornScale = 128;

// Squares are clipped here rather than by a painter: a frame is 500 of them.
// Returns the part of the surface filled (empty when none).
QRect FillSquare(QImage& surface, int left, int top, int side, QRgb colour)
{
    if (side <= 0)
        return {};
    const QRect square = QRect(left, top, side, side).intersected(surface.rect());
    if (square.isEmpty())
        return {};
    const qsizetype stride = surface.bytesPerLine();
    uchar* bits = surface.bits();
    for (int y = square.top(); y <= square.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + square.left(), line + square.right() + 1, colour);
    }
    return square;
}

} // namespace

int TStarfield::Draw(int n) const { return RandomSource ? RandomSource(n) : Random(n); }

void TStarfield::Initialise(int width, int height)
{
    Cx = width / 2;
    Cy = height / 2;
    R = (Cx + Cy) / 2;
    for (int i = 0; i < StarCount; ++i) {
        TStar& star = Field[std::size_t(i)];
        star.LastLeft = -1;
        star.LastTop = -1;
        star.LastSize = 0;
        star.X = (Draw(2 * Cx) - Cx) * FirstScale;
        star.Y = (Draw(2 * Cy) - Cy) * FirstScale;
        star.Z = i + 1;
    }
}

void TStarfield::Reborn(TStar& star) const
{
    star.Z = FarDepth;
    star.X = (Draw(2 * Cx) - Cx) * RebornScale;
    star.Y = (Draw(2 * Cy) - Cy) * RebornScale;
}

void TStarfield::Step(QImage& surface, bool erase)
{
    ChangedRects.clear();
    if (Cx == 0 || Cy == 0)
        return;
    // Scan-line writes need 32-bit pixels; anything else is converted once.
    if (surface.depth() != 32)
        surface = surface.convertToFormat(QImage::Format_RGB32);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    for (TStar& star : Field) {
        QRect erased;
        if (erase)
            erased = FillSquare(surface, star.LastLeft, star.LastTop, 2 * star.LastSize, black);
        // Divisions truncate toward zero, as the positions always have.
        const int size = R / star.Z;
        const int left = star.X / star.Z + Cx - size;
        const int top = star.Y / star.Z + Cy - size;
        const QRect drawn = FillSquare(surface, left, top, size, white);
        // One rectangle per star: the new square mostly lies in the old one's.
        if (const QRect touched = erased | drawn; !touched.isEmpty())
            ChangedRects.push_back(touched);
        star.LastLeft = left;
        star.LastTop = top;
        star.LastSize = size;
        if (--star.Z <= 0)
            Reborn(star);
    }
}

#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// Raster operations of the card table on 32-bit pictures, scan line by scan
// line. Both pictures must be 32 bits per pixel (RGB32 or ARGB32); every
// operation clips against the destination, so cards may hang over an edge.
namespace tableblit {

enum class TRop {
    Copy,         // dst = src
    And,          // dst &= src (masks: black clears, white keeps)
    Or,           // dst |= src (pictures black outside their outline)
    Transparent,  // dst = src except where src has the key colour
};

// Combines `source` (or its `from` part) into `target` with its top-left at `at`.
void Blit(QImage& target, QPoint at, const QImage& source, TRop op, QRgb key = 0);
void Blit(QImage& target, QPoint at, const QImage& source, const QRect& from, TRop op, QRgb key = 0);

// Combines `source` stretched (nearest pixel) into the rectangle `to`.
void StretchBlit(QImage& target, const QRect& to, const QImage& source, TRop op);

// Copies `picture` where `mask` is black and keeps the target where it is
// white: dst = (dst & mask) | (picture & ~mask). Used for turned cards, whose
// black ink must not turn transparent the way a colour key would.
void MaskedCopy(QImage& target, QPoint at, const QImage& picture, const QImage& mask);

// Blit(mask, And) then Blit(picture, Or) in one pass over the target, as a
// card is drawn: the mask clears the outline, the picture fills it.
void MaskThenOr(QImage& target, QPoint at, const QImage& mask, const QImage& picture);

// Saves the pixels of `area` into `saved` (grown when too small; pixels of
// `area` outside `surface` are left undefined and never restored).
void SaveArea(const QImage& surface, const QRect& area, QImage& saved);
// Copies the part of `saved` that belongs to `area` back onto `surface`.
void RestoreArea(QImage& surface, const QRect& area, const QImage& saved);

// The colour a transparently drawn picture leaves out: its bottom-left pixel.
QRgb TransparentKey(const QImage& picture);

// 32-bit view of a picture (a no-op for RGB32/ARGB32).
QImage As32(const QImage& picture);

} // namespace tableblit

#include "cardtable/CardTableBlit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tableblit {

namespace {

bool Is32(const QImage& picture)
{
    const auto format = picture.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

constexpr QRgb ColourBits = 0x00FFFFFFu;

// Four pixels as one value (SSE2 on x86-64): the same operators as on one
// pixel, so each raster operation below is written once for both.
using TFourPixels = QRgb __attribute__((vector_size(16)));

// Applies `op` to four pixels at a time and then to the rest one by one. The
// rows never overlap: a picture blitted onto itself is detached from its
// source copy before the first write.
template <typename TOp>
void CombineEach(QRgb* dst, const QRgb* src, int count, TOp op)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        TFourPixels d;
        TFourPixels s;
        std::memcpy(&d, dst + i, sizeof d);
        std::memcpy(&s, src + i, sizeof s);
        d = op(d, s);
        std::memcpy(dst + i, &d, sizeof d);
    }
    for (; i < count; ++i)
        dst[i] = op(dst[i], src[i]);
}

// CombineEach with two source rows.
template <typename TOp>
void CombineEach(QRgb* dst, const QRgb* first, const QRgb* second, int count, TOp op)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        TFourPixels d;
        TFourPixels a;
        TFourPixels b;
        std::memcpy(&d, dst + i, sizeof d);
        std::memcpy(&a, first + i, sizeof a);
        std::memcpy(&b, second + i, sizeof b);
        d = op(d, a, b);
        std::memcpy(dst + i, &d, sizeof d);
    }
    for (; i < count; ++i)
        dst[i] = op(dst[i], first[i], second[i]);
}

void CombineRow(QRgb* dst, const QRgb* src, int count, TRop op, QRgb key)
{
    switch (op) {
    case TRop::Copy:
        std::memcpy(dst, src, std::size_t(count) * sizeof(QRgb));
        break;
    case TRop::And:
        CombineEach(dst, src, count, [](auto d, auto s) { return d & s; });
        break;
    case TRop::Or:
        CombineEach(dst, src, count, [](auto d, auto s) { return d | s; });
        break;
    case TRop::Transparent:
        key &= ColourBits;
        CombineEach(dst, src, count,
                    [key](auto d, auto s) { return (s & ColourBits) != key ? s | 0xFF000000u : d; });
        break;
    }
}

} // namespace

QImage As32(const QImage& picture)
{
    return Is32(picture) ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

QRgb TransparentKey(const QImage& picture)
{
    if (picture.isNull())
        return 0;
    return picture.pixel(0, picture.height() - 1);
}

void Blit(QImage& target, QPoint at, const QImage& source, TRop op, QRgb key)
{
    Blit(target, at, source, source.rect(), op, key);
}

void Blit(QImage& target, QPoint at, const QImage& source, const QRect& from, TRop op, QRgb key)
{
    if (target.isNull() || source.isNull())
        return;
    const QImage src = As32(source);
    const QRect part = from & src.rect();
    if (part.isEmpty())
        return;
    // Where the part lands, clipped to the target.
    const QPoint shift = at - from.topLeft();
    const QRect landed = part.translated(shift) & target.rect();
    if (landed.isEmpty())
        return;
    const int count = landed.width();
    // One detach for the whole target, not one per scan line.
    uchar* const targetBits = target.bits();
    const qsizetype targetStride = target.bytesPerLine();
    const uchar* const sourceBits = src.constBits();
    const qsizetype sourceStride = src.bytesPerLine();
    for (int y = landed.top(); y <= landed.bottom(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(targetBits + y * targetStride) + landed.left();
        const auto* row = reinterpret_cast<const QRgb*>(sourceBits + (y - shift.y()) * sourceStride);
        CombineRow(dst, row + (landed.left() - shift.x()), count, op, key);
    }
}

void StretchBlit(QImage& target, const QRect& to, const QImage& source, TRop op)
{
    if (target.isNull() || source.isNull() || to.isEmpty())
        return;
    const QImage src = As32(source);
    const QRect landed = to & target.rect();
    if (landed.isEmpty())
        return;
    const int sw = src.width();
    const int sh = src.height();
    std::vector<int> columns(std::size_t(landed.width()));
    for (int x = landed.left(); x <= landed.right(); ++x)
        columns[std::size_t(x - landed.left())] = int((long long)(x - to.left()) * sw / to.width());
    for (int y = landed.top(); y <= landed.bottom(); ++y) {
        const int sy = int((long long)(y - to.top()) * sh / to.height());
        const auto* row = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        auto* dst = reinterpret_cast<QRgb*>(target.scanLine(y)) + landed.left();
        for (int i = 0; i < landed.width(); ++i) {
            const QRgb pixel = row[columns[std::size_t(i)]];
            switch (op) {
            case TRop::Copy: dst[i] = pixel; break;
            case TRop::And: dst[i] &= pixel; break;
            case TRop::Or: dst[i] |= pixel; break;
            case TRop::Transparent: dst[i] = pixel; break;
            }
        }
    }
}

void MaskedCopy(QImage& target, QPoint at, const QImage& picture, const QImage& mask)
{
    if (target.isNull() || picture.isNull() || mask.isNull())
        return;
    const QImage src = As32(picture);
    const QImage msk = As32(mask);
    const QRect part = src.rect() & msk.rect();
    const QRect landed = part.translated(at) & target.rect();
    if (landed.isEmpty())
        return;
    const int sx = landed.left() - at.x();
    for (int y = landed.top(); y <= landed.bottom(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(target.scanLine(y)) + landed.left();
        const auto* row = reinterpret_cast<const QRgb*>(src.constScanLine(y - at.y())) + sx;
        const auto* keep = reinterpret_cast<const QRgb*>(msk.constScanLine(y - at.y())) + sx;
        CombineEach(dst, row, keep, landed.width(),
                    [](auto d, auto p, auto k) { return (d & k) | (p & ~k & ColourBits); });
    }
}

void MaskThenOr(QImage& target, QPoint at, const QImage& mask, const QImage& picture)
{
    if (target.isNull() || mask.isNull() || mask.size() != picture.size()) {
        Blit(target, at, mask, TRop::And);
        Blit(target, at, picture, TRop::Or);
        return;
    }
    const QImage msk = As32(mask);
    const QImage src = As32(picture);
    const QRect landed = QRect(at, msk.size()) & target.rect();
    if (landed.isEmpty())
        return;
    uchar* const targetBits = target.bits();
    const qsizetype targetStride = target.bytesPerLine();
    const int sx = landed.left() - at.x();
    for (int y = landed.top(); y <= landed.bottom(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(targetBits + y * targetStride) + landed.left();
        const auto* cut = reinterpret_cast<const QRgb*>(msk.constScanLine(y - at.y())) + sx;
        const auto* row = reinterpret_cast<const QRgb*>(src.constScanLine(y - at.y())) + sx;
        CombineEach(dst, cut, row, landed.width(), [](auto d, auto m, auto p) { return (d & m) | p; });
    }
}

void SaveArea(const QImage& surface, const QRect& area, QImage& saved)
{
    if (saved.width() < area.width() || saved.height() < area.height() || !Is32(saved))
        saved = QImage(std::max(saved.width(), area.width()), std::max(saved.height(), area.height()),
                       QImage::Format_RGB32);
    Blit(saved, QPoint(0, 0), surface, area, TRop::Copy);
}

void RestoreArea(QImage& surface, const QRect& area, const QImage& saved)
{
    const QRect inside = area & surface.rect();
    if (inside.isEmpty())
        return;
    Blit(surface, inside.topLeft(), saved, inside.translated(-area.topLeft()), TRop::Copy);
}

} // namespace tableblit

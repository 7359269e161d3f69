#include "cardtable/ImageArrayUnit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Ties to even, as the rotation arithmetic has always rounded.
int RoundEven(double z) { return int(std::nearbyint(z)); }

// RoundEven for the per-pixel mapping, without a library call: the SSE2
// conversion rounds in the current mode (to nearest, ties to even), as
// nearbyint does. Callers pass values well inside the int range.
inline int RoundNearest(double z)
{
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(z));
#else
    return RoundEven(z);
#endif
}

} // namespace

void TImageArray::Load(const QImage& source)
{
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    SourceWidth = rgb.width();
    SourceHeight = rgb.height();
    Pixels.resize(std::size_t(SourceWidth) * std::size_t(SourceHeight));
    for (int y = 0; y < SourceHeight; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::copy(line, line + SourceWidth, Pixels.begin() + std::ptrdiff_t(y) * SourceWidth);
    }
    BottomLeftColour = Pixels.empty() ? 0xFF000000u : Pixels[std::size_t(SourceHeight - 1) * SourceWidth];
}

TTurnedGeometry TurnedGeometry(QSize source, QPoint centre, double scale, double angle)
{
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const int sourceWidth = source.width();
    const int sourceHeight = source.height();
    const int width = std::abs(RoundEven(scale * sourceHeight * s)) + std::abs(RoundEven(scale * sourceWidth * c));
    const int height = std::abs(RoundEven(scale * sourceWidth * s)) + std::abs(RoundEven(scale * sourceHeight * c));
    if (width <= 0 || height <= 0)
        return {QSize(std::max(width, 0), std::max(height, 0)), QPoint()};
    // Target-to-source is a turn by +angle, so source-to-target turns back.
    const double dx = centre.x() - sourceWidth / 2;
    const double dy = centre.y() - sourceHeight / 2;
    return {QSize(width, height),
            QPoint(width / 2 + RoundEven(scale * (c * dx + s * dy)), height / 2 + RoundEven(scale * (c * dy - s * dx)))};
}

QPoint TImageArray::Render(QImage& target, QPoint centre, bool fillWhite, bool mirror, double scale,
                           double angle) const
{
    const TTurnedGeometry geometry = TurnedGeometry(QSize(SourceWidth, SourceHeight), centre, scale, angle);
    target = QImage(geometry.Size, QImage::Format_RGB32);
    if (target.isNull() || Pixels.empty()) {
        target = QImage();
        return {};
    }
    const QRgb fill = fillWhite ? 0xFFFFFFFFu : BottomLeftColour;
    if (angle == 0.0)
        RenderScaled(target, scale, mirror);
    else
        RenderRotated(target, scale, angle, mirror, fill);
    return geometry.Centre;
}

void TImageArray::RenderScaled(QImage& target, double scale, bool mirror) const
{
    std::vector<int> columns(std::size_t(target.width()));
    for (int x = 0; x < target.width(); ++x) {
        const int column = std::min(int(x / scale), SourceWidth - 1);
        columns[std::size_t(x)] = mirror ? SourceWidth - column - 1 : column;
    }
    for (int y = 0; y < target.height(); ++y) {
        const int row = std::min(int(y / scale), SourceHeight - 1);
        const QRgb* source = Pixels.data() + std::ptrdiff_t(row) * SourceWidth;
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        if (scale == 1.0 && !mirror) {
            std::memcpy(line, source, std::size_t(target.width()) * sizeof(QRgb));
            continue;
        }
        for (int x = 0; x < target.width(); ++x)
            line[x] = source[columns[std::size_t(x)]];
    }
}

void TImageArray::RenderRotated(QImage& target, double scale, double angle, bool mirror, QRgb fill) const
{
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const int width = target.width();
    const int height = target.height();
    // The products per column and per row are the very terms the mapping
    // has always summed, so hoisting them keeps every pixel the same.
    std::vector<double> cosColumn(static_cast<std::size_t>(width));
    std::vector<double> sinColumn(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        const int k = 2 * x - (width - 1);
        cosColumn[std::size_t(x)] = c * k;
        sinColumn[std::size_t(x)] = s * k;
    }
    // Locals, not members: the stores into the target could otherwise alias
    // the source size and force it to be read again for every pixel.
    const int sourceWidth = SourceWidth;
    const int sourceHeight = SourceHeight;
    const QRgb* const pixels = Pixels.data();
    const bool unscaled = scale == 1.0;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        const int l = 2 * y - height + 1;
        const double sinRow = s * l;
        const double cosRow = c * l;
        for (int x = 0; x < width; ++x) {
            double u = cosColumn[std::size_t(x)] - sinRow;
            double v = sinColumn[std::size_t(x)] + cosRow;
            if (!unscaled) {
                u /= scale;
                v /= scale;
            }
            // Integer division truncates towards zero, exactly as the mapping
            // has always done at the picture's left and top edges.
            int column = (sourceWidth + RoundNearest(u) - 1) / 2;
            const int row = (sourceHeight + RoundNearest(v) - 1) / 2;
            if (mirror)
                column = sourceWidth - column - 1;
            const bool inside = column >= 0 && column < sourceWidth && row >= 0 && row < sourceHeight;
            line[x] = inside ? pixels[std::ptrdiff_t(row) * sourceWidth + column] : fill;
        }
    }
}

TRenderedImage RotatePicture(const QImage& source, double angle, bool fillWhite)
{
    TRenderedImage result;
    const TImageArray array(source);
    result.Centre = array.Render(result.Image, QPoint(source.width() / 2, source.height() / 2), fillWhite, false,
                                 1.0, angle);
    return result;
}

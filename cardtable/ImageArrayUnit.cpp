#include "cardtable/ImageArrayUnit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Ties to even, as the rotation arithmetic has always rounded.
int RoundEven(double z) { return int(std::nearbyint(z)); }

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

QPoint TImageArray::Render(QImage& target, QPoint centre, bool fillWhite, bool mirror, double scale,
                           double angle) const
{
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const int width = std::abs(RoundEven(scale * SourceHeight * s)) + std::abs(RoundEven(scale * SourceWidth * c));
    const int height = std::abs(RoundEven(scale * SourceWidth * s)) + std::abs(RoundEven(scale * SourceHeight * c));
    target = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    if (target.isNull() || Pixels.empty()) {
        target = QImage();
        return {};
    }
    const QRgb fill = fillWhite ? 0xFFFFFFFFu : BottomLeftColour;
    if (angle == 0.0)
        RenderScaled(target, scale, mirror);
    else
        RenderRotated(target, scale, angle, mirror, fill);

    // Target-to-source is a turn by +angle, so source-to-target turns back.
    const double dx = centre.x() - SourceWidth / 2;
    const double dy = centre.y() - SourceHeight / 2;
    return {width / 2 + RoundEven(scale * (c * dx + s * dy)), height / 2 + RoundEven(scale * (c * dy - s * dx))};
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
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        const int l = 2 * y - height + 1;
        for (int x = 0; x < width; ++x) {
            const int k = 2 * x - (width - 1);
            // Integer division truncates towards zero, exactly as the mapping
            // has always done at the picture's left and top edges.
            int column = (SourceWidth + RoundEven((c * k - s * l) / scale) - 1) / 2;
            const int row = (SourceHeight + RoundEven((s * k + c * l) / scale) - 1) / 2;
            if (mirror)
                column = SourceWidth - column - 1;
            const bool inside = column >= 0 && column < SourceWidth && row >= 0 && row < SourceHeight;
            line[x] = inside ? Pixels[std::size_t(row) * SourceWidth + std::size_t(column)] : fill;
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

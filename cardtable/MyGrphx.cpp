#include "cardtable/MyGrphx.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace {

using DarkenTable = std::array<std::array<std::uint8_t, DarkenLevels>, 256>;

// Built once; a lookup replaces a multiplication per channel.
const DarkenTable& Table()
{
    static const DarkenTable table = [] {
        DarkenTable t{};
        for (int v = 0; v < 256; ++v)
            for (int e = 0; e < DarkenLevels; ++e) {
                const int product = v * (e + 155);
                // 255 is odd, so an exact tie never occurs and half-up equals ties-to-even.
                t[std::size_t(v)][std::size_t(e)] = std::uint8_t((2 * product + 255) / 510);
            }
        return t;
    }();
    return table;
}

struct ChannelMask {
    bool Red, Green, Blue;
};

constexpr ChannelMask ModeChannels[8] = {
    {true, true, true},  {false, true, true}, {true, false, true}, {true, true, false},
    {false, false, true}, {false, true, false}, {true, false, false}, {false, false, false},
};

int SoftLevel(int row, int column, int height, int width, bool vertical)
{
    if (!vertical) {
        const int ramp = std::clamp(column - (width - 120), 0, 100);
        return std::min(std::max(ramp, row * 100 / height), 100);
    }
    const int ramp = std::max(row - (height - 100), 0);
    return std::min(std::max(ramp, column * 100 / width), 100);
}

} // namespace

std::uint8_t DarkenValue(int v, int level)
{
    return Table()[std::size_t(std::clamp(v, 0, 255))][std::size_t(std::clamp(level, 0, DarkenLevels - 1))];
}

void Darken(QImage& image, bool soft, bool vertical, int mode)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const ChannelMask channels = ModeChannels[std::clamp(mode, 0, 7)];
    if (mode == 7)
        return;
    const DarkenTable& table = Table();
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int level = 60;
            if (mode == 0)
                level = soft ? SoftLevel(y + 1, x + 1, height, width, vertical) : 20;
            const QRgb p = line[x];
            const auto darken = [&](bool on, int v) { return on ? table[std::size_t(v)][std::size_t(level)] : v; };
            const int r = darken(channels.Red, qRed(p));
            const int g = darken(channels.Green, qGreen(p));
            const int b = darken(channels.Blue, qBlue(p));
            line[x] = qRgb(r, g, b);
        }
    }
}

TDistanceTable::TDistanceTable(int radius)
    : R(std::max(radius, 0))
    , Values(std::size_t(2 * R + 1) * std::size_t(2 * R + 1))
{
    for (int i = -R; i <= R; ++i)
        for (int j = -R; j <= R; ++j)
            Values[std::size_t((i + R) * (2 * R + 1) + (j + R))] = std::uint16_t(std::nearbyint(std::sqrt(double(i * i + j * j))));
}

TDistanceTable DistanceTable(int radius) { return TDistanceTable(radius); }

void RadialBlend(int x, int y, QImage& image, const TDistanceTable& table, int strength, QColor colour)
{
    const int r = table.Radius();
    if (image.isNull() || r <= 0)
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const int top = std::max(y - r, 0);
    const int bottom = std::min(y + r, image.height() - 1);
    const int left = std::max(x - r, 0);
    const int right = std::min(x + r, image.width() - 1);
    for (int row = top; row <= bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = left; column <= right; ++column) {
            const int m = table.At(column - x, row - y);
            if (m > r)
                continue;
            const double a = (1.0 - double(m) / r) * strength / 100.0;
            const QRgb old = line[column];
            auto mix = [a](int c, int o) { return int(c * a + (1.0 - a) * o); };
            line[column] = qRgb(mix(colour.red(), qRed(old)), mix(colour.green(), qGreen(old)),
                                mix(colour.blue(), qBlue(old)));
        }
    }
}

bool IsVistaOrLater() { return true; }

void SetVistaFont(QWidget* form)
{
    static const QString family = QStringLiteral("Segoe UI");
    if (form == nullptr || !QFontDatabase::hasFamily(family) || form->font().family() == family)
        return;
    QFont font = form->font();
    font.setFamily(family);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + 1);
    form->setFont(font);
}

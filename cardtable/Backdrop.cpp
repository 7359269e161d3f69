#include "cardtable/Backdrop.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

int RoundEven(double z) { return int(std::nearbyint(z)); }

void FillRect(QImage& target, int left, int top, int width, int height, QRgb colour)
{
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(left + width, target.width());
    const int y1 = std::min(top + height, target.height());
    for (int y = y0; y < y1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        std::fill(line + x0, line + std::max(x1, x0), colour);
    }
}

// F + t * d / scale per channel, the division rounding towards zero.
QRgb Blend(QColor from, QColor to, long t, long scale)
{
    auto channel = [&](int f, int e) { return int(f + t * (e - f) / scale); };
    return qRgb(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

} // namespace

void TBackdrop::Notify() const
{
    if (RefreshEvent)
        RefreshEvent();
}

template <typename T> void TBackdrop::SetBand(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    if (!NewMode_)
        Notify();
}

template <typename T> void TBackdrop::SetTwoColour(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    if (NewMode_)
        Notify();
}

void TBackdrop::SetEnabled(bool value)
{
    if (value == Enabled_)
        return;
    Enabled_ = value;
    if (value)
        Notify();
}

void TBackdrop::SetNewMode(bool value)
{
    if (value == NewMode_)
        return;
    NewMode_ = value;
    Notify();
}

void TBackdrop::SetChangeRColour(bool value) { SetBand(ChangeR, value); }
void TBackdrop::SetChangeGColour(bool value) { SetBand(ChangeG, value); }
void TBackdrop::SetChangeBColour(bool value) { SetBand(ChangeB, value); }
void TBackdrop::SetDirection(TFillDirection value) { SetBand(Direction_, value); }
void TBackdrop::SetStartR(std::uint8_t value) { SetBand(StartR_, value); }
void TBackdrop::SetStartG(std::uint8_t value) { SetBand(StartG_, value); }
void TBackdrop::SetStartB(std::uint8_t value) { SetBand(StartB_, value); }
void TBackdrop::SetNewColorFrom(QColor value) { SetTwoColour(From, value); }
void TBackdrop::SetNewColorTo(QColor value) { SetTwoColour(To, value); }
void TBackdrop::SetNewType(TGradientStyle value) { SetTwoColour(Type, value); }

void TBackdrop::Paint(QImage& target) const
{
    if (!Enabled_ || target.isNull())
        return;
    if (target.format() != QImage::Format_RGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    if (NewMode_)
        PaintTwoColour(target);
    else
        PaintBands(target);
}

void TBackdrop::PaintBands(QImage& target) const
{
    const bool across = Direction_ == drLeftRight || Direction_ == drRightLeft;
    const int length = across ? target.width() : target.height();
    const double step = length / 256.0;
    const int band = RoundEven(length / 256.0 + 0.5);
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = qRgb(ChangeR ? i : StartR_, ChangeG ? i : StartG_, ChangeB ? i : StartB_);
        const bool reversed = Direction_ == drRightLeft || Direction_ == drDownUp;
        const int start = RoundEven((reversed ? 255 - i : i) * step);
        if (across)
            FillRect(target, start, 0, band, target.height(), colour);
        else
            FillRect(target, 0, start, target.width(), band, colour);
    }
}

void TBackdrop::PaintTwoColour(QImage& target) const
{
    const int width = target.width();
    const int height = target.height();
    if (From.rgb() == To.rgb()) {
        target.fill(From.rgb() | 0xFF000000u);
        return;
    }
    switch (Type) {
    case gsHorizontal: {
        auto* first = reinterpret_cast<QRgb*>(target.scanLine(0));
        for (int x = 0; x < width; ++x)
            first[x] = Blend(From, To, x, width);
        for (int y = 1; y < height; ++y)
            std::copy(first, first + width, reinterpret_cast<QRgb*>(target.scanLine(y)));
        break;
    }
    case gsVertical:
        for (int y = 0; y < height; ++y)
            FillRect(target, 0, y, width, 1, Blend(From, To, y, height));
        break;
    case gsDiagonalLeftRight:
    case gsDiagonalRightLeft: {
        // The same sum per pixel as ever (so the same pixels), with the
        // column fractions and the 1024 colours worked out once.
        std::vector<double> columns(std::size_t(std::max(width, 0)));
        for (int x = 0; x < width; ++x) {
            const int column = Type == gsDiagonalLeftRight ? x : width - 1 - x;
            columns[std::size_t(x)] = double(column) / width;
        }
        std::array<QRgb, 1024> colours;
        for (std::size_t t = 0; t < colours.size(); ++t)
            colours[t] = Blend(From, To, long(t), 1024);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
            const double row = double(y) / height;
            for (int x = 0; x < width; ++x) {
                const long t = long((row + columns[std::size_t(x)]) * 512.0);
                line[x] = t >= 0 && t < 1024 ? colours[std::size_t(t)] : Blend(From, To, t, 1024);
            }
        }
        break;
    }
    }
}

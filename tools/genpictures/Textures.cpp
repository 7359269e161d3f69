// Background textures for the table. Every pattern is made of functions
// that repeat with the picture's size, so tiling shows no seam.
#include "Pictures.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int Side = 512;
constexpr float TwoPi = 2.0f * std::numbers::pi_v<float>;

int Clamp(float value) { return std::clamp(int(std::lround(value)), 0, 255); }

QRgb Shade(QColor base, float factor)
{
    return qRgb(Clamp(base.red() * factor), Clamp(base.green() * factor), Clamp(base.blue() * factor));
}

QRgb Mix(QColor a, QColor b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return qRgb(Clamp(a.red() + (b.red() - a.red()) * t), Clamp(a.green() + (b.green() - a.green()) * t),
                Clamp(a.blue() + (b.blue() - a.blue()) * t));
}

template <typename TPixel>
QImage Paint(TPixel pixel)
{
    QImage image(Side, Side, QImage::Format_RGB32);
    for (int y = 0; y < Side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Side; ++x)
            row[x] = pixel(float(x), float(y));
    }
    return image;
}

// Felt: an even colour with soft blotches and a fine fibrous grain.
QImage Felt(QColor base, std::uint32_t seed)
{
    const TFractalNoise blotches(4, 3, seed);
    const TFractalNoise grain(128, 2, seed + 1);
    return Paint([&](float x, float y) {
        const float b = blotches.At(x, y, Side) - 0.5f;
        const float g = grain.At(x, y, Side) - 0.5f;
        return Shade(base, 1.0f + 0.10f * b + 0.16f * g);
    });
}

// Wood: grain lines running down the picture, bent by noise; whole numbers
// of lines across keep it tiling.
QImage Wood()
{
    const TFractalNoise bend(4, 3, 71);
    const TFractalNoise fibre(64, 4, 2, 72);
    const QColor light(196, 140, 84), dark(120, 72, 36);
    return Paint([&](float x, float y) {
        const float u = x / Side + 0.08f * bend.At(x, y, Side);
        const float rings = 0.5f + 0.5f * std::sin(TwoPi * 14.0f * u);
        const float streak = std::pow(rings, 3.0f);
        const float f = fibre.At(x, y, Side);
        return Mix(light, dark, 0.65f * streak + 0.35f * f);
    });
}

// Linen: threads over and under each other, each thread a little uneven.
QImage Linen()
{
    const TFractalNoise slub(32, 2, 81);
    const QColor base(222, 210, 184);
    constexpr float Threads = 128.0f;
    return Paint([&](float x, float y) {
        const float warp = 0.5f + 0.5f * std::cos(TwoPi * Threads * x / Side);
        const float weft = 0.5f + 0.5f * std::cos(TwoPi * Threads * y / Side);
        const bool over = (int(x * Threads / Side) + int(y * Threads / Side)) % 2 == 0;
        const float thread = over ? warp : weft;
        const float s = slub.At(x, y, Side) - 0.5f;
        return Shade(base, 0.86f + 0.14f * thread + 0.12f * s);
    });
}

// Marble: veins along a diagonal, twisted by turbulence.
QImage Marble()
{
    const TFractalNoise turbulence(4, 5, 91);
    const QColor stone(236, 234, 228), vein(110, 110, 118);
    return Paint([&](float x, float y) {
        const float phase = 3.0f * x / Side + 2.0f * y / Side + 2.2f * turbulence.At(x, y, Side);
        const float v = std::pow(std::abs(std::sin(TwoPi * phase)), 0.25f);
        const float cloud = turbulence.At(y, x, Side);
        return Mix(vein, Mix(stone, QColor(214, 212, 206), cloud), v);
    });
}

// Slate: dark layered stone with faint cleavage lines and flecks.
QImage Slate()
{
    const TFractalNoise layers(4, 8, 4, 101);
    const TFractalNoise flecks(256, 1, 102);
    const QColor base(62, 70, 80);
    return Paint([&](float x, float y) {
        const float l = layers.At(x, y, Side);
        const float cleave = 0.5f + 0.5f * std::sin(TwoPi * (6.0f * y / Side + 0.6f * l));
        const float fleck = flecks.At(x, y, Side) > 0.83f ? 0.18f : 0.0f;
        return Shade(base, 0.78f + 0.35f * l + 0.10f * cleave + fleck);
    });
}

// Parchment: warm paper with darker clouds and speckles.
QImage Parchment()
{
    const TFractalNoise clouds(4, 5, 111);
    const TFractalNoise speckle(256, 1, 112);
    const QColor paper(238, 224, 186), age(190, 150, 96);
    return Paint([&](float x, float y) {
        const float c = clouds.At(x, y, Side);
        const float s = speckle.At(x, y, Side) > 0.88f ? 0.25f : 0.0f;
        return Mix(paper, age, 0.9f * (c - 0.35f) + s);
    });
}

} // namespace

std::vector<TPicture> Textures()
{
    return {
        {"Green Felt.jpg", Felt(QColor(24, 110, 52), 11)},
        {"Blue Felt.jpg", Felt(QColor(28, 62, 132), 12)},
        {"Red Felt.jpg", Felt(QColor(128, 28, 36), 13)},
        {"Purple Felt.jpg", Felt(QColor(78, 40, 112), 14)},
        {"Oak.jpg", Wood()},
        {"Linen.jpg", Linen()},
        {"Marble.jpg", Marble()},
        {"Slate.jpg", Slate()},
        {"Parchment.jpg", Parchment()},
    };
}

#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

// Value noise that repeats across the picture's edges: lattice points are
// taken modulo the lattice size, so a texture made of it tiles without seams.
// Seeded explicitly: the same seed always gives the same picture.
class TTileNoise {
public:
    TTileNoise(int cellsX, int cellsY, std::uint32_t seed)
        : CellsX(cellsX), CellsY(cellsY), Values(std::size_t(cellsX * cellsY))
    {
        std::mt19937 random(seed);
        for (float& value : Values)
            value = float(random() >> 8) / float(1u << 24);
    }

    // u, v in lattice cells; any value, wrapped.
    float At(float u, float v) const
    {
        const float fu = std::floor(u), fv = std::floor(v);
        const int x0 = Wrap(int(fu), CellsX), y0 = Wrap(int(fv), CellsY);
        const int x1 = Wrap(x0 + 1, CellsX), y1 = Wrap(y0 + 1, CellsY);
        const float tu = Smooth(u - fu), tv = Smooth(v - fv);
        const float top = Lerp(Value(x0, y0), Value(x1, y0), tu);
        const float bottom = Lerp(Value(x0, y1), Value(x1, y1), tu);
        return Lerp(top, bottom, tv);
    }

    int SizeX() const { return CellsX; }
    int SizeY() const { return CellsY; }

private:
    static float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }
    static float Lerp(float a, float b, float t) { return a + (b - a) * t; }
    static int Wrap(int i, int n) { return ((i % n) + n) % n; }
    float Value(int x, int y) const { return Values[std::size_t(y * CellsX + x)]; }

    int CellsX;
    int CellsY;
    std::vector<float> Values;
};

// Several octaves of tiling noise over a square picture of `side` pixels:
// octave k has base * 2^k cells each way (fewer cells down than across make
// streaks that run down). Result in 0..1.
class TFractalNoise {
public:
    TFractalNoise(int baseCells, int octaves, std::uint32_t seed) : TFractalNoise(baseCells, baseCells, octaves, seed) {}
    TFractalNoise(int baseX, int baseY, int octaves, std::uint32_t seed)
    {
        for (int k = 0; k < octaves; ++k)
            Octaves.emplace_back(baseX << k, baseY << k, seed * 7919u + std::uint32_t(k) * 104729u);
    }

    float At(float x, float y, int side) const
    {
        float sum = 0.0f, weight = 0.0f, amplitude = 1.0f;
        for (const TTileNoise& octave : Octaves) {
            sum += amplitude * octave.At(x * float(octave.SizeX()) / float(side), y * float(octave.SizeY()) / float(side));
            weight += amplitude;
            amplitude *= 0.5f;
        }
        return sum / weight;
    }

private:
    std::vector<TTileNoise> Octaves;
};

#pragma once

#include <QImage>
#include <QRect>

#include <array>
#include <functional>
#include <vector>

// The black picture with stars flying out of its centre: the start screen,
// the about box and the win show draw it. Positions are fixed-point numbers
// divided by the depth, so a star speeds up and grows as it comes near.
// The stars take their places from the program's one random generator
// unless the owner gives the field a generator of its own.
class TStarfield {
public:
    static constexpr int StarCount = 500;

    // 0 .. n - 1 for the stars' places; empty: the program's generator.
    std::function<int(int n)> RandomSource;

    struct TStar {
        int X = 0; // horizontal position times 512 (times 128 once reborn)
        int Y = 0;
        int Z = 0; // depth: 500 far away, 1 right in front
        int LastLeft = -1;
        int LastTop = -1;
        int LastSize = 0;
    };

    // Scatters the stars over a drawing area of width x height, the centre
    // at half of each; the radius becomes (cx + cy) div 2.
    void Initialise(int width, int height);

    // A frame that erases each star's previous square before drawing it anew.
    void NormalFrame(QImage& surface) { Step(surface, true); }
    // A frame that leaves the previous squares: the stars draw white trails.
    void WhiteoutFrame(QImage& surface) { Step(surface, false); }
    // One frame; nothing before Initialise or for an area without size.
    void Step(QImage& surface, bool erase);

    // The size a star of depth 1 has; the about box halves it.
    int Radius() const { return R; }
    void SetRadius(int radius) { R = radius; }
    int CentreX() const { return Cx; }
    int CentreY() const { return Cy; }
    const std::array<TStar, StarCount>& Stars() const { return Field; }

    // The part of the surface the last frame touched (empty when none), so
    // a caller repaints only that.
    const std::vector<QRect>& Changed() const { return ChangedRects; }

private:
    void Reborn(TStar& star) const;
    int Draw(int n) const;

    std::array<TStar, StarCount> Field{};
    int Cx = 0;
    int Cy = 0;
    int R = 0;
    std::vector<QRect> ChangedRects;
};

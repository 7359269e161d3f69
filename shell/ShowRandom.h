#pragma once

#include <cstdint>
#include <random>

// Random numbers for the decorations (the win show, the flourish): seeded
// from the clock so each run draws new patterns, and apart from the game's
// generator, whose sequence decides the deals and must not depend on how
// long a show ran.
class TShowRandom {
public:
    TShowRandom();
    // 0 .. n - 1; 0 when n <= 0.
    int Below(int n);

private:
    std::minstd_rand Generator;
};

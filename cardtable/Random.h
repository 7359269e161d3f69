#pragma once

#include <cstdint>

// The one program-wide pseudo-random generator. Its state before a shuffle is
// the game's seed and is stored in saved games, so the step below must never
// change: seed := seed * 134775813 + 1 (mod 2^32).
std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t seed);

// Advances the generator and returns the high 32 bits of seed * n: 0..n-1
// (0 when n <= 0).
std::int32_t Random(std::int32_t n);

// Seeds the generator from the clock.
void Randomize();

#include "cardtable/Random.h"

#include <chrono>

namespace {
std::uint32_t Seed = 0;
}

std::uint32_t RandSeed() { return Seed; }

void SetRandSeed(std::uint32_t seed) { Seed = seed; }

std::int32_t Random(std::int32_t n)
{
    Seed = Seed * 134775813u + 1u;
    if (n <= 0)
        return 0;
    const std::uint64_t product = std::uint64_t(Seed) * std::uint64_t(std::uint32_t(n));
    return std::int32_t(product >> 32);
}

void Randomize()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    Seed = std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

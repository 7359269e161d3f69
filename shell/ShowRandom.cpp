#include "shell/ShowRandom.h"

#include <chrono>

namespace {

std::uint32_t ClockSeed()
{
    // Two shows made within one clock tick still differ: a counter is mixed in.
    static std::uint32_t made = 0;
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seeds{std::uint32_t(now), std::uint32_t(std::uint64_t(now) >> 32), ++made};
    std::uint32_t seed = 0;
    seeds.generate(&seed, &seed + 1);
    return seed;
}

} // namespace

TShowRandom::TShowRandom() : Generator(ClockSeed()) {}

int TShowRandom::Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(Generator); }

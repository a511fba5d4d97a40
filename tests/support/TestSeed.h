// Random moments of tests: drawn from KESTRELIA_TEST_SEED when it is set, else
// from a seed drawn once. The seed is printed either way, so that a failure at
// a random moment can be run again at the same moments.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

inline uint32_t TestSeed()
{
    static const uint32_t seed = [] {
        const char* given = std::getenv("KESTRELIA_TEST_SEED");
        const uint32_t drawn = given && *given ? static_cast<uint32_t>(std::stoul(given)) : std::random_device{}();
        std::printf("Random moments from KESTRELIA_TEST_SEED=%u\n", drawn);
        return drawn;
    }();
    return seed;
}

// A number in [lowest, highest], the same for the same seed and `which`.
inline int DrawnBetween(int lowest, int highest, uint32_t which)
{
    std::mt19937 random(TestSeed() ^ (which * 2654435761u));
    return std::uniform_int_distribution<int>(lowest, highest)(random);
}

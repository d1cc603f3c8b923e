#pragma once
// Random numbers for wipe bytes and file names. The generator is seeded from
// the system's random source, so two runs in the same second differ.

#include <cstdint>
#include <random>

inline std::mt19937 MakeSeededGenerator() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    return std::mt19937(seed);
}

// Levels the benchmarks run on: generated ones with a fixed seed, so every
// run measures the same walls, and the shipped maze.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/LevelFiles.h"

// A level of grid size 24 around the viewer with `walls` flags set at random
// (fixed seed): 1000 makes a dense level with walls on every side.
inline std::string RandomLevel(int walls, std::uint32_t seed) {
    constexpr int N = 24;
    constexpr int Flags = 2 * (N + 1) * (N + 1);
    std::vector<char> set(Flags, 0);
    for (int k = 0; k < walls && k < Flags; ++k) {
        set[static_cast<std::size_t>(k)] = 1;
    }
    // Fisher-Yates with mt19937's own output (specified by the standard),
    // not a distribution (which is not), so the level is the same everywhere.
    std::mt19937 random(seed);
    for (int k = Flags - 1; k > 0; --k) {
        const auto j = static_cast<std::size_t>(random() % static_cast<std::uint32_t>(k + 1));
        std::swap(set[static_cast<std::size_t>(k)], set[j]);
    }
    std::vector<SetFlag> flags;
    for (int k = 0; k < Flags; ++k) {
        if (set[static_cast<std::size_t>(k)] != 0) {
            flags.push_back({k / 2 / (N + 1), k / 2 % (N + 1), k % 2 == 0 ? 'A' : 'B'});
        }
    }
    return GridLevel(std::to_string(N), N, flags);
}

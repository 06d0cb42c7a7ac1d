// The program's one shared state: the wall table, the view variables and the
// frame counters. The shell owns a single Module1 for the whole run and passes
// it by name to every routine; a test builds a fresh one with `Module1 state;`.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

// One wall panel in viewer space: x to the right, y straight ahead (depth),
// the eye at the origin; every wall spans heights -1 to +1.
//
// The four coordinates are 32-bit on purpose: every turn rounds them back to
// float, and that rounding is part of how the walk drifts and looks.
struct WallRecord {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    // The loader sets it to the distance of the wall's node from the eye.
    // Each frame then recomputes it as the mean of the two endpoints'
    // horizontal distances from the eye and takes it as the sort key of the
    // far-to-near order; 0 marks a wall already handled in this frame.
    double Distance = 0;
};

inline constexpr int WallCapacity = 1000;

// The fixed table of walls, numbered 1 to WallCapacity. Numbers never change
// after loading, and wall 5 blinks, so the numbering itself carries behaviour.
struct WallTable {
    std::array<WallRecord, WallCapacity> Records{};

    WallRecord& operator[](int number) {
        assert(number >= 1 && number <= WallCapacity);
        return Records[static_cast<std::size_t>(number - 1)];
    }
    const WallRecord& operator[](int number) const {
        assert(number >= 1 && number <= WallCapacity);
        return Records[static_cast<std::size_t>(number - 1)];
    }
};

// The view's values at start-up, in one place: ViewState's defaults use them,
// so a fresh Module1 in a test starts as the program does, and Form_Load sets
// them again in its start-up order.
//
// 3.14159256 is the program's own value of pi (not std::numbers::pi): turning
// 64 times comes back close to, but not exactly at, the start.
inline constexpr double MoveStepStart = 0.25;
inline constexpr double TurnStepStart = 3.14159256 / 32;
inline constexpr double EyeHeightStart = 0;
inline constexpr const char* LevelFileNameStart = "torv-2.dat";

struct ViewState {
    // Eye height over the walls' middle, in wall half-heights (1 = level with
    // the wall tops). Kept within -0.5 to 10 by the rise and descend commands.
    double EyeHeight = EyeHeightStart;
    double MoveStep = MoveStepStart;
    double TurnStep = TurnStepStart;
    // Relative to the working directory.
    std::string LevelFileName = LevelFileNameStart;
    // The key of the last key-down; every tick replays it.
    std::int16_t LastKey = 0;
};

struct FrameCounters {
    // Frames composed since start. A 32-bit count that wraps around at 2^31
    // after about eight months at 100 frames a second; the increment is done
    // in unsigned arithmetic, so the wrap is defined.
    std::int32_t FrameCount = 0;
    // FrameCount and clock reading at the last frame-rate update.
    std::int32_t RateFrames = 0;
    double RateStart = 0;
    // Draw order of the last frame, nearest wall last; reused as the starting
    // guess for the next frame because the order rarely changes between ticks.
    std::vector<std::int16_t> DrawOrder;
};

struct Module1 {
    WallTable Walls;
    // Walls 1 to WallCount are the level's, in the order the loader made them.
    int WallCount = 0;
    ViewState View;
    FrameCounters Frame;
};

// The extremes of a long walk, through the real step routine: a million steps
// back and forth, a hundred thousand turns, the height limits, the frame
// counter across 2^31, and walls far beyond any maze.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <limits>
#include <vector>

#include "motion/Step.h"
#include "render/Wall.h"
#include "support/LevelFiles.h"
#include "support/RecordingPlatform.h"
#include "world/LoadLevel.h"

namespace {

constexpr std::int16_t NoCommand = 0;

// Five walls ahead of the viewer, all in view; wall 5 is the blinking one.
Module1 FiveWallsAhead() {
    Module1 state;
    const auto failure = ReadLevel(
        GridLevel("16", 16,
                  {{10, 12, 'A'}, {9, 13, 'B'}, {11, 14, 'A'}, {10, 15, 'A'}, {12, 13, 'B'}}),
        "five.dat", state);
    EXPECT_FALSE(failure.has_value());
    EXPECT_EQ(state.WallCount, 5);
    return state;
}

// One key press, then `ticks` ticks replaying it, with the clock advancing by
// a hundredth of a second before each step as the 10 ms timer would.
void Walk(Module1& state, RecordingPlatform& platform, std::int16_t key, int ticks,
          std::int64_t& step) {
    platform.Now = static_cast<double>(++step) / 100;
    Picture1_KeyDown(state, platform, key, 0);
    for (int k = 0; k < ticks; ++k) {
        platform.Now = static_cast<double>(++step) / 100;
        Picture1_KeyDown(state, platform, state.View.LastKey, 0);
    }
}

// Depths of a quarter step stay exact in a float up to 2^22, so a million
// steps back and a million forward end exactly where the walk began; every
// frame on the way draws every wall in front (wall 5 on even frames only),
// and the title shows the hundred frames of each second.
TEST(LongWalk, MillionStepsBackAndForwardAgain) {
    Module1 state = FiveWallsAhead();
    const Module1 start = state;
    RecordingPlatform platform;
    std::int64_t step = 0;

    Walk(state, platform, KeyCode::Keypad2, 999'999, step);
    EXPECT_EQ(platform.Frames, 1'000'000);
    EXPECT_EQ(platform.Polygons, 4'500'000);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(state.Walls[k].y1, start.Walls[k].y1 + 250'000) << "wall " << k;
        EXPECT_EQ(state.Walls[k].y2, start.Walls[k].y2 + 250'000) << "wall " << k;
        EXPECT_EQ(state.Walls[k].x1, start.Walls[k].x1) << "wall " << k;
    }

    Walk(state, platform, KeyCode::Keypad8, 999'999, step);
    EXPECT_EQ(platform.Frames, 2'000'000);
    EXPECT_EQ(platform.Polygons, 9'000'000);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_TRUE(SameWall(
            {state.Walls[k].x1, state.Walls[k].y1, state.Walls[k].x2, state.Walls[k].y2, 0},
            {start.Walls[k].x1, start.Walls[k].y1, start.Walls[k].x2, start.Walls[k].y2, 0}))
            << "wall " << k;
    }
    EXPECT_EQ(state.Frame.FrameCount, 2'000'000);
    // 20,000 seconds of walking; a second measured a frame late still shows 100.
    EXPECT_GE(platform.Titles.size(), 19'800u);
    EXPECT_LE(platform.Titles.size(), 20'000u);
    for (const std::string& title : platform.Titles) {
        ASSERT_EQ(title, " 100 fps");
    }
}

// A hundred thousand turns each way: rounding to floats after every turn
// lets the walls drift, but only slightly (about 1e-5 units here); they keep
// their size and distance from the eye and come back close to where they were.
TEST(LongWalk, HundredThousandTurnsEachWay) {
    Module1 state = FiveWallsAhead();
    const Module1 start = state;
    RecordingPlatform platform;
    std::int64_t step = 0;

    const auto length = [](const WallRecord& w) { return std::hypot(w.x2 - w.x1, w.y2 - w.y1); };
    const auto reach = [](const WallRecord& w) { return std::hypot(w.x1, w.y1); };

    Walk(state, platform, KeyCode::Keypad6, 99'999, step);
    ASSERT_TRUE(AllFinite(state));
    for (int k = 1; k <= 5; ++k) {
        EXPECT_NEAR(length(state.Walls[k]), 2.0, 1e-4) << "wall " << k;
        EXPECT_NEAR(reach(state.Walls[k]), reach(start.Walls[k]), 1e-4 * reach(start.Walls[k]))
            << "wall " << k;
    }
    Walk(state, platform, KeyCode::Keypad4, 99'999, step);
    ASSERT_TRUE(AllFinite(state));
    for (int k = 1; k <= 5; ++k) {
        EXPECT_NEAR(state.Walls[k].x1, start.Walls[k].x1, 2e-4) << "wall " << k;
        EXPECT_NEAR(state.Walls[k].y1, start.Walls[k].y1, 2e-4) << "wall " << k;
        EXPECT_NEAR(state.Walls[k].x2, start.Walls[k].x2, 2e-4) << "wall " << k;
        EXPECT_NEAR(state.Walls[k].y2, start.Walls[k].y2, 2e-4) << "wall " << k;
    }
    EXPECT_EQ(platform.Frames, 200'000);
    EXPECT_GT(platform.Polygons, 0);
}

// The eye rises while strictly below 10 and descends while strictly above
// -0.5, so from a height off the quarter grid it overshoots by one step and
// then stays; frames keep coming at either end.
TEST(LongWalk, RiseAndDescendStopAtTheLimits) {
    struct Case {
        double Start;
        std::int16_t Key;
        double End;
    };
    const Case cases[] = {
        {0, KeyCode::Keypad7, 10},      {0, KeyCode::Keypad1, -0.5},
        {9.9, KeyCode::Keypad7, 10.15}, {-0.4, KeyCode::Keypad1, -0.65},
        {10, KeyCode::Keypad7, 10},     {-0.5, KeyCode::Keypad1, -0.5},
        {10, KeyCode::Keypad1, 9.75},   {-0.5, KeyCode::Keypad7, -0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("from " + std::to_string(c.Start) + " with key " + std::to_string(c.Key));
        Module1 state = FiveWallsAhead();
        state.View.EyeHeight = c.Start;
        RecordingPlatform platform;
        std::int64_t step = 0;
        const int presses = c.End == 9.75 || c.End == -0.25 ? 1 : 1000;
        for (int k = 0; k < presses; ++k) {
            Walk(state, platform, c.Key, 0, step);
        }
        EXPECT_DOUBLE_EQ(state.View.EyeHeight, c.End);
        EXPECT_EQ(platform.Frames, presses);
        EXPECT_FALSE(platform.FramePolygons.empty());
    }
}

// FrameCount wraps from 2^31 - 1 to -2^31 without a trap, and since 2^32 is
// even the blink goes on in step: wall 5 is drawn on every even frame.
TEST(LongWalk, FrameCountWrapsAndWallFiveKeepsBlinking) {
    Module1 state = FiveWallsAhead();
    state.Frame.FrameCount = INT32_MAX - 3;
    RecordingPlatform platform;
    std::vector<std::size_t> drawn;
    std::vector<std::int32_t> counts;
    for (int k = 0; k < 8; ++k) {
        Picture1_KeyDown(state, platform, NoCommand, 0);
        drawn.push_back(platform.FramePolygons.size());
        counts.push_back(state.Frame.FrameCount);
    }
    EXPECT_EQ(counts, (std::vector<std::int32_t>{INT32_MAX - 2, INT32_MAX - 1, INT32_MAX, INT32_MIN,
                                                 INT32_MIN + 1, INT32_MIN + 2, INT32_MIN + 3,
                                                 INT32_MIN + 4}));
    EXPECT_EQ(drawn, (std::vector<std::size_t>{4, 5, 4, 5, 4, 5, 4, 5}));
}

// The rate counts the frames since the last update right across the wrap;
// a clock that steps back holds the title until it has passed the last
// update again; clock readings that are no use (huge, infinite, not a
// number) change nothing.
TEST(LongWalk, RateTitleCountsFramesAcrossTheWrap) {
    Module1 state = FiveWallsAhead();
    RecordingPlatform platform;
    state.Frame.FrameCount = INT32_MAX - 50;
    state.Frame.RateFrames = INT32_MAX - 50;
    state.Frame.RateStart = 1000;
    const auto frames = [&](int count, double now) {
        platform.Now = now;
        for (int k = 0; k < count; ++k) {
            Picture1_KeyDown(state, platform, NoCommand, 0);
        }
    };

    frames(129, 1000.5);
    EXPECT_TRUE(platform.Titles.empty());
    frames(1, 1002);  // 130 frames in 2 s
    EXPECT_EQ(platform.Titles, std::vector<std::string>{" 65 fps"});
    EXPECT_EQ(state.Frame.RateFrames, INT32_MIN + 79);

    frames(128, 1002.5);
    frames(1, 1004);  // 129 frames in 2 s: 64.5 rounds up
    EXPECT_EQ(platform.Titles.back(), " 65 fps");

    frames(500, 990);  // the clock jumped back
    EXPECT_EQ(platform.Titles.size(), 2u);
    frames(1, 1005);
    EXPECT_EQ(platform.Titles.back(), " 501 fps");

    for (const double useless : {1e300, -1e300, std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()}) {
        frames(3, useless);
    }
    EXPECT_EQ(platform.Titles.size(), 3u);
    EXPECT_EQ(state.Frame.FrameCount, INT32_MIN + 79 + 129 + 501 + 12);
}

// Walls far outside any maze, set directly: moving and turning keeps their
// coordinates finite floats (clamped at the float range), and every frame is
// composed, projected and painted without a fault.
TEST(LongWalk, HugeCoordinatesStayFiniteThroughStepsAndTurns) {
    const float extremes[] = {1e30f,      -1e30f, FLT_MAX, -FLT_MAX, 1e-30f, 0.1f,
                              0.1000001f, 1e-45f, 0,       2,        -3,     1e7f};
    constexpr int count = sizeof extremes / sizeof extremes[0];
    Module1 state;
    state.WallCount = 0;
    for (int a = 0; a < count && state.WallCount < WallCapacity; ++a) {
        for (int b = 0; b < count && state.WallCount < WallCapacity; b += 3) {
            WallRecord& w = state.Walls[++state.WallCount];
            w = {extremes[a], extremes[b], extremes[(a + b) % count], extremes[(a * 7 + 5) % count],
                 0};
        }
    }
    RecordingPlatform platform(/*paint=*/true);
    std::int64_t step = 0;
    const std::int16_t walk[] = {KeyCode::Keypad2, KeyCode::Keypad6, KeyCode::Keypad8,
                                 KeyCode::Keypad4, KeyCode::Keypad7, KeyCode::Keypad1};
    for (int round = 0; round < 3; ++round) {
        for (const std::int16_t key : walk) {
            Walk(state, platform, key, 20, step);
            ASSERT_TRUE(AllFinite(state));
            EXPECT_LE(platform.FramePolygons.size(), static_cast<std::size_t>(state.WallCount));
        }
    }
    for (const double eye : {1e300, -1e300, 1e10}) {
        state.View.EyeHeight = eye;
        Walk(state, platform, NoCommand, 2, step);
    }
    EXPECT_EQ(platform.Frames, 3 * 6 * 21 + 3 * 3);

    // A turn of a wall at the corner of the float range would leave it: clamped.
    state.WallCount = 1;
    state.Walls[1] = {FLT_MAX, FLT_MAX, -FLT_MAX, FLT_MAX, 0};
    TurnWalls(state, state.View.TurnStep);
    EXPECT_EQ(state.Walls[1].y1, FLT_MAX);
    EXPECT_TRUE(AllFinite(state));
}

// Where the projection cannot compute a value it keeps the value it had:
// zero. An eye a googol of half-heights up leaves every corner's y at zero;
// a wall just past the depth limit and far to the side leaves its x there.
TEST(LongWalk, ProjectionSkipsWhatCannotBeComputed) {
    Module1 state;
    state.WallCount = 2;
    state.Walls[1] = {-1, 2, 1, 2, 0};
    state.Walls[2] = {1e30f, 0.11f, 1, 2, 0};
    state.View.EyeHeight = 1e300;
    EXPECT_EQ(ProjectWall(state, 1),
              (Quad{Point{100, 0}, Point{100, 0}, Point{300, 0}, Point{300, 0}}));
    state.View.EyeHeight = 0;
    const Quad far = ProjectWall(state, 2);
    EXPECT_EQ(far[0].x, 0);
    EXPECT_EQ(far[1].x, 0);
    EXPECT_EQ(far[2], (Point{300, 300}));
    EXPECT_EQ(far[3], (Point{300, 100}));
}

}  // namespace

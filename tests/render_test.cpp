#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "render/Frame.h"
#include "render/Wall.h"
#include "support/RecordingPlatform.h"
#include "support/SelectionOrder.h"

namespace {

void SetWall(Module1& state, int number, float x1, float y1, float x2, float y2) {
    state.Walls[number] = {x1, y1, x2, y2, 0};
    state.WallCount = std::max(state.WallCount, number);
}

struct Projection {
    float x1, y1, x2, y2;
    double EyeHeight;
    Quad Expected;
};

class WallProjection : public testing::TestWithParam<Projection> {};

TEST_P(WallProjection, GivesTheCornersP0ToP3) {
    const Projection& p = GetParam();
    Module1 state;
    SetWall(state, 1, p.x1, p.y1, p.x2, p.y2);
    state.View.EyeHeight = p.EyeHeight;
    EXPECT_EQ(ProjectWall(state, 1), p.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, WallProjection,
    testing::Values(
        // A 200-pixel square centred in the view.
        Projection{-1, 2, 1, 2, 0, {{{100, 100}, {100, 300}, {300, 300}, {300, 100}}}},
        // Raising the eye by one half-height puts the wall tops on the horizon.
        Projection{-1, 2, 1, 2, 1, {{{100, 200}, {100, 400}, {300, 400}, {300, 200}}}},
        // 266.67 rounds to 267, 133.33 to 133.
        Projection{0, 3, 1, 3, 0, {{{200, 133}, {200, 267}, {267, 267}, {267, 133}}}},
        // Exact halves go to the even neighbour: x 100.5 -> 100, 101.5 -> 102,
        // y 199.5 and 200.5 -> 200.
        Projection{-199, 400, -197, 400, 0, {{{100, 200}, {100, 200}, {102, 200}, {102, 200}}}},
        // Seen edge-on: both ends on one line through the eye.
        Projection{1, 1, 2, 2, 0, {{{400, 0}, {400, 400}, {400, 300}, {400, 100}}}},
        // Division by zero: X1 and H1 are skipped and stay 0, the rest is drawn.
        Projection{5, 0, 1, 2, 0, {{{0, 200}, {0, 200}, {300, 300}, {300, 100}}}},
        // X1 is a float but no 32-bit pixel: its two corners keep x = 0.
        Projection{1e30f, 1, 1, 2, 0, {{{0, 0}, {0, 400}, {300, 300}, {300, 100}}}},
        // X1 overflows a float on store: skipped as well.
        Projection{3e38f, 0.5f, 1, 2, 0, {{{0, -200}, {0, 600}, {300, 300}, {300, 100}}}},
        // Found by search, corners computed outside the program: X1 is
        // 121.49999635 in 64 bits and exactly 121.5 once stored as a 32-bit
        // float, so its corners' x is 122 (halves to even), not 121.
        Projection{-0x1.108ff6p+0f,
                   0x1.5b3692p+1f,
                   -0x1.a1cb74p-3f,
                   0x1.8a6f56p+1f,
                   0,
                   {{{122, 126}, {122, 274}, {187, 265}, {187, 135}}}},
        // C - H1 is rounded to a 32-bit float before the eye's term is added:
        // 159.49999619 becomes 159.5, so P0's y is 160 (halves to even), not
        // the 159 that 64 bits would give.
        Projection{0x1.9ed7a2p-2f,
                   0x1.3c0ca2p+2f,
                   -0x1.0c3b92p-3f,
                   0x1.1cdc14p+2f,
                   0,
                   {{{216, 160}, {216, 240}, {194, 245}, {194, 155}}}},
        // Side walls whose ends lie at different depths, seen after rising
        // (7 steps, and the highest eye) and after descending to the lowest:
        // each end moves by the eye height times its own half-height, so the
        // top and bottom edges tilt towards the horizon as the wall recedes.
        // Corners worked out outside the program (Python, struct float32).
        Projection{-3, 2, -3, 6, 1.75, {{{-100, 275}, {-100, 475}, {100, 292}, {100, 225}}}},
        Projection{-3, 2, -3, 6, -0.5, {{{-100, 50}, {-100, 250}, {100, 217}, {100, 150}}}},
        Projection{2, 3, 2, 7, 1.75, {{{333, 250}, {333, 383}, {257, 279}, {257, 221}}}},
        Projection{2, 3, 2, 7, 10, {{{333, 800}, {333, 933}, {257, 514}, {257, 457}}}},
        // Its first end farther than its second, across the middle.
        Projection{
            -1.5f, 5, 0.5f, 2.5f, 3.25, {{{140, 290}, {140, 370}, {240, 540}, {240, 380}}}}));

TEST(ComposeFrame, WithNoWallsOnlyClearsAndCounts) {
    Module1 state;
    RecordingPlatform platform;
    ComposeFrame(state, platform);
    ComposeFrame(state, platform);
    EXPECT_EQ(platform.Frames, 2);
    EXPECT_TRUE(platform.FramePolygons.empty());
    EXPECT_EQ(state.Frame.FrameCount, 2);
}

TEST(ComposeFrame, DrawsFarToNearEqualDistancesLowerNumberFirst) {
    Module1 state;
    SetWall(state, 1, -1, 2, 1, 2);  // nearest
    SetWall(state, 2, 0, 3, 1, 3);   // ties with 3
    SetWall(state, 3, -1, 3, 0, 3);
    SetWall(state, 4, -1, 9, 1, 9);  // farthest
    RecordingPlatform platform;
    ComposeFrame(state, platform);
    ASSERT_EQ(platform.FramePolygons.size(), 4u);
    const int expected[] = {4, 2, 3, 1};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(platform.FramePolygons[k], ProjectWall(state, expected[k])) << k;
    }
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(state.Walls[i].Distance, 0) << i;
    }
}

// A wall's distance is the mean of its two ends' distances: wall 1 reaches
// farther (9.01) than wall 2 (6.08) but its mean (5.07) is nearer, so it is
// drawn last, over wall 2.
TEST(ComposeFrame, OrdersByTheMeanDistanceOfBothEnds) {
    Module1 state;
    SetWall(state, 1, 0.5f, 1, 0.5f, 9);
    SetWall(state, 2, -1, 6, 1, 6);
    RecordingPlatform platform;
    ComposeFrame(state, platform);
    ASSERT_EQ(platform.FramePolygons.size(), 2u);
    EXPECT_EQ(platform.FramePolygons[0], ProjectWall(state, 2));
    EXPECT_EQ(platform.FramePolygons[1], ProjectWall(state, 1));
}

TEST(ComposeFrame, FifthWallShowsOnEvenFramesOnly) {
    Module1 state;
    for (int i = 1; i <= 6; ++i) {
        SetWall(state, i, -1, static_cast<float>(i + 1), 1, static_cast<float>(i + 1));
    }
    RecordingPlatform platform;
    const Quad fifth = ProjectWall(state, BlinkWall);
    for (int frame = 1; frame <= 4; ++frame) {
        ComposeFrame(state, platform);
        const bool shown =
            std::count(platform.FramePolygons.begin(), platform.FramePolygons.end(), fifth) > 0;
        EXPECT_EQ(shown, frame % 2 == 0) << frame;
        EXPECT_EQ(platform.FramePolygons.size(), shown ? 6u : 5u);
    }
}

TEST(ComposeFrame, BlinkingGoesOnAcrossTheCounterWrap) {
    Module1 state;
    for (int i = 1; i <= 5; ++i) {
        SetWall(state, i, -1, static_cast<float>(i + 1), 1, static_cast<float>(i + 1));
    }
    state.Frame.FrameCount = INT32_MAX - 1;
    RecordingPlatform platform;
    ComposeFrame(state, platform);  // INT32_MAX: odd
    EXPECT_EQ(platform.FramePolygons.size(), 4u);
    ComposeFrame(state, platform);  // wraps to INT32_MIN: even
    EXPECT_EQ(state.Frame.FrameCount, INT32_MIN);
    EXPECT_EQ(platform.FramePolygons.size(), 5u);
}

struct DepthCase {
    float y1, y2;
    bool Drawn;
};

class DepthCut : public testing::TestWithParam<DepthCase> {};

TEST_P(DepthCut, DrawsOnlyWallsWithBothEndsBeyondTheLimit) {
    Module1 state;
    SetWall(state, 1, -1, GetParam().y1, 1, GetParam().y2);
    RecordingPlatform platform;
    ComposeFrame(state, platform);
    EXPECT_EQ(platform.FramePolygons.size(), GetParam().Drawn ? 1u : 0u);
}

// 0.1f is 0.100000001..., just above the 64-bit tenth, so it passes.
INSTANTIATE_TEST_SUITE_P(Limits, DepthCut,
                         testing::Values(DepthCase{2, 2, true}, DepthCase{0.1f, 5, true},
                                         DepthCase{5, 0.1f, true},
                                         DepthCase{0.099999994f, 5, false},
                                         DepthCase{5, 0.09f, false}, DepthCase{-1, 3, false},
                                         DepthCase{3, -1, false}, DepthCase{0, 3, false}));

struct RateCase {
    int Frames;
    double Seconds;
    const char* Title;
};

class FrameRate : public testing::TestWithParam<RateCase> {};

TEST_P(FrameRate, RoundsHalfUpAndFormatsWithALeadingBlank) {
    Module1 state;
    RecordingPlatform platform;
    state.Frame.RateStart = 1000;
    platform.Now = 1000.5;
    for (int k = 1; k < GetParam().Frames; ++k) {
        ComposeFrame(state, platform);
    }
    EXPECT_TRUE(platform.Titles.empty());
    platform.Now = 1000 + GetParam().Seconds;
    ComposeFrame(state, platform);
    ASSERT_EQ(platform.Titles.size(), 1u);
    EXPECT_EQ(platform.Titles[0], GetParam().Title);
    EXPECT_EQ(state.Frame.RateFrames, GetParam().Frames);
    EXPECT_EQ(state.Frame.RateStart, platform.Now);
}

INSTANTIATE_TEST_SUITE_P(Rates, FrameRate,
                         testing::Values(RateCase{130, 2.0, " 65 fps"},
                                         RateCase{129, 2.0, " 65 fps"},
                                         RateCase{100, 1.0, " 100 fps"}, RateCase{1, 4.0, " 0 fps"},
                                         // 0.99999999 s is 1.0 as a 32-bit float.
                                         RateCase{64, 0.99999999, " 64 fps"}));

TEST(ComposeFrame, LessThanASecondLeavesTheTitleAlone) {
    Module1 state;
    RecordingPlatform platform;
    platform.Now = 0.999;
    ComposeFrame(state, platform);
    EXPECT_TRUE(platform.Titles.empty());
    EXPECT_EQ(state.Frame.RateStart, 0);
}

TEST(ComposeFrame, RateCountsFramesAcrossTheCounterWrap) {
    Module1 state;
    RecordingPlatform platform;
    state.Frame.FrameCount = INT32_MAX - 9;
    state.Frame.RateFrames = INT32_MAX - 9;
    for (int k = 0; k < 19; ++k) {
        ComposeFrame(state, platform);
    }
    platform.Now = 1;
    ComposeFrame(state, platform);
    ASSERT_EQ(platform.Titles.size(), 1u);
    EXPECT_EQ(platform.Titles[0], " 20 fps");
}

// Distances drawn from a handful of values, so ties are everywhere.
void RandomDistances(Module1& state, std::mt19937& random, int count) {
    state.WallCount = count;
    std::uniform_int_distribution<int> pick(0, 6);
    for (int i = 1; i <= count; ++i) {
        const int v = pick(random);
        state.Walls[i].Distance = v == 0 ? 0.0 : v * 1.25;
    }
}

TEST(FarToNearOrder, MatchesThePlainSelectionOnTablesFullOfTies) {
    std::mt19937 random(7);
    Module1 state;
    for (int round = 0; round < 300; ++round) {
        // Sizes change now and then; in between, the last order is the
        // starting guess, from nearly sorted to shuffled.
        const int count =
            round % 50 == 0 ? 1 + static_cast<int>(random() % 1000) : std::max(1, state.WallCount);
        if (round % 2 == 0 || count != state.WallCount) {
            RandomDistances(state, random, count);
        } else {
            for (int k = 0; k < 5; ++k) {  // a few walls move between frames
                const int i = 1 + static_cast<int>(random() % static_cast<unsigned>(count));
                state.Walls[i].Distance = 1.25 * static_cast<double>(random() % 7);
            }
        }
        Module1 copy = state;
        const std::vector<std::int16_t> expected = SelectionOrder(copy);
        std::vector<std::int16_t> actual;
        for (const std::int16_t m : FarToNearOrder(state)) {
            if (state.Walls[m].Distance > 0) {
                actual.push_back(m);
            }
        }
        ASSERT_EQ(actual, expected) << "round " << round;
    }
}

}  // namespace

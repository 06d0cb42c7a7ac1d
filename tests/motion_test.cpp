#include <gtest/gtest.h>

#include <cmath>

#include "motion/Step.h"
#include "support/RecordingPlatform.h"
#include "world/LoadLevel.h"

namespace {

// Walls 1 and 2: straight ahead at depth 2, and to the right at depth 5.
Module1 TwoWalls() {
    Module1 state;
    state.Walls[1] = {-1, 2, 1, 2, 0};
    state.Walls[2] = {3, 4, 3, 6, 0};
    state.WallCount = 2;
    return state;
}

TEST(Picture1_KeyDown, ForwardKeyThenTenTicksWalksElevenSteps) {
    Module1 state = TwoWalls();
    RecordingPlatform platform;
    Picture1_KeyDown(state, platform, KeyCode::Keypad8, 0);
    for (int tick = 0; tick < 10; ++tick) {
        Picture1_KeyDown(state, platform, state.View.LastKey, 0);
    }
    EXPECT_FLOAT_EQ(state.Walls[1].y1, 2 - 2.75f);
    EXPECT_FLOAT_EQ(state.Walls[2].y2, 6 - 2.75f);
    EXPECT_FLOAT_EQ(state.Walls[2].x1, 3);
    EXPECT_EQ(platform.Frames, 11);  // one frame a step
}

struct KeyCase {
    std::int16_t Key;
    float Y1;  // wall 1's first depth afterwards
    float X1;
    double EyeHeight;
};

class StepCommand : public testing::TestWithParam<KeyCase> {};

TEST_P(StepCommand, AppliesItsCommandRemembersTheKeyAndDrawsOneFrame) {
    Module1 state = TwoWalls();
    RecordingPlatform platform;
    Picture1_KeyDown(state, platform, GetParam().Key, 4);
    EXPECT_EQ(state.View.LastKey, GetParam().Key);
    EXPECT_FLOAT_EQ(state.Walls[1].y1, GetParam().Y1);
    EXPECT_NEAR(state.Walls[1].x1, GetParam().X1, 1e-6);
    EXPECT_EQ(state.View.EyeHeight, GetParam().EyeHeight);
    EXPECT_EQ(platform.Frames, 1);
    EXPECT_FALSE(platform.Ended);
}

// Turning right by a moves (x, y) to (x cos a - y sin a, x sin a + y cos a):
// a point ahead drifts left on the screen.
const double A = TurnStepStart;
INSTANTIATE_TEST_SUITE_P(
    Commands, StepCommand,
    testing::Values(KeyCase{104, 1.75f, -1, 0}, KeyCase{98, 2.25f, -1, 0},
                    KeyCase{103, 2, -1, 0.25}, KeyCase{97, 2, -1, -0.25},
                    KeyCase{102, static_cast<float>(-std::sin(A) + 2 * std::cos(A)),
                            static_cast<float>(-std::cos(A) - 2 * std::sin(A)), 0},
                    KeyCase{100, static_cast<float>(std::sin(A) + 2 * std::cos(A)),
                            static_cast<float>(-std::cos(A) + 2 * std::sin(A)), 0},
                    // No command: arrows and Home sent by the keypad with Num
                    // Lock off, Shift, a letter, keypad 5 and 0.
                    KeyCase{38, 2, -1, 0}, KeyCase{36, 2, -1, 0}, KeyCase{16, 2, -1, 0},
                    KeyCase{65, 2, -1, 0}, KeyCase{101, 2, -1, 0}, KeyCase{0, 2, -1, 0},
                    KeyCase{-1, 2, -1, 0}));

TEST(Picture1_KeyDown, EscapeEndsAtOnceWithoutAFrame) {
    Module1 state = TwoWalls();
    RecordingPlatform platform;
    Picture1_KeyDown(state, platform, KeyCode::Keypad8, 0);
    Picture1_KeyDown(state, platform, KeyCode::Escape, 0);
    EXPECT_TRUE(platform.Ended);
    EXPECT_EQ(platform.Frames, 1);
    EXPECT_EQ(state.View.LastKey, KeyCode::Escape);
    EXPECT_FLOAT_EQ(state.Walls[1].y1, 1.75f);
}

struct HeightCase {
    std::int16_t Key;
    int Presses;
    double Expected;
};

class EyeHeightLimit : public testing::TestWithParam<HeightCase> {};

TEST_P(EyeHeightLimit, StopsAtTheStrictLimits) {
    Module1 state;
    RecordingPlatform platform;
    for (int k = 0; k < GetParam().Presses; ++k) {
        Picture1_KeyDown(state, platform, GetParam().Key, 0);
    }
    EXPECT_EQ(state.View.EyeHeight, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Limits, EyeHeightLimit,
                         testing::Values(HeightCase{97, 1, -0.25}, HeightCase{97, 2, -0.5},
                                         HeightCase{97, 3, -0.5}, HeightCase{103, 39, 9.75},
                                         HeightCase{103, 40, 10}, HeightCase{103, 41, 10}));

TEST(Picture1_KeyDown, SixtyFourRightTurnsComeBackCloseButNotExact) {
    Module1 state = TwoWalls();
    RecordingPlatform platform;
    for (int k = 0; k < 64; ++k) {
        Picture1_KeyDown(state, platform, KeyCode::Keypad6, 0);
    }
    const WallRecord& w = state.Walls[2];
    const double drift =
        std::fabs(w.x1 - 3) + std::fabs(w.y1 - 4) + std::fabs(w.x2 - 3) + std::fabs(w.y2 - 6);
    EXPECT_LT(drift, 1e-4);
    EXPECT_GT(drift, 0);
}

// The turn's cosine and sine are the doubles nearest the true values, so a
// build whose C library rounds the other way still turns the same walls.
// Long double carries 11 more bits here (x86 on Linux and MinGW alike), enough
// to see which double is nearest.
TEST(TurnWalls, TurnStepRotationIsCorrectlyRounded) {
    const long double step = TurnStepStart;
    for (const int sign : {1, -1}) {
        const TurnRotation r = RotationFor(sign * TurnStepStart);
        const long double trueCos = std::cos(sign * step);
        const long double trueSin = std::sin(sign * step);
        EXPECT_EQ(r.Cos, static_cast<double>(trueCos)) << "sign " << sign;
        EXPECT_EQ(r.Sin, static_cast<double>(trueSin)) << "sign " << sign;
    }
    const TurnRotation other = RotationFor(0.5);
    EXPECT_EQ(other.Cos, std::cos(0.5));
    EXPECT_EQ(other.Sin, std::sin(0.5));
}

struct ExactTurn {
    int Turns;
    WallRecord Expected;
};

class TurnRight : public testing::TestWithParam<ExactTurn> {};

// The wall from (9, 10) to (11, 10) after turns right, to the bit: computed
// outside the program (Python: math.cos and math.sin of 3.14159256 / 32 in
// 64 bits, each result rounded to a 32-bit float with struct). One turn tells
// a turn computed in 32-bit floats; 64 turns also tell a step of pi / 32.
TEST_P(TurnRight, GivesTheseExactFloats) {
    Module1 state;
    state.Walls[1] = {9, 10, 11, 10, 0};
    state.WallCount = 1;
    RecordingPlatform platform;
    for (int k = 0; k < GetParam().Turns; ++k) {
        Picture1_KeyDown(state, platform, KeyCode::Keypad6, 0);
    }
    const WallRecord& w = state.Walls[1];
    const WallRecord& e = GetParam().Expected;
    EXPECT_EQ(w.x1, e.x1);
    EXPECT_EQ(w.y1, e.y1);
    EXPECT_EQ(w.x2, e.x2);
    EXPECT_EQ(w.y2, e.y2);
}

INSTANTIATE_TEST_SUITE_P(
    Turns, TurnRight,
    testing::Values(ExactTurn{1,
                              {0x1.fe7ed4p+2f, 0x1.5ab024p+3f, 0x1.3ef086p+3f, 0x1.60f60ep+3f, 0}},
                    ExactTurn{64, {0x1.2p+3f, 0x1.4p+3f, 0x1.600006p+3f, 0x1.3ffffep+3f, 0}}));

TEST(Picture1_KeyDown, MovesEveryWallOfALoadedLevel) {
    Module1 state;
    ASSERT_FALSE(ReadLevel("1\n1,1\n1,1\n1,1\n1,1\n", "t.dat", state));
    ASSERT_EQ(state.WallCount, 8);
    Module1 before = state;
    RecordingPlatform platform;
    Picture1_KeyDown(state, platform, KeyCode::Keypad2, 0);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(state.Walls[i].y1, before.Walls[i].y1 + 0.25f) << i;
        EXPECT_EQ(state.Walls[i].y2, before.Walls[i].y2 + 0.25f) << i;
    }
}

}  // namespace

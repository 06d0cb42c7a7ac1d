#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/LevelFiles.h"
#include "world/LoadLevel.h"

namespace {

struct Segment {
    float x1, y1, x2, y2;
};

std::vector<Segment> Walls(const Module1& state) {
    std::vector<Segment> walls;
    for (int i = 1; i <= state.WallCount; ++i) {
        const WallRecord& w = state.Walls[i];
        walls.push_back({w.x1, w.y1, w.x2, w.y2});
    }
    return walls;
}

bool operator==(const Segment& a, const Segment& b) {
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

TEST(LoadLevel, TwoWallsBehindTheViewerAtGridSizeZero) {
    Module1 state;
    ASSERT_FALSE(ReadLevel("0\n1,1\n", "t.dat", state));
    const std::vector<Segment> expected = {{-11, -10, -9, -10}, {-10, -11, -10, -9}};
    EXPECT_EQ(Walls(state), expected);
    EXPECT_DOUBLE_EQ(state.Walls[1].Distance, std::sqrt(200.0));
}

TEST(LoadLevel, OneWallStraightAhead) {
    Module1 state;
    ASSERT_FALSE(ReadLevel(GridLevel("12", 12, {{10, 12, 'A'}}), "t.dat", state));
    const std::vector<Segment> expected = {{-1, 2, 1, 2}};
    EXPECT_EQ(Walls(state), expected);
    EXPECT_DOUBLE_EQ(state.Walls[1].Distance, 2.0);
}

TEST(LoadLevel, NumbersWallsInNodeOrderAWallFirst) {
    // i-major: node (0, 1) comes before (1, 0); on one node A before B.
    Module1 state;
    ASSERT_FALSE(
        ReadLevel(GridLevel("1", 1, {{1, 0, 'B'}, {0, 1, 'A'}, {0, 1, 'B'}}), "t.dat", state));
    const std::vector<Segment> expected = {
        {-11, -9, -9, -9}, {-10, -10, -10, -8}, {-9, -11, -9, -9}};
    EXPECT_EQ(Walls(state), expected);
}

struct FlagCase {
    const char* Flag;
    int Walls;
};

class FlagValue : public testing::TestWithParam<FlagCase> {};

TEST_P(FlagValue, OnlyTheNumberOneSetsAFlag) {
    Module1 state;
    const std::string text = std::string("0\n") + GetParam().Flag + ",0\n";
    ASSERT_FALSE(ReadLevel(text, "t.dat", state));
    EXPECT_EQ(state.WallCount, GetParam().Walls) << GetParam().Flag;
}

INSTANTIATE_TEST_SUITE_P(Values, FlagValue,
                         testing::Values(FlagCase{"1", 1}, FlagCase{"1.0", 1}, FlagCase{"+1", 1},
                                         FlagCase{"10e-1", 1}, FlagCase{"2", 0}, FlagCase{"-1", 0},
                                         FlagCase{"0.5", 0}, FlagCase{"0", 0}));

TEST(LoadLevel, LayoutDoesNotMatter) {
    const std::string perLine = "1\n0\n1\n1\n0\n0\n0\n1\n1\n";
    const std::string oneLine = "1,0,1,1,0,0,0,1,1\n";
    const std::string mixed = " 1 ,\t0\r\n\r\n1,1\r0 , 0\n\n0,1,1";
    Module1 a;
    Module1 b;
    Module1 c;
    ASSERT_FALSE(ReadLevel(perLine, "t.dat", a));
    ASSERT_FALSE(ReadLevel(oneLine, "t.dat", b));
    ASSERT_FALSE(ReadLevel(mixed, "t.dat", c));
    EXPECT_EQ(a.WallCount, 4);
    EXPECT_EQ(Walls(a), Walls(b));
    EXPECT_EQ(Walls(a), Walls(c));
}

TEST(LoadLevel, NothingAfterTheLastFlagIsRead) {
    Module1 state;
    ASSERT_FALSE(ReadLevel("0\n1,1 this is not read, 7\nnor this", "t.dat", state));
    EXPECT_EQ(state.WallCount, 2);
}

TEST(LoadLevel, GridSizeRoundsHalfToEvenAndNegativeReadsNothing) {
    Module1 state;
    // 0.5 rounds to 0: one node, so the 3rd and later tokens are not read.
    ASSERT_FALSE(ReadLevel("0.5\n1,0\nx", "t.dat", state));
    EXPECT_EQ(state.WallCount, 1);
    // 1.5 rounds to 2: nine nodes, so the four of grid size 1 are not enough.
    EXPECT_TRUE(ReadLevel("1.5\n1,0,0,0,0,0,0,0\n", "t.dat", state));
    ASSERT_FALSE(ReadLevel("-1\nanything", "t.dat", state));
    EXPECT_EQ(state.WallCount, 0);
}

struct BadLevel {
    const char* Text;
    const char* Message;
};

class BadLevelMessage : public testing::TestWithParam<BadLevel> {};

TEST_P(BadLevelMessage, SaysWhereAndWhatAndLeavesNoWalls) {
    Module1 state;
    ASSERT_FALSE(ReadLevel("0\n1,1\n", "torv-2.dat", state));
    ASSERT_EQ(state.WallCount, 2);
    const auto error = ReadLevel(GetParam().Text, "torv-2.dat", state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Message, GetParam().Message);
    EXPECT_EQ(state.WallCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BadLevelMessage,
    testing::Values(
        BadLevel{"", "torv-2.dat:1:1: the file ends before the grid size"},
        BadLevel{"1\n0,0\n1,x1\n",
                 "torv-2.dat:3:3: expected flag B of node (0, 1) as a decimal number, found "
                 "\"x1\""},
        BadLevel{"1\n0,0\n1,1\n", "torv-2.dat:4:1: the file ends before flag A of node (1, 0)"},
        BadLevel{"1\n0,0\n1\n", "torv-2.dat:4:1: the file ends before flag B of node (0, 1)"},
        BadLevel{"0\n1,,1\n",
                 "torv-2.dat:2:3: empty field: expected flag B of node (0, 0) after the comma"},
        BadLevel{"0\n1,\n1\n",
                 "torv-2.dat:2:3: empty field: expected flag B of node (0, 0) after the comma"},
        BadLevel{"0\n1 1\n",
                 "torv-2.dat:2:3: expected a comma or a line break after \"1\", found \"1\""},
        BadLevel{"inf\n",
                 "torv-2.dat:1:1: expected the grid size as a decimal number, found "
                 "\"inf\""},
        BadLevel{"0x1\n",
                 "torv-2.dat:1:1: expected the grid size as a decimal number, found "
                 "\"0x1\""},
        BadLevel{"1e309\n",
                 "torv-2.dat:1:1: expected the grid size, found \"1e309\", out of "
                 "the range of a 64-bit float"},
        BadLevel{"1000.6\n",
                 "torv-2.dat:1:1: grid size 1000.6 is too large: the largest grid "
                 "read is 1000"},
        BadLevel{"0\n\x01,0",
                 "torv-2.dat:2:1: expected flag A of node (0, 0) as a decimal "
                 "number, found \"\\x01\""}));

TEST(LoadLevel, ThousandWallsLoadAndOneMoreIsRefused) {
    // Grid 0..22 with A set on every node: 23 * 23 = 529 walls; B on the
    // first 471 nodes makes exactly 1000, on one more node 1001.
    const auto level = [](int withB) {
        std::string text = "22\n";
        int node = 0;
        for (int i = 0; i <= 22; ++i) {
            for (int j = 0; j <= 22; ++j, ++node) {
                text += node < withB ? "1,1\n" : "1,0\n";
            }
        }
        return text;
    };
    Module1 state;
    ASSERT_FALSE(ReadLevel(level(471), "t.dat", state));
    EXPECT_EQ(state.WallCount, 1000);
    const auto error = ReadLevel(level(472), "t.dat", state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Message,
              "t.dat:530:1: flag A of node (22, 22) would make wall 1001, but the wall table "
              "holds 1000 walls");
    EXPECT_EQ(state.WallCount, 0);
}

TEST(LoadLevel, ReadsTheNamedFileAndNamesItWhenMissing) {
    const auto dir = std::filesystem::temp_directory_path() / "mazewalk-world-test";
    std::filesystem::create_directories(dir);
    const auto path = (dir / "level.dat").string();
    std::ofstream(path) << "0\n1,0\n";
    Module1 state;
    state.View.LevelFileName = path;
    ASSERT_FALSE(LoadLevel(state));
    EXPECT_EQ(state.WallCount, 1);

    state.View.LevelFileName = (dir / "missing.dat").string();
    const auto error = LoadLevel(state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Message,
              state.View.LevelFileName + ": cannot open the level file: No such file or directory");

    state.View.LevelFileName = dir.string();  // a directory
    const auto dirError = LoadLevel(state);
    ASSERT_TRUE(dirError);
    EXPECT_NE(dirError->Message.find("Is a directory"), std::string::npos) << dirError->Message;
    std::filesystem::remove_all(dir);
}

}  // namespace

// Bad and odd level files, each with its one defined outcome: the exact walls,
// or a message naming the file, the line and column and what was wrong, with
// no wall left in the table. Every case is read both from memory and from a
// file on disk, which must agree.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/LevelFiles.h"
#include "world/LoadLevel.h"

namespace {

struct LevelCase {
    std::string Name;
    std::string Bytes;
    // What follows "file:" in the message; empty when the level loads.
    std::string Error;
    std::vector<WallRecord> Walls;
};

// ctest lists a case by this name rather than by its bytes.
void PrintTo(const LevelCase& c, std::ostream* out) {
    *out << c.Name;
}

LevelCase Loads(std::string name, std::string bytes, std::vector<WallRecord> walls) {
    return {std::move(name), std::move(bytes), "", std::move(walls)};
}

LevelCase Fails(std::string name, std::string bytes, std::string error) {
    return {std::move(name), std::move(bytes), std::move(error), {}};
}

// Nodes (0, 0) A, (0, 1) B, (1, 0) A and B of a grid of size 1.
const std::vector<WallRecord> SmallWalls = {WallA(0, 0), WallB(0, 1), WallA(1, 0), WallB(1, 0)};

std::string SmallLevel(const std::string& lineEnd) {
    return "1" + lineEnd + "1,0" + lineEnd + "0,1" + lineEnd + "1,1" + lineEnd + "0,0" + lineEnd;
}

// Grid size 22 (529 nodes), the first `bothSet` nodes with both flags set,
// then one more node with only `extra` set ('A', 'B' or 0 for none).
std::string CrowdedLevel(int bothSet, char extra, std::vector<WallRecord>* walls) {
    constexpr int n = 22;
    std::vector<SetFlag> set;
    for (int k = 0; k < bothSet; ++k) {
        set.push_back({k / (n + 1), k % (n + 1), 'A'});
        set.push_back({k / (n + 1), k % (n + 1), 'B'});
        if (walls != nullptr) {
            walls->push_back(WallA(k / (n + 1), k % (n + 1)));
            walls->push_back(WallB(k / (n + 1), k % (n + 1)));
        }
    }
    if (extra != 0) {
        set.push_back({bothSet / (n + 1), bothSet % (n + 1), extra});
    }
    return GridLevel("22", n, set);
}

std::vector<WallRecord> ThousandWalls() {
    std::vector<WallRecord> walls;
    CrowdedLevel(500, 0, &walls);
    return walls;
}

// Sixteen spellings of a flag, at nodes 0..15 of a grid of size 3: the first
// eight A flags and the last eight B flags are spellings of 1, the others not.
std::string FlagSpellings() {
    const char* ones[] = {"1", "1.0", "1e0", "+1", "01", "1.", "10e-1", "0.1E+1"};
    const char* others[] = {"2", "-1", "0.5", ".5", "-0", "11", "1e1", "0.9999999"};
    std::string text = "3\n";
    for (int k = 0; k < 16; ++k) {
        text += k < 8 ? ones[k] : others[k - 8];
        text += ",";
        text += k < 8 ? others[k] : ones[k - 8];
        text += "\n";
    }
    return text;
}

std::vector<WallRecord> FlagSpellingWalls() {
    std::vector<WallRecord> walls;
    for (int k = 0; k < 16; ++k) {
        walls.push_back(k < 8 ? WallA(k / 4, k % 4) : WallB(k / 4, k % 4));
    }
    return walls;
}

const std::string Zeros40 = std::string(40, '0');

std::vector<LevelCase> Cases() {
    std::vector<LevelCase> cases = {
        // Nothing, or nothing but separators.
        Fails("Empty", "", "1:1: the file ends before the grid size"),
        Fails("OnlyBlanks", " \t ", "1:4: the file ends before the grid size"),
        Fails("OnlyLineBreaks", "\n\r\n\r", "4:1: the file ends before the grid size"),
        Fails("GridSizeAlone", "0", "1:2: the file ends before flag A of node (0, 0)"),
        Fails("GridSizeAloneOnItsLine", "3\n", "2:1: the file ends before flag A of node (0, 0)"),

        // Tokens that are not decimal numbers.
        Fails("LetterForGridSize", "x\n",
              "1:1: expected the grid size as a decimal number, found \"x\""),
        Fails("LetterOForZero", "0\n1,o\n",
              "2:3: expected flag B of node (0, 0) as a decimal number, found \"o\""),
        Fails("Nan", "nan\n", "1:1: expected the grid size as a decimal number, found \"nan\""),
        Fails("Inf", "0\ninf,0\n",
              "2:1: expected flag A of node (0, 0) as a decimal number, found \"inf\""),
        Fails("MinusInfinity", "-infinity\n",
              "1:1: expected the grid size as a decimal number, found \"-infinity\""),
        Fails("Hex", "0x1\n", "1:1: expected the grid size as a decimal number, found \"0x1\""),
        Fails("PointAlone", "0\n.,0",
              "2:1: expected flag A of node (0, 0) as a decimal number, found \".\""),
        Fails("SignAlone", "0\n-,0",
              "2:1: expected flag A of node (0, 0) as a decimal number, found \"-\""),
        Fails("ExponentWithoutDigits", "0\n1e,0",
              "2:1: expected flag A of node (0, 0) as a decimal number, found \"1e\""),
        Fails("Semicolon", "0\n1;1",
              "2:1: expected flag A of node (0, 0) as a decimal number, found \"1;1\""),
        Fails("NulInToken", std::string("0\n1\0,1", 6),
              "2:1: expected flag A of node (0, 0) as a decimal number, found \"1\\x00\""),
        Fails("Utf8ByteOrderMark",
              "\xEF\xBB\xBF"
              "0\n1,1\n",
              "1:1: expected the grid size as a decimal number, found \"\\xEF\\xBB\\xBF0\""),
        Fails(
            "UnicodeMinus",
            "0\n\xE2\x88\x92"
            "1,0\n",
            "2:1: expected flag A of node (0, 0) as a decimal number, found \"\\xE2\\x88\\x921\""),
        Fails("NoBreakSpace",
              "0\n1,\xA0"
              "1\n",
              "2:3: expected flag B of node (0, 0) as a decimal number, found \"\\xA01\""),
        Fails("FormFeed", "0\n1,\f1\n",
              "2:3: expected flag B of node (0, 0) as a decimal number, found \"\\x0C1\""),
        Fails("LongGarbageIsQuotedShort", "0\n" + std::string(50, 'x'),
              "2:1: expected flag A of node (0, 0) as a decimal number, found \"" +
                  std::string(40, 'x') + "...\""),

        // Numbers out of a double's range.
        Fails("Overflow", "1e309\n",
              "1:1: expected the grid size, found \"1e309\", out of the range of a 64-bit float"),
        Fails("Underflow", "0\n1e-400,0\n",
              "2:1: expected flag A of node (0, 0), found \"1e-400\", out of the range of a 64-bit "
              "float"),
        Loads("HugeExponentOfZero", "0\n0e99999999999,1\n", {WallB(0, 0)}),

        // Tokens of 256 characters are read; longer ones are refused as they stream past.
        Loads("Token256Characters", "0\n" + std::string(255, '0') + "1,0\n", {WallA(0, 0)}),
        Fails("Token257Characters", "0\n" + std::string(256, '0') + "1,0\n",
              "2:1: expected flag A of node (0, 0), found \"" + Zeros40 +
                  "...\", longer than 256 characters"),

        // A comma always separates fields, as in "1,5" written for one and a half.
        Loads("DecimalCommaIsTwoFlags", "0\n1,5\n", {WallA(0, 0)}),
        Loads("DecimalCommaGridSize", "1,5,0,0,0,1,0,0,0\n", {WallA(1, 0)}),

        // Grid sizes: rounded half to even, refused above 1000, none read below 0.
        Fails("GridSizeTooLarge", "1001\n",
              "1:1: grid size 1001 is too large: the largest grid read is 1000"),
        Fails("GridSizeHuge", "1e100\n",
              "1:1: grid size 1e100 is too large: the largest grid read is 1000"),
        Fails("GridSizeRoundsUpPastLimit", "1000.5000001\n",
              "1:1: grid size 1000.5000001 is too large: the largest grid read is 1000"),
        Fails("GridSizeRoundsDownToLimit", "1000.5\n",
              "2:1: the file ends before flag A of node (0, 0)"),
        Loads("GridSizeMinusOne", "-1\n", {}),
        Loads("GridSizeVeryNegative", "-1e300\n", {}),
        // A negative size is the last number read: what follows on its line is not read.
        Loads("GridSizeMinusOneThenText", "-1 x", {}),
        Loads("GridSizeMinusOneThenFlags", "-1,1,1\n", {}),
        Loads("GridSizeMinusHalfIsZero", "-0.5\n1,1\n", {WallA(0, 0), WallB(0, 0)}),
        Loads("GridSizeMinusZero", "-0\n1,0\n", {WallA(0, 0)}),
        Loads("GridSizeHalfIsZero", "0.5\n1,0\n", {WallA(0, 0)}),
        Fails("GridSizeOneAndAHalfIsTwo", GridLevel("1.5", 1, {}),
              "6:1: the file ends before flag A of node (1, 1)"),
        Loads("GridSizeTwoAndAHalfIsTwo", GridLevel("2.5", 2, {{2, 2, 'A'}}), {WallA(2, 2)}),
        Fails("GridSizeThreeAndAHalfIsFour", GridLevel("3.5", 3, {}),
              "18:1: the file ends before flag A of node (3, 1)"),

        // Flags: set only when the number equals 1.
        Loads("FlagSpellings", FlagSpellings(), FlagSpellingWalls()),
        Loads("FlagCloseEnoughToOneInADouble", "0\n0.99999999999999999999,0\n", {WallA(0, 0)}),

        // Line ends, blanks and blank lines.
        Loads("LineEndsLf", SmallLevel("\n"), SmallWalls),
        Loads("LineEndsCrLf", SmallLevel("\r\n"), SmallWalls),
        Loads("LineEndsCr", SmallLevel("\r"), SmallWalls),
        Loads("LineEndsMixed", "1\r\n1,0\r0,1\n1,1\r\n0,0", SmallWalls),
        Loads("OneLine", "1,1,0,0,1,1,1,0,0", SmallWalls),
        Loads("OneTokenALine", "1\n1\n0\n0\n1\n1\n1\n0\n0\n", SmallWalls),
        Loads("TabsAndBlanks", " \t1 \t\r\n\t1 ,\t0\t\n 0 , 1\n1,1 \n 0,0", SmallWalls),
        Loads("BlankLines", "\n\n1\n\n1,0\n \n\t\n0,1\n\n\r\n\r1,1\n0,0\n\n\n", SmallWalls),
        Loads("BlankLineBetweenFlagsOfANode", "0\n1\n\n1", {WallA(0, 0), WallB(0, 0)}),
        Fails("ErrorLineCrLf", "0\r\n1,x\r\n",
              "2:3: expected flag B of node (0, 0) as a decimal number, found \"x\""),
        Fails("ErrorLineCr", "0\r1,x\r",
              "2:3: expected flag B of node (0, 0) as a decimal number, found \"x\""),
        Fails("LfCrIsTwoLines", "0\n\r1,x",
              "3:3: expected flag B of node (0, 0) as a decimal number, found \"x\""),
        Fails("TabIsOneColumn", "0\n\t\tx",
              "2:3: expected flag A of node (0, 0) as a decimal number, found \"x\""),
        Fails("TwoNumbersWithoutComma", "0\n1 1",
              "2:3: expected a comma or a line break after \"1\", found \"1\""),

        // Empty fields and trailing text.
        Fails("EmptyField", "0\n1,,1",
              "2:3: empty field: expected flag B of node (0, 0) after the comma"),
        Fails("CommaAtLineEnd", "0\n1,\n1",
              "2:3: empty field: expected flag B of node (0, 0) after the comma"),
        Fails("CommaFirst", ",0\n", "1:1: empty field: expected the grid size after the comma"),
        Loads("TrailingCommaAfterLastFlag", "0\n1,1,", {WallA(0, 0), WallB(0, 0)}),
        Loads("TextAfterLastFlagIsNotRead", "0\n1,1\nthis is not read,,\x01\xff",
              {WallA(0, 0), WallB(0, 0)}),
        Fails("TextGluedToLastFlag", "0\n1,1x",
              "2:3: expected flag B of node (0, 0) as a decimal number, found \"1x\""),

        // The wall table holds 1000 walls.
        Loads("ThousandWalls", CrowdedLevel(500, 0, nullptr), ThousandWalls()),
        Fails("ThousandAndFirstWallFromA", CrowdedLevel(500, 'A', nullptr),
              "502:1: flag A of node (21, 17) would make wall 1001, but the wall table holds 1000 "
              "walls"),
        Fails("ThousandAndFirstWallFromB", CrowdedLevel(500, 'B', nullptr),
              "502:3: flag B of node (21, 17) would make wall 1001, but the wall table holds 1000 "
              "walls"),

        // The described examples.
        Loads("TwoWallsBehindTheViewer", "0\n1,1\n", {WallA(0, 0), WallB(0, 0)}),
        Loads("OneWallStraightAhead", GridLevel("12", 12, {{10, 12, 'A'}}), {WallA(10, 12)}),
    };
    return cases;
}

void ExpectOutcome(const LevelCase& c, const std::optional<LoadError>& failure,
                   const std::string& fileName, const Module1& state) {
    if (c.Error.empty()) {
        EXPECT_FALSE(failure.has_value()) << failure->Message;
        const std::vector<WallRecord> walls = LiveWalls(state);
        ASSERT_EQ(walls.size(), c.Walls.size());
        for (std::size_t k = 0; k < walls.size(); ++k) {
            EXPECT_TRUE(SameWall(walls[k], c.Walls[k]))
                << "wall " << k + 1 << ": (" << walls[k].x1 << ", " << walls[k].y1 << ") to ("
                << walls[k].x2 << ", " << walls[k].y2 << ")";
        }
    } else {
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Message, fileName + ":" + c.Error);
        EXPECT_EQ(state.WallCount, 0);
    }
}

class BadLevel : public testing::TestWithParam<LevelCase> {};

TEST_P(BadLevel, ReadFromMemory) {
    const LevelCase& c = GetParam();
    Module1 state;
    FillWithOldWalls(state);
    const auto failure = ReadLevel(c.Bytes, "torv-2.dat", state);
    ExpectOutcome(c, failure, "torv-2.dat", state);
}

TEST_P(BadLevel, ReadFromFile) {
    const LevelCase& c = GetParam();
    const ScratchFolder folder;
    Module1 state;
    FillWithOldWalls(state);
    state.View.LevelFileName = folder.Write("torv-2.dat", c.Bytes);
    const auto failure = LoadLevel(state);
    ExpectOutcome(c, failure, state.View.LevelFileName, state);
}

INSTANTIATE_TEST_SUITE_P(Table, BadLevel, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<LevelCase>& info) {
                             return info.param.Name;
                         });

TEST(BadLevelTable, HoldsEnoughCases) {
    EXPECT_GE(Cases().size(), 40u);
}

}  // namespace

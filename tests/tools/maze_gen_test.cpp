// mazewalk-gen: its mazes load as the program loads them, fit the wall table,
// are perfect, start in a corridor, and depend on the seed alone.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "ToolsTestSupport.h"

namespace {

// What a search over the loaded maze's cells finds.
struct Survey {
    int Columns = 0;
    int Rows = 0;
    int Passages = 0;
    int Reached = 0;
    int StraySides = 0;    // walls that are not the side of any cell
    int BoundaryGaps = 0;  // missing sides of the outer boundary
};

Survey SurveyFromStart(const LoadedMaze& m) {
    Survey s;
    s.Columns = (m.MaxX - m.MinX) / 2;
    s.Rows = (m.MaxY - m.MinY) / 2;
    for (const auto& [x, y] : m.Across) {
        if ((x - m.MinX) % 2 != 1 || (y - m.MinY) % 2 != 0) {
            ++s.StraySides;
        }
    }
    for (const auto& [x, y] : m.Along) {
        if ((x - m.MinX) % 2 != 0 || (y - m.MinY) % 2 != 1) {
            ++s.StraySides;
        }
    }
    for (int x = m.MinX + 1; x < m.MaxX; x += 2) {
        s.BoundaryGaps += (m.Across.count({x, m.MinY}) == 0) + (m.Across.count({x, m.MaxY}) == 0);
    }
    for (int y = m.MinY + 1; y < m.MaxY; y += 2) {
        s.BoundaryGaps += (m.Along.count({m.MinX, y}) == 0) + (m.Along.count({m.MaxX, y}) == 0);
    }

    const auto neighbours = [&m](int x, int y) {
        std::vector<std::pair<int, int>> open;
        if (x + 2 < m.MaxX && m.Along.count({x + 1, y}) == 0)
            open.emplace_back(x + 2, y);
        if (x - 2 > m.MinX && m.Along.count({x - 1, y}) == 0)
            open.emplace_back(x - 2, y);
        if (y + 2 < m.MaxY && m.Across.count({x, y + 1}) == 0)
            open.emplace_back(x, y + 2);
        if (y - 2 > m.MinY && m.Across.count({x, y - 1}) == 0)
            open.emplace_back(x, y - 2);
        return open;
    };
    for (int x = m.MinX + 1; x < m.MaxX; x += 2) {
        for (int y = m.MinY + 1; y < m.MaxY; y += 2) {
            for (const auto& [nx, ny] : neighbours(x, y)) {
                s.Passages += (nx > x || ny > y) ? 1 : 0;  // each passage once
            }
        }
    }
    if (!m.IsCellCentre(0, 0)) {
        return s;
    }
    std::map<std::pair<int, int>, bool> seen{{{0, 0}, true}};
    std::deque<std::pair<int, int>> queue{{0, 0}};
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        ++s.Reached;
        for (const auto& next : neighbours(x, y)) {
            if (!seen[next]) {
                seen[next] = true;
                queue.push_back(next);
            }
        }
    }
    return s;
}

class GeneratedMaze : public ::testing::TestWithParam<std::tuple<int, std::uint32_t>> {};

TEST_P(GeneratedMaze, LoadsAsAPerfectMazeWithinTheTable) {
    const auto [size, seed] = GetParam();
    const auto state = LoadText(MazeText(size, seed));
    EXPECT_EQ(state->WallCount, (size + 1) * (size + 1));
    EXPECT_LE(state->WallCount, WallCapacity);

    const LoadedMaze maze = ReadBack(*state);
    ASSERT_TRUE(maze.AllWallsTwoLongOnTheGrid);
    // Every wall loaded once: no two flags made the same wall.
    EXPECT_EQ(maze.Across.size() + maze.Along.size(), static_cast<std::size_t>(state->WallCount));
    const Survey s = SurveyFromStart(maze);
    EXPECT_EQ(s.Columns, size);
    EXPECT_EQ(s.Rows, size);
    EXPECT_EQ(s.StraySides, 0);
    EXPECT_EQ(s.BoundaryGaps, 0);
    // Connected, with one passage fewer than cells: a tree, so exactly one
    // path between any two cells.
    EXPECT_EQ(s.Reached, size * size);
    EXPECT_EQ(s.Passages, size * size - 1);
}

TEST_P(GeneratedMaze, StartsInACellWithTheCorridorAhead) {
    const auto [size, seed] = GetParam();
    const LoadedMaze maze = ReadBack(*LoadText(MazeText(size, seed)));
    // The viewer stands on (0, 0) facing +y: the centre of a cell, with the
    // next cell ahead and no wall between.
    ASSERT_TRUE(maze.IsCellCentre(0, 0));
    EXPECT_TRUE(maze.IsCellCentre(0, 2));
    EXPECT_EQ(maze.Across.count({0, 1}), 0U);
}

INSTANTIATE_TEST_SUITE_P(SizesAndSeeds, GeneratedMaze,
                         ::testing::Combine(::testing::Values(2, 3, 4, 9, 17, 29, LargestMazeSize),
                                            ::testing::Values(1U, 2U, 4294967295U)));

TEST(MazeGen, SameSeedSameFileOtherSeedsOtherMazes) {
    EXPECT_EQ(MazeText(12, 99), MazeText(12, 99));
    std::set<std::string> mazes;
    for (std::uint32_t seed = 0; seed < 30; ++seed) {
        mazes.insert(MazeText(12, seed));
    }
    EXPECT_EQ(mazes.size(), 30U);
}

TEST(MazeGen, GridNodesStartAtZeroAndTheFileHasEveryNode) {
    // The grid's lowest corner sits at node 1 or above, never below 0, and
    // the file holds exactly the flags the loader reads.
    for (const int size : {2, 5, 9, 10, LargestMazeSize}) {
        const Maze maze = GenerateMaze(size, 3);
        EXPECT_GE(maze.CornerI(), 1) << size;
        EXPECT_GE(maze.CornerJ(), 1) << size;
        const LevelGrid grid = MazeGrid(maze);
        const std::string text = LevelText(grid);
        const auto lines = std::count(text.begin(), text.end(), '\n');
        EXPECT_EQ(lines, 1 + (grid.GridSize + 1) * (grid.GridSize + 1)) << size;
        // Dropping the last flag must make the file incomplete.
        Module1 state;
        EXPECT_TRUE(ReadLevel(text.substr(0, text.size() - 2), "cut.dat", state).has_value());
    }
}

TEST(MazeGen, SizesOutsideTheTableAreRefusedNamingTheLargest) {
    EXPECT_FALSE(MazeSizeError(SmallestMazeSize).has_value());
    EXPECT_FALSE(MazeSizeError(LargestMazeSize).has_value());
    EXPECT_EQ(LoadText(MazeText(LargestMazeSize, 1))->WallCount, 961);

    struct Case {
        long long Size;
        const char* Says;
    };
    for (const Case& c : {Case{31,
                               "a maze of 31 x 31 cells needs 1024 walls, but the wall table "
                               "holds 1000: the largest maze that fits is 30 x 30 (961 walls)"},
                          Case{1000000, "the largest maze that fits is 30 x 30"},
                          Case{9000000000000000000, "the largest maze that fits is 30 x 30"},
                          Case{1, "the smallest is 2 x 2"}, Case{0, "the smallest is 2 x 2"},
                          Case{-4, "the smallest is 2 x 2"}}) {
        const auto error = MazeSizeError(c.Size);
        ASSERT_TRUE(error.has_value()) << c.Size;
        EXPECT_NE(error->find(c.Says), std::string::npos) << *error;
    }
}

TEST(MazeRandom, DrawsStayBelowTheBoundAndCoverIt) {
    MazeRandom random(7);
    for (const std::uint32_t bound : {1U, 2U, 3U, 7U, 0x8000'0001U, 0xFFFF'FFFFU}) {
        std::set<std::uint32_t> small;
        for (int k = 0; k < 2000; ++k) {
            const std::uint32_t v = random.Below(bound);
            ASSERT_LT(v, bound);
            if (bound <= 7) {
                small.insert(v);
            }
        }
        if (bound <= 7) {
            EXPECT_EQ(small.size(), bound);
        }
    }
    // The engine's first output for its default seed is fixed by the
    // standard; a bound of 2^32 - 1 rejects only 2^32 - 1 itself, so the
    // draw is that output unchanged.
    EXPECT_EQ(MazeRandom(5489).Below(0xFFFF'FFFFU), 3499211612U);
}

// The tool itself, run as a person runs it.
TEST(MazeGenTool, WritesTheLibrarysMazeToAFileOrStandardOutput) {
    const auto folder = TestFolder();
    const auto file = folder / "torv-2.dat";
    for (const std::string& output : OutputForms(file)) {
        std::filesystem::remove(file);
        const auto result =
            RunTool(std::string(MAZEWALK_GEN) + " --size 30 --seed 5 " + output, folder);
        EXPECT_EQ(result.Status, 0) << result.Err;
        EXPECT_EQ(ReadFile(file), MazeText(30, 5)) << output;
    }

    auto result = RunTool(std::string(MAZEWALK_GEN) + " --seed=3 --size=8", folder);
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, MazeText(8, 3));
    EXPECT_EQ(result.Err, "");
    // Numbers are decimal whatever their leading zeros (not 010 = octal 8),
    // and the last of an option given twice counts.
    result = RunTool(std::string(MAZEWALK_GEN) + " --size 4 --seed 010 --size 08", folder);
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, MazeText(8, 10));
}

TEST(MazeGenTool, RefusesBadArgumentsOnStandardError) {
    const auto folder = TestFolder();
    struct Case {
        const char* Arguments;
        const char* Says;
    };
    for (const Case& c : {
             Case{"--size 31",
                  "--size: a maze of 31 x 31 cells needs 1024 walls, but the wall "
                  "table holds 1000: the largest maze that fits is 30 x 30"},
             Case{"--size=1", "the smallest is 2 x 2"},
             Case{"--size", "option '--size' needs a value"},
             Case{"--size 12x", "--size: '12x' is not a whole number"},
             Case{"--size 0x10", "'0x10' is not a whole number"},
             Case{"--size 99999999999999999999", "Value 99999999999999999999 not in range"},
             Case{"--seed -1", "--seed: Value -1 not in range 0 to 4294967295"},
             Case{"--seed=4294967296", "Value 4294967296 not in range 0 to 4294967295"},
             Case{"--colour red", "unknown option '--colour'"},
             Case{"--size 9 --colour=red", "unknown option '--colour'"},
             Case{"maze.dat", "unexpected argument 'maze.dat'"},
             Case{"-o \"\"", "--output: the file name is empty"},
             Case{"--output=", "option '--output' needs a value"},
         }) {
        ExpectRefused(RunTool(std::string(MAZEWALK_GEN) + " " + c.Arguments, folder),
                      "mazewalk-gen", c.Says, c.Arguments);
    }

    const auto result =
        RunTool(std::string(MAZEWALK_GEN) + " -o no/such/folder/torv-2.dat", folder);
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Err.rfind("mazewalk-gen: no/such/folder/torv-2.dat: cannot write", 0), 0U)
        << result.Err;
}

TEST(MazeGenTool, SizeIsTwoToThirtyAndSeedAnyThirtyTwoBits) {
    const auto folder = TestFolder();
    ExpectBounds("mazewalk-gen", MAZEWALK_GEN, "--size", 2, 30, 0, " -o maze.dat", folder);
    ExpectBounds("mazewalk-gen", MAZEWALK_GEN, "--seed", 0, 4294967295, 0, " -o maze.dat", folder);
}

TEST(MazeGenTool, HelpAndVersionGoToStandardOutput) {
    ExpectHelpAndVersion("mazewalk-gen", MAZEWALK_GEN, "--size N", TestFolder());
}

}  // namespace

// Perfect mazes of square cells, written as level files the program loads.
//
// A maze of Size x Size cells, each 2 units wide, with its corners on odd grid
// nodes and its cell centres on even ones. A horizontal cell side between
// corners (i - 1, j) and (i + 1, j) is flag A of node (i, j); a vertical side
// between (i, j - 1) and (i, j + 1) is flag B of node (i, j). The viewer's
// start node (10, 10) is the centre of the start cell, and the maze always
// opens from there toward increasing j, the direction the viewer first faces.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

// A Size x Size perfect maze has 2 x Size x (Size + 1) cell sides of which
// Size x Size - 1 are opened, leaving (Size + 1)^2 walls.
constexpr int MazeWallCount(int size) {
    return (size + 1) * (size + 1);
}

// The largest maze whose walls fit the program's wall table of 1000.
inline constexpr int LargestMazeSize = 30;
// The smallest maze with a cell ahead of the start.
inline constexpr int SmallestMazeSize = 2;

struct Maze {
    int Size = 0;
    // The cell whose centre is node (10, 10). Cells are numbered from the
    // corner nearest node (0, 0): column along i, row along j.
    int StartColumn = 0;
    int StartRow = 0;
    // Open passages, indexed Row * Size + Column: to the cell at Row + 1, and
    // to the cell at Column + 1. The last row's North and last column's East
    // are always closed (the boundary).
    std::vector<std::uint8_t> OpenNorth;
    std::vector<std::uint8_t> OpenEast;

    // Grid node of the cell corner nearest node (0, 0); both odd.
    int CornerI() const { return 10 - 1 - 2 * StartColumn; }
    int CornerJ() const { return 10 - 1 - 2 * StartRow; }
    // Node of a cell's centre.
    int CentreI(int column) const { return CornerI() + 1 + 2 * column; }
    int CentreJ(int row) const { return CornerJ() + 1 + 2 * row; }
};

// Why a maze of this size cannot be made, or nothing when it can.
std::optional<std::string> MazeSizeError(long long size);

// Uniform in [0, bound): rejection sampling on the generator's raw 32-bit
// output, so the same seed gives the same maze with every standard library
// (std::uniform_int_distribution is not specified to that degree).
// bound must be at least 1.
class MazeRandom {
  public:
    explicit MazeRandom(std::uint32_t seed) : Engine(seed) {}
    std::uint32_t Below(std::uint32_t bound);

  private:
    // The standard fixes this engine's output sequence, unlike the
    // distributions'.
    std::mt19937 Engine;
};

// A perfect maze grown cell by cell from the start cell (a growing tree that
// mostly extends its newest cell, so corridors run long, and sometimes an
// older one, so they branch). The first step always goes toward increasing
// j. size must pass MazeSizeError.
Maze GenerateMaze(int size, std::uint32_t seed);

// The grid of a level file: GridSize N and flags A and B of nodes (i, j),
// indexed i * (N + 1) + j.
struct LevelGrid {
    int GridSize = 0;
    std::vector<std::uint8_t> A;
    std::vector<std::uint8_t> B;
};

LevelGrid MazeGrid(const Maze& maze);

// The level file's text: N on the first line, then one node per line as
// "A,B", i-major, each line ending in LF.
std::string LevelText(const LevelGrid& grid);

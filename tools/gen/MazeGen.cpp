#include "tools/gen/MazeGen.h"

#include <algorithm>

#include "world/Module1.h"

static_assert(MazeWallCount(LargestMazeSize) <= WallCapacity &&
                  MazeWallCount(LargestMazeSize + 1) > WallCapacity,
              "LargestMazeSize must be the largest maze the wall table holds");

namespace {

// Up to this size the wall count is worked out exactly in the message.
constexpr long long LargestSizeNamed = 1'000'000;

// The start cell: as far from the maze's left edge as node (10, 10) allows
// (grid nodes start at 0, so at most 4 cells), on the first row so that the
// viewer starts at the maze's edge, looking into it.
int StartColumnFor(int size) {
    return std::min(4, (size - 1) / 2);
}

// One choice in BranchOdds grows the maze from an older cell.
constexpr std::uint32_t BranchOdds = 4;

struct Cell {
    int Column;
    int Row;
};

std::size_t IndexOf(const Maze& maze, Cell c) {
    return static_cast<std::size_t>(c.Row) * static_cast<std::size_t>(maze.Size) +
           static_cast<std::size_t>(c.Column);
}

// Opens the side between two neighbouring cells.
void OpenBetween(Maze& maze, Cell from, Cell to) {
    if (from.Row != to.Row) {
        maze.OpenNorth[IndexOf(maze, from.Row < to.Row ? from : to)] = 1;
    } else {
        maze.OpenEast[IndexOf(maze, from.Column < to.Column ? from : to)] = 1;
    }
}

// The neighbours of here not yet visited, in a fixed order of directions, so
// that the seed alone picks the maze. Returns how many there are.
std::uint32_t UnvisitedAround(const Maze& maze, const std::vector<std::uint8_t>& visited, Cell here,
                              Cell (&choices)[4]) {
    const Cell around[4] = {{here.Column, here.Row + 1},
                            {here.Column + 1, here.Row},
                            {here.Column, here.Row - 1},
                            {here.Column - 1, here.Row}};
    std::uint32_t count = 0;
    for (const Cell& c : around) {
        if (c.Column >= 0 && c.Column < maze.Size && c.Row >= 0 && c.Row < maze.Size &&
            visited[IndexOf(maze, c)] == 0) {
            choices[count++] = c;
        }
    }
    return count;
}

}  // namespace

std::optional<std::string> MazeSizeError(long long size) {
    if (size < SmallestMazeSize) {
        return "a maze of " + std::to_string(size) + " x " + std::to_string(size) +
               " cells is too small: the smallest is " + std::to_string(SmallestMazeSize) + " x " +
               std::to_string(SmallestMazeSize) + " (the start cell and a cell ahead of it)";
    }
    if (size > LargestMazeSize) {
        const std::string walls = size <= LargestSizeNamed
                                      ? std::to_string((size + 1) * (size + 1)) + " walls"
                                      : "more walls than that";
        return "a maze of " + std::to_string(size) + " x " + std::to_string(size) +
               " cells needs " + walls + ", but the wall table holds " +
               std::to_string(WallCapacity) + ": the largest maze that fits is " +
               std::to_string(LargestMazeSize) + " x " + std::to_string(LargestMazeSize) + " (" +
               std::to_string(MazeWallCount(LargestMazeSize)) + " walls)";
    }
    return std::nullopt;
}

std::uint32_t MazeRandom::Below(std::uint32_t bound) {
    // Draws landing in the last, incomplete run of `bound` values are
    // redrawn, so every result is equally likely.
    const std::uint32_t excess = static_cast<std::uint32_t>(0x1'0000'0000ULL % bound);
    const std::uint32_t limit = 0xFFFF'FFFFU - excess;
    std::uint32_t draw = static_cast<std::uint32_t>(Engine());
    while (draw > limit) {
        draw = static_cast<std::uint32_t>(Engine());
    }
    return draw % bound;
}

Maze GenerateMaze(int size, std::uint32_t seed) {
    Maze maze;
    maze.Size = size;
    maze.StartColumn = StartColumnFor(size);
    maze.StartRow = 0;
    const auto cells = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    maze.OpenNorth.assign(cells, 0);
    maze.OpenEast.assign(cells, 0);

    std::vector<std::uint8_t> visited(cells, 0);
    std::vector<Cell> path;
    path.reserve(cells);
    const Cell start{maze.StartColumn, maze.StartRow};
    const Cell ahead{start.Column, start.Row + 1};
    visited[IndexOf(maze, start)] = 1;
    visited[IndexOf(maze, ahead)] = 1;
    OpenBetween(maze, start, ahead);
    path.push_back(start);
    path.push_back(ahead);

    MazeRandom random(seed);
    while (!path.empty()) {
        // Mostly the newest cell, as a depth-first search would, for long
        // winding corridors; now and then an older one, for side branches
        // and so for choices along the way.
        const std::size_t at = random.Below(BranchOdds) == 0
                                   ? random.Below(static_cast<std::uint32_t>(path.size()))
                                   : path.size() - 1;
        const Cell here = path[at];
        Cell choices[4];
        const std::uint32_t count = UnvisitedAround(maze, visited, here, choices);
        if (count == 0) {
            path.erase(path.begin() + static_cast<std::ptrdiff_t>(at));
            continue;
        }
        const Cell next = choices[random.Below(count)];
        visited[IndexOf(maze, next)] = 1;
        OpenBetween(maze, here, next);
        path.push_back(next);
    }
    return maze;
}

LevelGrid MazeGrid(const Maze& maze) {
    LevelGrid grid;
    const int size = maze.Size;
    grid.GridSize = std::max(maze.CornerI(), maze.CornerJ()) + 2 * size;
    const auto nodes =
        static_cast<std::size_t>(grid.GridSize + 1) * static_cast<std::size_t>(grid.GridSize + 1);
    grid.A.assign(nodes, 0);
    grid.B.assign(nodes, 0);
    const auto node = [&grid](int i, int j) {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(grid.GridSize + 1) +
               static_cast<std::size_t>(j);
    };
    const auto cell = [size](int column, int row) {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(size) +
               static_cast<std::size_t>(column);
    };

    // Horizontal sides: row r of sides lies between cell rows r - 1 and r.
    for (int r = 0; r <= size; ++r) {
        for (int c = 0; c < size; ++c) {
            const bool wall = r == 0 || r == size || maze.OpenNorth[cell(c, r - 1)] == 0;
            grid.A[node(maze.CornerI() + 1 + 2 * c, maze.CornerJ() + 2 * r)] = wall ? 1 : 0;
        }
    }
    // Vertical sides: column c of sides lies between cell columns c - 1 and c.
    for (int c = 0; c <= size; ++c) {
        for (int r = 0; r < size; ++r) {
            const bool wall = c == 0 || c == size || maze.OpenEast[cell(c - 1, r)] == 0;
            grid.B[node(maze.CornerI() + 2 * c, maze.CornerJ() + 1 + 2 * r)] = wall ? 1 : 0;
        }
    }
    return grid;
}

std::string LevelText(const LevelGrid& grid) {
    std::string text = std::to_string(grid.GridSize) + "\n";
    text.reserve(text.size() + grid.A.size() * 4);
    for (std::size_t k = 0; k < grid.A.size(); ++k) {
        text += grid.A[k] != 0 ? '1' : '0';
        text += ',';
        text += grid.B[k] != 0 ? '1' : '0';
        text += '\n';
    }
    return text;
}

// Helpers shared by the level tests and the walk fuzzer: the walls a level
// should give, level text built from a list of set flags, a scratch folder
// for level files, and whether every wall is still finite after a walk.
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "world/Module1.h"

// The wall flag A (across the view) or B (along it) of node (i, j) makes,
// with the node's distance from the eye as its first sort key.
inline WallRecord WallA(int i, int j) {
    const auto x = static_cast<float>(i - 10);
    const auto y = static_cast<float>(j - 10);
    return {x - 1, y, x + 1, y, std::sqrt(static_cast<double>(x * x + y * y))};
}
inline WallRecord WallB(int i, int j) {
    const auto x = static_cast<float>(i - 10);
    const auto y = static_cast<float>(j - 10);
    return {x, y - 1, x, y + 1, std::sqrt(static_cast<double>(x * x + y * y))};
}

// One set flag of a grid.
struct SetFlag {
    int I;
    int J;
    char Flag;  // 'A' or 'B'
};

// A level of grid size `n` (written as nText), one node per line as "A,B",
// with only the listed flags set; lineEnd ends every line. The first `nodes`
// nodes are written (all of them when negative).
inline std::string GridLevel(std::string_view nText, int n, const std::vector<SetFlag>& set,
                             std::string_view lineEnd = "\n", int nodes = -1) {
    std::string text = std::string(nText) + std::string(lineEnd);
    int written = 0;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            if (nodes >= 0 && written == nodes) {
                return text;
            }
            bool a = false;
            bool b = false;
            for (const SetFlag& f : set) {
                if (f.I == i && f.J == j) {
                    (f.Flag == 'A' ? a : b) = true;
                }
            }
            text += a ? "1," : "0,";
            text += b ? "1" : "0";
            text += lineEnd;
            ++written;
        }
    }
    return text;
}

// The walls of the live table, in number order.
inline std::vector<WallRecord> LiveWalls(const Module1& state) {
    std::vector<WallRecord> walls;
    for (int k = 1; k <= state.WallCount; ++k) {
        walls.push_back(state.Walls[k]);
    }
    return walls;
}

inline bool SameWall(const WallRecord& a, const WallRecord& b) {
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.Distance == b.Distance;
}

// A table that already holds walls, so a failed load must be seen to empty it.
inline void FillWithOldWalls(Module1& state) {
    for (int k = 1; k <= 3; ++k) {
        state.Walls[k] = {7, 7, 8, 8, 1};
    }
    state.WallCount = 3;
}

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class ScratchFolder {
  public:
    // create_directory fails on a name already taken, so two tests (or two
    // test programs) never share a folder; a random name makes that rare.
    ScratchFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = std::filesystem::temp_directory_path() /
                                                    ("mazewalk-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                Path = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot make a scratch folder");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(Path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(Path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Write(const std::string& name, std::string_view bytes) const {
        const std::filesystem::path file = Path / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + file.string());
        }
        return file.string();
    }

    std::filesystem::path Path;
};

// Whether every wall of the table is still made of finite numbers: a long
// walk or a hostile level must never turn one into an infinity or a NaN.
inline bool AllFinite(const Module1& state) {
    for (int k = 1; k <= state.WallCount; ++k) {
        const WallRecord& w = state.Walls[k];
        if (!std::isfinite(w.x1) || !std::isfinite(w.y1) || !std::isfinite(w.x2) ||
            !std::isfinite(w.y2)) {
            return false;
        }
    }
    return true;
}

// Shared by the tool tests: loading a generated maze the way the program
// does, reading it back as cells, and running the tools as processes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "tools/gen/MazeGen.h"
#include "world/LoadLevel.h"

// The level file text for a maze, as mazewalk-gen writes it.
inline std::string MazeText(int size, std::uint32_t seed) {
    return LevelText(MazeGrid(GenerateMaze(size, seed)));
}

// A maze as the program sees it after loading. The state is large, so it
// lives on the heap.
inline std::unique_ptr<Module1> LoadText(const std::string& text) {
    auto state = std::make_unique<Module1>();
    const auto failure = ReadLevel(text, "maze.dat", *state);
    EXPECT_FALSE(failure.has_value()) << failure->Message;
    return state;
}

// The loaded walls as the cell sides they stand on, worked out from their
// coordinates alone: a wall along x centred on (x, y) is Across(x, y), one along
// y is Along(x, y). A maze's cells are the 2 x 2 squares inside the walls'
// bounding box, centred on the points with both coordinates an odd distance
// from its edges.
struct LoadedMaze {
    std::set<std::tuple<int, int>> Across;
    std::set<std::tuple<int, int>> Along;
    int MinX = 0;
    int MaxX = 0;
    int MinY = 0;
    int MaxY = 0;
    bool AllWallsTwoLongOnTheGrid = true;

    bool IsCellCentre(int x, int y) const {
        return x > MinX && x < MaxX && y > MinY && y < MaxY && (x - MinX) % 2 == 1 &&
               (y - MinY) % 2 == 1;
    }
};

inline LoadedMaze ReadBack(const Module1& state) {
    LoadedMaze maze;
    maze.MinX = maze.MinY = 1 << 20;
    maze.MaxX = maze.MaxY = -(1 << 20);
    for (int n = 1; n <= state.WallCount; ++n) {
        const WallRecord& w = state.Walls[n];
        const int x1 = static_cast<int>(w.x1);
        const int x2 = static_cast<int>(w.x2);
        const int y1 = static_cast<int>(w.y1);
        const int y2 = static_cast<int>(w.y2);
        if (y1 == y2 && x2 - x1 == 2) {
            maze.Across.insert({x1 + 1, y1});
        } else if (x1 == x2 && y2 - y1 == 2) {
            maze.Along.insert({x1, y1 + 1});
        } else {
            maze.AllWallsTwoLongOnTheGrid = false;
        }
        maze.MinX = std::min({maze.MinX, x1, x2});
        maze.MaxX = std::max({maze.MaxX, x1, x2});
        maze.MinY = std::min({maze.MinY, y1, y2});
        maze.MaxY = std::max({maze.MaxY, y1, y2});
    }
    return maze;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A fresh folder for one test, named after it, in the build folder
// (MAZEWALK_TOOLS_WORK): two builds testing at once, in one place as in CI,
// must not share it.
inline std::filesystem::path TestFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    const std::filesystem::path folder = std::filesystem::path(MAZEWALK_TOOLS_WORK) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

struct ProcessResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Text for people, with Windows' CRLF line ends read as LF. (Files a tool
// writes to stdout are compared as they are: they must be the same bytes.)
inline std::string WithoutCarriageReturns(std::string text) {
#if defined(_WIN32)
    std::string::size_type at = 0;
    while ((at = text.find("\r\n", at)) != std::string::npos) {
        text.erase(at, 1);
    }
#endif
    return text;
}

// Runs a command line through the shell, its output and errors caught in
// files of folder.
inline ProcessResult RunTool(const std::string& command, const std::filesystem::path& folder) {
    const auto out = folder / "stdout.txt";
    const auto err = folder / "stderr.txt";
    const std::string line = command + " >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
    const int raw = std::system(line.c_str());
    ProcessResult result;
    result.Out = ReadFile(out);
    result.Err = ReadFile(err);
#if defined(_WIN32)
    result.Status = raw;
    // Messages for people end their lines in CRLF on Windows, as they should.
    result.Err = WithoutCarriageReturns(result.Err);
#else
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    return result;
}

inline std::string Quoted(const std::filesystem::path& path) {
    // Appended piece by piece: "\"" + path.string() trips GCC 12's -Wrestrict
    // false positive inside libstdc++ in a Release build.
    std::string quoted = "\"";
    quoted += path.string();
    quoted += '"';
    return quoted;
}

// The three ways every program takes the file it writes.
inline std::vector<std::string> OutputForms(const std::filesystem::path& file) {
    return {"-o " + Quoted(file), "--output " + Quoted(file), "--output=" + Quoted(file)};
}

// A wrong command line, as every program reports it: status 2, nothing on
// stdout, and one line on stderr that names the fault and points to --help.
inline void ExpectRefused(const ProcessResult& result, const std::string& tool,
                          const std::string& says, const std::string& arguments) {
    EXPECT_EQ(result.Status, 2) << arguments;
    EXPECT_EQ(result.Out, "") << arguments;
    EXPECT_EQ(result.Err.rfind(tool + ": ", 0), 0U) << result.Err;
    EXPECT_NE(result.Err.find(says), std::string::npos) << result.Err;
    const std::string ending = "; try '" + tool + " --help'\n";
    EXPECT_TRUE(result.Err.ends_with(ending)) << result.Err;
    EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1) << result.Err;
}

// An option's range, seen from outside: its lowest and highest values are
// taken (the run ends with accepted, the status of going on), the first value
// past each end is refused as a wrong command line naming the option.
// arguments follow the option's value.
inline void ExpectBounds(const std::string& tool, const std::string& command,
                         const std::string& option, long long lowest, long long highest,
                         int accepted, const std::string& arguments,
                         const std::filesystem::path& folder) {
    const auto run = [&](long long value) {
        std::string line = command;  // piece by piece, as GCC 12 -Wrestrict wants
        line += ' ';
        line += option;
        line += ' ';
        line += std::to_string(value);
        line += arguments;
        return RunTool(line, folder);
    };
    for (const long long value : {lowest, highest}) {
        const auto result = run(value);
        EXPECT_EQ(result.Status, accepted) << option << " " << value << ": " << result.Err;
    }
    for (const long long value : {lowest - 1, highest + 1}) {
        ExpectRefused(run(value), tool, option, std::to_string(value));
    }
}

// --help and --version answer on stdout with status 0, as every program does.
inline void ExpectHelpAndVersion(const std::string& tool, const std::string& command,
                                 const std::string& helpSays, const std::filesystem::path& folder) {
    for (const char* help : {" --help", " -h"}) {
        auto result = RunTool(command + help, folder);
        result.Out = WithoutCarriageReturns(result.Out);
        EXPECT_EQ(result.Status, 0) << help;
        EXPECT_EQ(result.Out.rfind("Usage: " + tool + " ", 0), 0U) << result.Out;
        EXPECT_NE(result.Out.find(helpSays), std::string::npos) << result.Out;
        EXPECT_EQ(result.Err, "") << help;
    }
    const auto result = RunTool(command + " --version", folder);
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(WithoutCarriageReturns(result.Out), tool + " " MAZEWALK_VERSION "\n");
    EXPECT_EQ(result.Err, "");
}

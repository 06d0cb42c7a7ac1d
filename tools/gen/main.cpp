// mazewalk-gen: writes a perfect maze as a level file for mazewalk.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "options/CommandLine.h"
#include "tools/ToolMain.h"
#include "tools/gen/MazeGen.h"

namespace {

constexpr const char* ToolName = "mazewalk-gen";
constexpr int DefaultSize = 16;
constexpr std::uint32_t DefaultSeed = 1;

std::string Summary() {
    return "Writes a perfect maze of N x N cells (every cell reachable from every other\n"
           "by exactly one path) as a level file for mazewalk.";
}

std::string Footer() {
    return std::string(
               "The viewer starts at the centre of a cell on the maze's near edge, looking\n"
               "into the maze along an open corridor. mazewalk reads its level from\n"
               "\"torv-2.dat\" in the folder it is started in:\n  ") +
           ToolName + " --size 20 --seed 7 -o torv-2.dat\n";
}

// A size is refused with the reason the wall table gives, not a bare range.
std::string SizeFault(std::string& text) {
    long long size = 0;
    if (!ParseWhole(text, size)) {
        return "'" + text + "' is not a whole number";
    }
    return MazeSizeError(size).value_or("");
}

// Writes the whole text or reports why not; a file that could not be written
// whole is removed.
bool WriteText(const std::string& text, const std::string& path, std::string& error) {
    if (path.empty()) {
        BinaryStdout();
    }
    std::FILE* file = path.empty() ? stdout : std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = path + ": cannot write: " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeErrno = errno;
    const bool closed = path.empty() ? std::fflush(file) == 0 : std::fclose(file) == 0;
    if (!written || !closed) {
        const int reason = !written ? writeErrno : errno;
        if (!path.empty()) {
            std::remove(path.c_str());  // no half-written level left behind
        }
        error = (path.empty() ? std::string("standard output") : path) +
                ": cannot write: " + std::strerror(reason != 0 ? reason : EIO);
        return false;
    }
    return true;
}

}  // namespace

// Exit status 1 for a failure while writing, 2 for a wrong command line.
int main(int argc, char* argv[]) {
    CommandLine commandLine(ToolName, Summary(), Footer());
    long long size = DefaultSize;
    std::uint32_t seed = DefaultSeed;
    std::string output;  // empty: standard output
    commandLine
        .AddWholeNumber("--size", size,
                        "cells along each side, " + std::to_string(SmallestMazeSize) + " to " +
                            std::to_string(LargestMazeSize) + " (default " +
                            std::to_string(DefaultSize) +
                            ");\na maze of N x N cells has (N + 1)^2 walls,\n"
                            "and mazewalk holds at most 1000")
        ->check(CLI::Validator(SizeFault, ""));
    commandLine
        .AddWholeNumber("--seed", seed,
                        "seed of the maze, 0 to 4294967295 (default " +
                            std::to_string(DefaultSeed) +
                            ");\nthe same size and seed always give the same file")
        ->type_name("S");
    commandLine.AddOutput(output, "write to FILE instead of standard output");
    if (const auto status = commandLine.Read(argc, argv)) {
        return *status;
    }

    const Maze maze = GenerateMaze(static_cast<int>(size), seed);
    std::string error;
    if (!WriteText(LevelText(MazeGrid(maze)), output, error)) {
        return Fail(ToolName, error, 1);
    }
    return 0;
}

// mazewalk-gen: writes a perfect maze as a level file for mazewalk.
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "tools/ToolMain.h"
#include "tools/gen/MazeGen.h"

namespace {

constexpr const char* ToolName = "mazewalk-gen";
constexpr int DefaultSize = 16;
constexpr std::uint32_t DefaultSeed = 1;

void PrintHelp() {
    std::printf(
        "Usage: %s [--size N] [--seed S] [-o FILE]\n"
        "Writes a perfect maze of N x N cells (every cell reachable from every other\n"
        "by exactly one path) as a level file for mazewalk.\n"
        "\n"
        "  --size N     cells along each side, %d to %d (default %d); a maze of N x N\n"
        "               cells has (N + 1)^2 walls, and mazewalk holds at most 1000\n"
        "  --seed S     seed of the maze, 0 to 4294967295 (default %u); the same size\n"
        "               and seed always give the same file\n"
        "  -o FILE      write to FILE instead of standard output\n"
        "  -h, --help   show this help and exit\n"
        "\n"
        "The viewer starts at the centre of a cell on the maze's near edge, looking\n"
        "into the maze along an open corridor. mazewalk reads its level from\n"
        "\"torv-2.dat\" in the folder it is started in:\n"
        "  %s --size 20 --seed 7 -o torv-2.dat\n",
        ToolName, SmallestMazeSize, LargestMazeSize, DefaultSize,
        static_cast<unsigned>(DefaultSeed), ToolName);
}

// Exit status 1 for a failure while writing, 2 for a wrong argument.
struct Options {
    long long Size = DefaultSize;
    std::uint32_t Seed = DefaultSeed;
    std::string Output;  // empty: standard output
    bool Help = false;
};

// Reads "--name VALUE" or "--name=VALUE" into value; false when arg is another
// option.
bool OptionValue(int argc, char* argv[], int& k, std::string_view name, std::string& value,
                 std::string& error) {
    const std::string_view arg = argv[k];
    if (arg == name) {
        if (k + 1 >= argc) {
            error = "option " + std::string(name) + " needs a value";
            return true;
        }
        value = argv[++k];
        return true;
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=' &&
        name.substr(0, 2) == "--") {
        value = std::string(arg.substr(name.size() + 1));
        return true;
    }
    return false;
}

bool ParseOptions(int argc, char* argv[], Options& options, std::string& error) {
    for (int k = 1; k < argc && error.empty(); ++k) {
        const std::string_view arg = argv[k];
        std::string value;
        if (arg == "-h" || arg == "--help") {
            options.Help = true;
        } else if (OptionValue(argc, argv, k, "--size", value, error)) {
            if (error.empty() && !ParseWhole(value, options.Size)) {
                error = "--size needs a whole number of cells, not \"" + value + "\"";
            }
        } else if (OptionValue(argc, argv, k, "--seed", value, error)) {
            if (error.empty() && !ParseWhole(value, options.Seed)) {
                error = "--seed needs a whole number from 0 to 4294967295, not \"" + value + "\"";
            }
        } else if (OptionValue(argc, argv, k, "-o", value, error) ||
                   OptionValue(argc, argv, k, "--output", value, error)) {
            if (error.empty() && value.empty()) {
                error = "-o needs a file name";
            }
            options.Output = value;
        } else {
            error = "unknown argument \"" + std::string(arg) + "\"";
        }
    }
    return error.empty();
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

int main(int argc, char* argv[]) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        return FailUsage(ToolName, error);
    }
    if (options.Help) {
        PrintHelp();
        return 0;
    }
    if (auto sizeError = MazeSizeError(options.Size)) {
        return Fail(ToolName, *sizeError, 2);
    }
    const Maze maze = GenerateMaze(static_cast<int>(options.Size), options.Seed);
    if (!WriteText(LevelText(MazeGrid(maze)), options.Output, error)) {
        return Fail(ToolName, error, 1);
    }
    return 0;
}

// mazewalk-map: draws a top-down map of a mazewalk level as a PNG picture.
#include <SDL.h>
#include <SDL_image.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "tools/ToolMain.h"
#include "tools/map/MazeMap.h"
#include "world/LoadLevel.h"

namespace {

constexpr const char* ToolName = "mazewalk-map";

void PrintHelp() {
    std::printf(
        "Usage: %s LEVEL [-o OUT.png] [--scale N]\n"
        "Draws a top-down map of a mazewalk level file as a PNG picture: the walls in\n"
        "red, the viewer's start on node (10, 10) in blue with an arrow along its\n"
        "first facing (up), and a grid through every node with every 10th node\n"
        "numbered (i along the bottom, j up the left).\n"
        "\n"
        "  -o OUT.png   the picture to write (default: LEVEL with its extension\n"
        "               replaced by .png)\n"
        "  --scale N    pixels per grid unit, %d to %d (default %d, less for a level\n"
        "               too large for a %d-pixel picture)\n"
        "  -h, --help   show this help and exit\n"
        "\n"
        "A level that does not load is reported as mazewalk would report it.\n",
        ToolName, SmallestMapScale, LargestMapScale, DefaultMapScale, LargestMapSide);
}

// Exit status 1 for a level or picture that fails, 2 for a wrong argument.
struct Options {
    std::string Level;
    std::string Output;
    int Scale = 0;  // 0: chosen from the level
    bool Help = false;
};

bool ParseOptions(int argc, char* argv[], Options& options, std::string& error) {
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        std::string_view value;
        const bool needsValue = arg == "-o" || arg == "--output" || arg == "--scale";
        if (needsValue) {
            if (k + 1 >= argc) {
                error = "option " + std::string(arg) + " needs a value";
                return false;
            }
            value = argv[++k];
        }
        if (arg == "-h" || arg == "--help") {
            options.Help = true;
        } else if (arg == "-o" || arg == "--output") {
            options.Output = value;
        } else if (arg == "--scale" || arg.substr(0, 8) == "--scale=") {
            if (!needsValue) {
                value = arg.substr(8);
            }
            if (!ParseWhole(value, options.Scale) || options.Scale < SmallestMapScale ||
                options.Scale > LargestMapScale) {
                error = "--scale needs a whole number of pixels from " +
                        std::to_string(SmallestMapScale) + " to " +
                        std::to_string(LargestMapScale) + ", not \"" + std::string(value) + "\"";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option \"" + std::string(arg) + "\"";
            return false;
        } else if (options.Level.empty()) {
            options.Level = arg;
        } else {
            error = "one level at a time: \"" + std::string(arg) + "\" is one too many";
            return false;
        }
    }
    if (options.Help) {
        return true;
    }
    if (options.Level.empty()) {
        error = "which level? Give the level file to map";
        return false;
    }
    if (options.Output.empty()) {
        // The extension is what follows the last dot of the last path part.
        const std::size_t slash = options.Level.find_last_of("/\\");
        const std::size_t dot = options.Level.find_last_of('.');
        const bool hasExtension =
            dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
        options.Output = (hasExtension ? options.Level.substr(0, dot) : options.Level) + ".png";
    }
    if (options.Output == options.Level) {
        error = "the map would overwrite the level \"" + options.Level + "\": give -o";
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

    // The program's own state and loader, so that a level reads here exactly
    // as it reads when walked.
    auto state = std::make_unique<Module1>();
    state->View.LevelFileName = options.Level;
    if (auto failure = LoadLevel(*state)) {
        return Fail(ToolName, failure->Message, 1);
    }

    const auto layout = LayoutMap(*state, options.Scale, error);
    if (!layout) {
        return Fail(ToolName, error, 1);
    }
    const SurfacePtr map = DrawMap(*state, *layout, error);
    if (!map) {
        return Fail(ToolName, error, 1);
    }
    if (IMG_SavePNG(map.get(), options.Output.c_str()) != 0) {
        std::remove(options.Output.c_str());  // no broken picture left behind
        return Fail(ToolName, options.Output + ": cannot write the map: " + IMG_GetError(), 1);
    }
    return 0;
}

// mazewalk-map: draws a top-down map of a mazewalk level as a PNG picture.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <memory>
#include <string>

#include "options/CommandLine.h"
#include "tools/ToolMain.h"
#include "tools/map/MazeMap.h"
#include "world/LoadLevel.h"

namespace {

constexpr const char* ToolName = "mazewalk-map";

std::string Summary() {
    return "Draws a top-down map of a mazewalk level file as a PNG picture: the walls in\n"
           "red, the viewer's start on node (10, 10) in blue with an arrow along its\n"
           "first facing (up), and a grid through every node with every 10th node\n"
           "numbered (i along the bottom, j up the left).";
}

// The picture beside the level: the level's name with its extension, what
// follows the last dot of the last path part, replaced by .png.
std::string DefaultOutput(const std::string& level) {
    const std::size_t slash = level.find_last_of("/\\");
    const std::size_t dot = level.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? level.substr(0, dot) : level) + ".png";
}

}  // namespace

// Exit status 1 for a level or picture that fails, 2 for a wrong command line.
int main(int argc, char* argv[]) {
    CommandLine commandLine(
        ToolName, Summary(),
        "A level that does not load is reported as mazewalk would report it.\n");
    std::string level;
    std::string output;
    int scale = 0;  // 0: chosen from the level
    commandLine.add_option("LEVEL", level, "the level file to map")->required()->type_name("");
    commandLine.AddOutput(output,
                          "the PNG picture to write (default: LEVEL with its\n"
                          "extension replaced by .png)");
    commandLine.AddWholeNumber("--scale", scale,
                               "pixels per grid unit, " + std::to_string(SmallestMapScale) +
                                   " to " + std::to_string(LargestMapScale) + " (default " +
                                   std::to_string(DefaultMapScale) +
                                   ",\nless for a level too large for a " +
                                   std::to_string(LargestMapSide) + "-pixel\npicture)",
                               SmallestMapScale, LargestMapScale);
    if (const auto status = commandLine.Read(argc, argv)) {
        return *status;
    }
    if (output.empty()) {
        output = DefaultOutput(level);
    }
    if (output == level) {
        return commandLine.Refuse("the map would overwrite the level '" + level + "': give -o");
    }

    // The program's own state and loader, so that a level reads here exactly
    // as it reads when walked.
    auto state = std::make_unique<Module1>();
    state->View.LevelFileName = level;
    if (auto failure = LoadLevel(*state)) {
        return Fail(ToolName, failure->Message, 1);
    }

    std::string error;
    const auto layout = LayoutMap(*state, scale, error);
    if (!layout) {
        return Fail(ToolName, error, 1);
    }
    const SurfacePtr map = DrawMap(*state, *layout, error);
    if (!map) {
        return Fail(ToolName, error, 1);
    }
    if (IMG_SavePNG(map.get(), output.c_str()) != 0) {
        std::remove(output.c_str());  // no broken picture left behind
        return Fail(ToolName, output + ": cannot write the map: " + IMG_GetError(), 1);
    }
    return 0;
}

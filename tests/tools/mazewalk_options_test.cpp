// mazewalk's own command line, run as a process with no display to open a
// window on: whatever should open no window ends with its own status and
// message, and whatever goes on to the window fails to start the video.
#include <gtest/gtest.h>

#include <string>

#include "ToolsTestSupport.h"
#include "facts/HelpText.h"

namespace {

// No display: a run that tries to open the window ends with status 1.
const std::string Program =
    std::string("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ") + MAZEWALK_PROGRAM;

TEST(MazewalkOptions, HelpAndVersionAnswerWithoutAWindow) {
    const auto folder = TestFolder();
    ExpectHelpAndVersion("mazewalk", Program, HelpText::Keys, folder);
    const auto help = WithoutCarriageReturns(RunTool(Program + " --help", folder).Out);
    EXPECT_EQ(help.rfind("Usage: mazewalk [OPTIONS] [LEVEL]\n", 0), 0U) << help;
    EXPECT_NE(help.find(std::string("\nLevel file:\n") + HelpText::LevelFormat), std::string::npos)
        << help;
}

TEST(MazewalkOptions, WrongCommandLinesAreRefusedWithoutAWindow) {
    const auto folder = TestFolder();
    struct Case {
        const char* Arguments;
        const char* Says;
    };
    for (const Case& c : {
             Case{"--colour", "unknown option '--colour'"},
             Case{"--colour=red maze.dat", "unknown option '--colour'"},
             Case{"-x", "unknown option '-x'"},
             Case{"maze.dat --colour", "unknown option '--colour'"},
             Case{"one.dat two.dat", "unexpected argument 'two.dat'"},
             Case{"one.dat -- two.dat", "unexpected argument 'two.dat'"},
             // Full screen picks its own scale.
             Case{"--fullscreen --scale 2",
                  "--fullscreen chooses its own scale, so not with --scale"},
             Case{"--scale=1 --fullscreen maze.dat", "not with --scale"},
         }) {
        ExpectRefused(RunTool(Program + " " + c.Arguments, folder), "mazewalk", c.Says,
                      c.Arguments);
    }
}

// --scale from 1 to 8: 8 goes on to the window (and fails here for want of
// a display, so no screen's size decides), 9 is refused by the bound alone.
TEST(MazewalkOptions, ScaleIsOneToEight) {
    ExpectBounds("mazewalk", Program, "--scale", 1, 8, 1, "", TestFolder());
}

// A LEVEL alone, or after "--" even when it looks like an option, is taken:
// the program goes on to open its window (and here cannot).
TEST(MazewalkOptions, OneLevelIsTakenAndTheWindowTried) {
    const auto folder = TestFolder();
    for (const char* arguments : {"", " maze.dat", " \"any name.txt\"", " -- --maze.dat"}) {
        const auto result = RunTool(Program + arguments, folder);
        EXPECT_EQ(result.Status, 1) << arguments;
        EXPECT_EQ(result.Err.rfind("mazewalk: cannot start the video system", 0), 0U)
            << arguments << ": " << result.Err;
    }
}

// With no display at all and no driver named, the program never falls back
// to one that shows nothing: nothing on stdout (no start-up message), one
// line on stderr, status 1. Wayland's library, which complains on its own
// where it cannot find its folder, is not asked.
TEST(MazewalkOptions, NoDisplayIsOneLineOnStderr) {
    const auto folder = TestFolder();
    const std::string bare =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR ") +
        MAZEWALK_PROGRAM;
    for (const char* arguments : {"", " --fullscreen", " --gamepad", " --arrows maze.dat"}) {
        const auto result = RunTool(bare + arguments, folder);
        EXPECT_EQ(result.Status, 1) << arguments;
        EXPECT_EQ(result.Out, "") << arguments;
        EXPECT_EQ(result.Err,
                  "mazewalk: no display: neither DISPLAY nor WAYLAND_DISPLAY is set, and the "
                  "window needs one\n")
            << arguments;
    }
}

}  // namespace

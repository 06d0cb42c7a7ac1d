#include "shell/ProgramOptions.h"

#include "options/CommandLine.h"

namespace {

constexpr const char* ProgramName = "mazewalk";

std::string Summary() {
    return "Walk through a maze of wall panels seen in perspective. The maze is read\n"
           "from LEVEL, or from \"torv-2.dat\" in the current folder when none is given.";
}

std::string Footer() {
    return "Keys (Num Lock on; a command repeats until another key is pressed):\n"
           "  keypad 8  walk forward          keypad 2  walk back\n"
           "  keypad 4  turn left             keypad 6  turn right\n"
           "  keypad 7  rise                  keypad 1  descend\n"
           "  Esc       end the program       any other key stops\n"
           "With --arrows also: Up and Down walk, Left and Right turn, Page Up rises\n"
           "and Page Down descends.\n"
           "\n"
           "Level: grid size N, then flags A,B of each node (i, j), i and j 0 to N; 1: wall.\n"
           "Exit status: 0 after Esc, 1 if the level cannot be read, 2 for a wrong\n"
           "command line. See mazewalk(6).\n";
}

}  // namespace

std::optional<int> ReadProgramOptions(int argc, const char* const argv[], Form1Options& options) {
    CommandLine commandLine(ProgramName, Summary(), Footer());
    std::string level;
    // One LEVEL at most: a second is refused, not silently taken.
    commandLine.add_option("LEVEL", level, "the level file to walk, by any path and any name")
        ->type_name("")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    commandLine.add_flag("--arrows", options.Arrows, "steer with the arrow and page keys too");
    commandLine.AddWholeNumber("--scale", options.Scale,
                               "show the window N times larger (default 1)", 1, LargestScale);
    if (const auto status = commandLine.Read(argc, argv)) {
        return status;
    }
    if (commandLine.count("LEVEL") > 0) {
        options.LevelFileName = level;
    }
    return std::nullopt;
}

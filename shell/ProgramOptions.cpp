#include "shell/ProgramOptions.h"

#include "facts/HelpText.h"
#include "options/CommandLine.h"

namespace {

constexpr const char* ProgramName = "mazewalk";

std::string Summary() {
    return std::string("Walk through a maze of wall panels seen in perspective. The maze is read\n"
                       "from LEVEL, or from \"") +
           LevelFileNameStart + "\" in the current folder when none is given.";
}

std::string Footer() {
    return std::string("Keys (Num Lock on; a command repeats until another key is pressed;\n"
                       "with --arrows the second column steers too, with --gamepad the\n"
                       "third):\n") +
           HelpText::Keys +
           "\n"
           "Level file:\n" +
           HelpText::LevelFormat +
           "\n"
           "Exit status: 0 after Esc, 1 if the level cannot be read or there is no\n"
           "display, 2 for a wrong command line. See mazewalk(6).\n";
}

}  // namespace

std::optional<int> ReadProgramOptions(int argc, const char* const argv[], Form1Options& options) {
    CommandLine commandLine(ProgramName, Summary(), Footer());
    std::string level;
    // One LEVEL at most: a second is refused, not silently taken.
    commandLine.add_option("LEVEL", level, HelpText::Level)
        ->type_name("")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    commandLine.add_flag("--arrows", options.Arrows, HelpText::Arrows);
    commandLine.add_flag("--gamepad", options.Gamepad, HelpText::Gamepad);
    commandLine.AddWholeNumber("--scale", options.Scale, HelpText::Scale, 1, LargestScale);
    commandLine.add_flag("--fullscreen", options.Fullscreen, HelpText::Fullscreen);
    if (const auto status = commandLine.Read(argc, argv)) {
        return status;
    }
    // Full screen picks its own scale. (Checked here rather than by CLI11,
    // whose --help would print "Excludes:" inside both options' lines.)
    if (options.Fullscreen && commandLine.count("--scale") > 0) {
        return commandLine.Refuse("--fullscreen chooses its own scale, so not with --scale");
    }
    if (commandLine.count("LEVEL") > 0) {
        options.LevelFileName = level;
    }
    return std::nullopt;
}

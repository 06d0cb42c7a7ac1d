// mazewalk's command line: mazewalk [OPTION]... [LEVEL]. Read through the
// shared setup in options/, so the program answers --help, --version and a
// wrong command line as its tools do.
#pragma once

#include <optional>
#include <string>

// Reads the command line; a LEVEL given replaces levelFileName, which is left
// as it is otherwise. Returns nothing when the program should go on, or the
// status main must return at once: 0 after --help or --version (on stdout),
// 2 after a wrong command line (one line on stderr). Opens no window.
std::optional<int> ReadProgramOptions(int argc, const char* const argv[],
                                      std::string& levelFileName);

// mazewalk's command line: mazewalk [OPTION]... [LEVEL]. Read through the
// shared setup in options/, so the program answers --help, --version and a
// wrong command line as its tools do.
#pragma once

#include <optional>

#include "shell/Form1.h"

// Reads the command line into options; what it does not name is left as it
// is, so the defaults stay the plain program. Returns nothing when the
// program should go on, or the status main must return at once: 0 after
// --help or --version (on stdout), 2 after a wrong command line (one line on
// stderr). Opens no window.
std::optional<int> ReadProgramOptions(int argc, const char* const argv[], Form1Options& options);

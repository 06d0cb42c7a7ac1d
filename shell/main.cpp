// mazewalk: walk through a maze of wall panels seen in perspective.
#include <SDL.h>  // on some platforms SDL provides the real entry point

#include "shell/Console.h"
#include "shell/Form1.h"
#include "shell/ProgramOptions.h"

int main(int argc, char* argv[]) {
    AttachParentConsole();
    Form1Options options;
    if (const auto status = ReadProgramOptions(argc, argv, options)) {
        return *status;
    }
    return RunForm1(options);
}

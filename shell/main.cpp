// mazewalk: walk through a maze of wall panels seen in perspective.
#include <SDL.h>  // on some platforms SDL provides the real entry point

#include <string>

#include "shell/Form1.h"
#include "shell/ProgramOptions.h"

int main(int argc, char* argv[]) {
    std::string levelFileName = LevelFileNameStart;
    if (const auto status = ReadProgramOptions(argc, argv, levelFileName)) {
        return *status;
    }
    return RunForm1(levelFileName);
}

// mazewalk: walk through a maze of wall panels seen in perspective.
#include <SDL.h>  // on some platforms SDL provides the real entry point

#include "shell/Form1.h"

int main(int /*argc*/, char* /*argv*/[]) {
    return RunForm1(LevelFileNameStart);
}

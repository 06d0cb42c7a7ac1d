// mazewalk in a web page: the desktop program, built with Emscripten. Where
// the desktop sleeps between the program's steps, the page hands its thread
// back to the browser and asks for a timer, so the page keeps answering
// between ticks. What the browser does not give SDL, the Num Lock state, is
// read here from the DOM's own key events.
#include <SDL.h>
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <memory>

#include "shell/Form1.h"
#include "shell/ProgramOptions.h"
#include "shell/WebKeys.h"

namespace {

// The canvas the page gives the program; keys count only while it has the
// focus, so the page's own controls keep theirs.
constexpr const char* Canvas = "#canvas";

// Runs before SDL's own handler of the same event: SDL sends the key with
// the modifier state set here.
EM_BOOL Canvas_KeyDown(int /*eventType*/, const EmscriptenKeyboardEvent* event, void*) {
    if (const auto numLock = NumLockFromDom(event->key, event->location)) {
        const SDL_Keymod mod = SDL_GetModState();
        SDL_SetModState(*numLock ? static_cast<SDL_Keymod>(mod | KMOD_NUM)
                                 : static_cast<SDL_Keymod>(mod & ~KMOD_NUM));
    }
    // True keeps the browser from scrolling the page.
    return ScrollsPage(event->key) || event->location == DomKeypadLocation ? EM_TRUE : EM_FALSE;
}

// Tells the page that the program has ended, with its exit status, so that it
// can say so and offer a fresh start.
EM_JS(void, Page_ProgramEnded, (int status), {
    if (Module.onProgramEnded) {
        Module.onProgramEnded(status);
    }
});

// The running program, between the browser's timers.
std::unique_ptr<Form1Run> Run;

void Page_Ended(int status) {
    emscripten_set_keydown_callback(Canvas, nullptr, EM_TRUE, nullptr);
    Page_ProgramEnded(status);
}

// One step of the program, then a timer for the next; after the last, the
// program is ended and the page told.
void Page_Step(void*) {
    if (const auto wait = Run->Step()) {
        emscripten_set_timeout(Page_Step, *wait, nullptr);
        return;
    }
    Run.reset();
    Page_Ended(0);
}

}  // namespace

// The page's choices come as the program's arguments, read by the desktop
// program's own reader: web/mazewalk-page.js writes "--arrows" and
// "--gamepad" when their check boxes are ticked, then the level's path when
// it is not the default.
int main(int argc, char* argv[]) {
    Form1Options options;
    if (const auto status = ReadProgramOptions(argc, argv, options)) {
        Page_ProgramEnded(*status);
        return *status;
    }
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, Canvas);
    emscripten_set_keydown_callback(Canvas, nullptr, EM_TRUE, Canvas_KeyDown);
    int status = 0;
    Run = Form1Run::Start(options, status);
    if (!Run) {
        Page_Ended(status);
        return status;
    }
    Page_Step(nullptr);
    // The runtime stays for the timers; returning from here would end it.
    emscripten_exit_with_live_runtime();
}

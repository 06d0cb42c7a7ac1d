// mazewalk in a web page: the desktop program, built with Emscripten. Its loop
// sleeps through SDL_Delay, which Asyncify turns into a return to the browser,
// so the page keeps answering between ticks. What the browser does not give
// SDL, the Num Lock state, is read here from the DOM's own key events.
#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <string_view>

#include "shell/Form1.h"
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

// The page's choices, as web/mazewalk-page.js writes them into the program's
// arguments: "--arrows" when the check box is ticked, then the level's path
// when it is not the default. Nothing else ever comes, so this is no command
// line reader; the desktop program's, once main has one, can take its place.
Form1Options PageOptions(int argc, char* argv[]) {
    Form1Options options;
    for (int k = 1; k < argc; ++k) {
        if (std::string_view(argv[k]) == "--arrows") {
            options.Arrows = true;
        } else {
            options.LevelFileName = argv[k];
        }
    }
    return options;
}

}  // namespace

int main(int argc, char* argv[]) {
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, Canvas);
    emscripten_set_keydown_callback(Canvas, nullptr, EM_TRUE, Canvas_KeyDown);
    const int status = RunForm1(PageOptions(argc, argv));
    emscripten_set_keydown_callback(Canvas, nullptr, EM_TRUE, nullptr);
    Page_ProgramEnded(status);
    return status;
}

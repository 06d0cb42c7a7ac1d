// Loaded with LD_PRELOAD by measure-program.sh: notes when the start-up
// message is dismissed and when the first frame reaches the window, so the
// delay between them is measured without the program knowing.
#include <SDL.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point Dismissed;
bool Waiting = false;

template <class F>
F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int SDL_ShowMessageBox(const SDL_MessageBoxData* data, int* button) {
    static const auto real = Real<decltype(&SDL_ShowMessageBox)>("SDL_ShowMessageBox");
    const int result = real(data, button);
    Dismissed = Clock::now();
    Waiting = true;
    return result;
}

extern "C" int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
    static const auto real =
        Real<decltype(&SDL_UpdateWindowSurfaceRects)>("SDL_UpdateWindowSurfaceRects");
    const int result = real(window, rects, count);
    if (Waiting) {
        Waiting = false;
        const double ms =
            std::chrono::duration<double, std::milli>(Clock::now() - Dismissed).count();
        if (const char* log = std::getenv("MAZEWALK_PROBE_LOG")) {
            if (std::FILE* f = std::fopen(log, "w")) {
                std::fprintf(f, "%.1f\n", ms);
                std::fclose(f);
            }
        }
    }
    return result;
}

// The desktop's screen: SDL's own window surface.
#include "shell/WindowScreen.h"

Uint32 ScreenPixelFormat(SDL_Window* window) {
    return SDL_GetWindowPixelFormat(window);
}

SDL_Surface* ScreenSurface(SDL_Window* window) {
    return SDL_GetWindowSurface(window);
}

void ShowScreen(SDL_Window* window, const SDL_Rect* rects, int count) {
    if (count == 0) {
        SDL_UpdateWindowSurface(window);
    } else {
        SDL_UpdateWindowSurfaceRects(window, rects, count);
    }
}

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

void ShowView(SDL_Window* window, SDL_Surface* view, int x, int y) {
    SDL_Surface* screen = ScreenSurface(window);
    if (screen == nullptr) {
        return;
    }
    SDL_Rect at{x, y, view->w, view->h};
    SDL_BlitSurface(view, nullptr, screen, &at);  // clips at in place
    if (at.w > 0 && at.h > 0) {
        ShowScreen(window, &at, 1);
    }
}

#include "shell/WindowIcon.h"

#include <SDL.h>

#include "shell/WindowIconPixels.h"

void SetWindowIcon(SDL_Window* window) {
    // SDL wants writable pixels even though it only reads them here.
    auto pixels = WindowIconPixels;
    constexpr int pitch = WindowIconSize * static_cast<int>(sizeof(pixels[0]));
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), WindowIconSize, WindowIconSize, 32, pitch, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) {
        return;
    }
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

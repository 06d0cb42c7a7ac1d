// The page's screen: a surface of our own whose bytes are the canvas's, red,
// green, blue and alpha, so that showing it is one putImageData of a view on
// the program's memory. SDL's window surface has no alpha byte, and SDL shows
// it by copying the whole surface and setting every alpha in a JavaScript loop
// each frame, even when only the view changed.
#include <emscripten.h>

#include <memory>

#include "shell/ShownPixels.h"
#include "shell/WindowScreen.h"

namespace {

// Puts the rectangle (x, y, w, h) of the image at pixels, width pixels a row
// (4 bytes each) and height rows, onto the page's canvas at the same place.
// The ImageData is a view on the program's memory, made again only when the
// surface or the memory itself is new, so a frame is copied once, by the
// browser.
EM_JS(void, Canvas_PutPixels, (const void* pixels, int width, int height, int x, int y, int w,
                               int h), {
    const canvas = Module['canvas'];
    let screen = Module.mazewalkScreen;
    if (!screen || screen.canvas !== canvas || screen.pixels !== pixels ||
        screen.buffer !== HEAPU8.buffer || screen.image.width !== width ||
        screen.image.height !== height) {
        screen = Module.mazewalkScreen = {
            canvas : canvas,
            pixels : pixels,
            buffer : HEAPU8.buffer,
            context : canvas.getContext('2d'),
            image : new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4),
                                  width, height),
        };
    }
    screen.context.putImageData(screen.image, 0, 0, x, y, w, h);
});

// Whether the canvas may have lost what it showed: the browser may drop a
// canvas's pixels (its context lost, then restored blank) or SDL may remake
// it at another size. Taken as seen once asked.
EM_JS(int, Canvas_Lost, (), {
    const canvas = Module['canvas'];
    if (canvas.mazewalkWatched !== true) {
        canvas.mazewalkWatched = true;
        canvas.addEventListener('contextrestored', function() { canvas.mazewalkLost = true; });
        return 1;
    }
    const lost = canvas.mazewalkLost === true;
    canvas.mazewalkLost = false;
    return lost ? 1 : 0;
});

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

// The one window's surface, made at its size.
std::unique_ptr<SDL_Surface, SurfaceFree> Screen;

// What the canvas shows, so a view that did not change is not put again.
ShownPixels Shown;

}  // namespace

Uint32 ScreenPixelFormat(SDL_Window*) {
    // Bytes in the canvas's order: red, green, blue, then alpha, which
    // SDL_MapRGB sets to opaque in this format.
    return SDL_PIXELFORMAT_RGBA32;
}

SDL_Surface* ScreenSurface(SDL_Window* window) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (!Screen || Screen->w != width || Screen->h != height) {
        Screen.reset(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32,
                                                    ScreenPixelFormat(window)));
    }
    return Screen.get();
}

void ShowScreen(SDL_Window*, const SDL_Rect* rects, int count) {
    if (!Screen) {
        return;
    }
    SDL_Surface* s = Screen.get();
    if (Canvas_Lost() != 0) {
        Shown.Forget();
    }
    const int width = s->pitch / 4;
    const auto* pixels = static_cast<const unsigned char*>(s->pixels);
    if (count == 0) {
        // The whole form, as when the window is first shown: always put.
        Shown.Changed(pixels, s->pitch, s->h, 0, 0, s->w, s->h);
        Canvas_PutPixels(s->pixels, width, s->h, 0, 0, s->w, s->h);
    }
    for (int k = 0; k < count; ++k) {
        if (Shown.Changed(pixels, s->pitch, s->h, rects[k].x, rects[k].y, rects[k].w,
                          rects[k].h)) {
            Canvas_PutPixels(s->pixels, width, s->h, rects[k].x, rects[k].y, rects[k].w,
                             rects[k].h);
        }
    }
}

// The page's screen: a surface of our own whose bytes are the canvas's, red,
// green, blue and alpha, so that showing it is one putImageData of a view on
// the program's memory. SDL's window surface has no alpha byte, and SDL shows
// it by copying the whole surface and setting every alpha in a JavaScript loop
// each frame, even when only the view changed. A frame goes onto the canvas
// straight from the view's own surface, which has the same format: no copy
// into the screen on the way.
#include <emscripten.h>

#include <memory>

#include "shell/WindowScreen.h"

namespace {

// Puts the rectangle (x, y, w, h) of the image at pixels, width pixels a row
// (4 bytes each) and height rows, onto the page's canvas with the image's top
// left corner at (left, top); the browser clips it to the canvas. An image's
// ImageData is a view on the program's memory, made again only when the
// canvas, the image or the memory itself is new, so a frame is copied once,
// by the browser.
EM_JS(void, Canvas_PutPixels, (const void* pixels, int width, int height, int left, int top,
                               int x, int y, int w, int h), {
    const canvas = Module['canvas'];
    let images = Module.mazewalkImages;
    if (!images || images.canvas !== canvas || images.buffer !== HEAPU8.buffer) {
        images = Module.mazewalkImages = {
            canvas : canvas,
            buffer : HEAPU8.buffer,
            context : canvas.getContext('2d'),
            byPixels : new Map(),
        };
    }
    let image = images.byPixels.get(pixels);
    if (!image || image.width !== width || image.height !== height) {
        image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4),
                              width, height);
        images.byPixels.set(pixels, image);
    }
    images.context.putImageData(image, left, top, x, y, w, h);
});

// Whether the canvas may have lost what it showed since last asked: the
// browser may drop a canvas's pixels (its context lost, then restored blank).
// True the first time, before anything was shown.
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

void PutSurface(const SDL_Surface* s, int left, int top, const SDL_Rect& rect) {
    Canvas_PutPixels(s->pixels, s->pitch / 4, s->h, left, top, rect.x, rect.y, rect.w, rect.h);
}

// After the canvas lost its pixels, the whole screen goes back first: a
// frame alone would leave the rest of the form blank.
void PutScreenIfLost() {
    if (Canvas_Lost() != 0 && Screen) {
        PutSurface(Screen.get(), 0, 0, {0, 0, Screen->w, Screen->h});
    }
}

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
    PutScreenIfLost();
    if (count == 0) {
        PutSurface(Screen.get(), 0, 0, {0, 0, Screen->w, Screen->h});
    }
    for (int k = 0; k < count; ++k) {
        PutSurface(Screen.get(), 0, 0, rects[k]);
    }
}

void ShowView(SDL_Window*, SDL_Surface* view, int x, int y) {
    PutScreenIfLost();
    PutSurface(view, x, y, {0, 0, view->w, view->h});
}

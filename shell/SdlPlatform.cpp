#include "shell/SdlPlatform.h"

namespace {

PixelTarget TargetOf(SDL_Surface* surface) {
    return {static_cast<std::uint32_t*>(surface->pixels),
            surface->pitch / static_cast<int>(sizeof(std::uint32_t))};
}

std::uint32_t Map(const SDL_Surface* surface, SDL_Color c) {
    return SDL_MapRGB(surface->format, c.r, c.g, c.b);
}

Uint32 ViewFormat(SDL_Window* window) {
    // The window's own format where it has 32 bits a pixel: then showing the
    // view is a plain copy, and a scaled one SDL's fast nearest stretch,
    // instead of a conversion of every pixel.
    if (window != nullptr) {
        const Uint32 format = SDL_GetWindowPixelFormat(window);
        if (SDL_BYTESPERPIXEL(format) == 4 && !SDL_ISPIXELFORMAT_INDEXED(format)) {
            return format;
        }
    }
    return SDL_PIXELFORMAT_ARGB8888;
}

}  // namespace

std::unique_ptr<SdlPlatform> SdlPlatform::Create(SDL_Window* window, std::string& error) {
    // A plain 32-bit surface needs no locking, so the rasterizer may write
    // its pixels at any time.
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, ViewSize, ViewSize, 32, ViewFormat(window));
    if (surface == nullptr) {
        error = std::string("cannot create the view surface: ") + SDL_GetError();
        return nullptr;
    }
    // Every pixel is opaque: copied, never blended, onto the window.
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
    return std::unique_ptr<SdlPlatform>(new SdlPlatform(window, surface));
}

SdlPlatform::SdlPlatform(SDL_Window* window, SDL_Surface* surface)
    : Window(window),
      Surface(surface),
      Painter(TargetOf(surface), {Map(surface, BackgroundColour), Map(surface, FillColour),
                                  Map(surface, OutlineColour)}) {
    // A new view shows its background until the first frame.
    Painter.Clear();
    Painter.Finish();
}

SdlPlatform::~SdlPlatform() {
    SDL_FreeSurface(Surface);
}

void SdlPlatform::ClearView() {
    Painter.Clear();
}

void SdlPlatform::Polygon(const Quad& points) {
    Painter.Paint(points);
}

void SdlPlatform::SetTitle(const std::string& title) {
    LastTitle = title;
    if (Window != nullptr) {
        SDL_SetWindowTitle(Window, title.c_str());
    }
}

double SdlPlatform::Seconds() {
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

void SdlPlatform::EndProgram() {
    EndRequested = true;
}

bool SdlPlatform::CompleteFrame() {
    return Painter.Finish();
}

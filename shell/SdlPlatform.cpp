#include "shell/SdlPlatform.h"

#include <cstdio>

#include "shell/WindowScreen.h"

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
        const Uint32 format = ScreenPixelFormat(window);
        if (SDL_BYTESPERPIXEL(format) == 4 && !SDL_ISPIXELFORMAT_INDEXED(format)) {
            return format;
        }
    }
    return SDL_PIXELFORMAT_ARGB8888;
}

}  // namespace

std::string MessageBoxText(std::string_view text) {
    std::string out;
    std::size_t column = 0;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            out += '\n';
            column = 0;
        } else if (c == '\t') {
            do {
                out += ' ';
                ++column;
            } while (column % 8 != 0);
        } else {
            out += c;
            ++column;
        }
    }
    return out;
}

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

void SdlPlatform::ShowMessage(std::string_view message) {
    const std::string text = MessageBoxText(message);
    SDL_MessageBoxButtonData ok{};
    ok.flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    ok.buttonid = 0;
    ok.text = "OK";
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.title = ProgramName;
    box.message = text.c_str();
    box.numbuttons = 1;
    box.buttons = &ok;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0 &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, ProgramName, text.c_str(),
                                 nullptr) != 0) {
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }
}

void SdlPlatform::EndProgram() {
    EndRequested = true;
}

bool SdlPlatform::CompleteFrame() {
    return Painter.Finish();
}

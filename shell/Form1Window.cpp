#include "shell/Form1Window.h"

#include "shell/Form1.h"
#include "shell/WindowScreen.h"

namespace {

void FillRect(SDL_Surface* surface, int x, int y, int w, int h, SDL_Color c) {
    const SDL_Rect rect{x, y, w, h};
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, c.r, c.g, c.b));
}

// A sunken frame of two 1-pixel rings around the view, dark above and left,
// light below and right.
void PaintFrame(SDL_Surface* s) {
    constexpr SDL_Color face{240, 240, 240, 255};
    constexpr SDL_Color shadow{160, 160, 160, 255};
    constexpr SDL_Color darkShadow{105, 105, 105, 255};
    constexpr SDL_Color light{227, 227, 227, 255};
    constexpr SDL_Color highlight{255, 255, 255, 255};
    constexpr int outer = ViewSize + 2 * PictureBorder;
    constexpr int inner = ViewSize + 2;
    FillRect(s, 0, 0, FormWidth, FormHeight, face);
    FillRect(s, PictureLeft, PictureTop, outer, outer, highlight);
    FillRect(s, PictureLeft, PictureTop, outer - 1, outer - 1, shadow);
    FillRect(s, PictureLeft + 1, PictureTop + 1, inner, inner, light);
    FillRect(s, PictureLeft + 1, PictureTop + 1, inner - 1, inner - 1, darkShadow);
}

}  // namespace

Form1Window::Form1Window(SDL_Window* window, SdlPlatform& platform, int scale)
    : Window(window), Platform(platform), Scale(scale) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (Scale > 1 || width != FormWidth || height != FormHeight) {
        // In the view's format, so that scaling it up is SDL's plain stretch.
        Client = SDL_CreateRGBSurfaceWithFormat(0, FormWidth, FormHeight, 32,
                                                platform.View()->format->format);
        if (Client != nullptr) {
            SDL_SetSurfaceBlendMode(Client, SDL_BLENDMODE_NONE);
        }
    }
}

Form1Window::~Form1Window() {
    SDL_FreeSurface(Client);
}

SDL_Rect Form1Window::ClientRect(const SDL_Surface* surface) const {
    const int width = FormWidth * Scale;
    const int height = FormHeight * Scale;
    return {(surface->w - width) / 2, (surface->h - height) / 2, width, height};
}

SDL_Rect Form1Window::ViewRect(const SDL_Surface* surface) const {
    const SDL_Rect client = ClientRect(surface);
    return {client.x + ViewLeft * Scale, client.y + ViewTop * Scale, ViewSize * Scale,
            ViewSize * Scale};
}

void Form1Window::PaintAll() {
    SDL_Surface* surface = ScreenSurface(Window);
    if (surface == nullptr) {
        return;
    }
    SDL_Rect client = ClientRect(surface);
    if (client.w < surface->w || client.h < surface->h) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    }
    SDL_Rect at{ViewLeft, ViewTop, ViewSize, ViewSize};
    if (Client == nullptr) {
        PaintFrame(surface);
        SDL_BlitSurface(Platform.FinishFrame(), nullptr, surface, &at);
    } else {
        // Scaled whole, nearest neighbour: SDL's scaled blit between surfaces
        // never smooths.
        PaintFrame(Client);
        SDL_BlitSurface(Platform.FinishFrame(), nullptr, Client, &at);
        SDL_BlitScaled(Client, nullptr, surface, &client);
    }
    ShowScreen(Window, nullptr, 0);
    ++PresentCount;
}

void Form1Window::PresentView() {
    SDL_Surface* surface = ScreenSurface(Window);
    if (surface == nullptr) {
        return;
    }
    // A frame with the pixels already shown is not handed to the screen again:
    // standing still then costs neither the copy nor the display server's work.
    if (!Platform.CompleteFrame()) {
        return;
    }
    SDL_Surface* frame = Platform.View();
    SDL_Rect at = ViewRect(surface);
    if (Scale == 1) {
        ShowView(Window, frame, at.x, at.y);
    } else {
        SDL_BlitScaled(frame, nullptr, surface, &at);
        at = ViewRect(surface);  // the blit clips it in place
        ShowScreen(Window, &at, 1);
    }
    ++PresentCount;
}

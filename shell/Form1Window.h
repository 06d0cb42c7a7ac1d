// The program's window on screen: its client area (a sunken frame around the
// view) drawn at an integer scale, and the view's frames, composed off-screen,
// shown whole. A window larger than the scaled client area (full screen) shows
// it centred on black.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "shell/SdlPlatform.h"

class Form1Window {
  public:
    // window's client area must be at least FormWidth x FormHeight times
    // scale, and outlive this object; scale is 1 to LargestScale.
    Form1Window(SDL_Window* window, SdlPlatform& platform, int scale);
    ~Form1Window();
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Paints the whole client area: after showing and whenever exposed.
    void PaintAll();
    // Shows the frame just composed, when its pixels differ from the last
    // frame's: only the view's pixels change.
    void PresentView();
    // How many times pixels were handed to the screen.
    std::int64_t Presents() const { return PresentCount; }

  private:
    // Where the scaled client area sits in surface: centred, so at (0, 0) in
    // a window of its own size.
    SDL_Rect ClientRect(const SDL_Surface* surface) const;
    SDL_Rect ViewRect(const SDL_Surface* surface) const;

    SDL_Window* Window;
    SdlPlatform& Platform;
    int Scale;
    // The client area at its natural size, for scaling up or centring whole;
    // only made when Scale > 1 or the window is not the client area's size.
    SDL_Surface* Client = nullptr;
    std::int64_t PresentCount = 0;
};

// The platform services bound to SDL2: the view is a 400 x 400 SDL surface
// painted by our rasterizer, every pixel once a frame, the clock is SDL's performance counter, the
// title is the window's. Without a window (tests) the same surface is drawn and the title is only
// remembered, so what a test sees off-screen is what the window shows.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <string_view>

#include "render/CoveragePainter.h"
#include "render/Platform.h"

// The view's colours: light cyan background, red walls, dark brown outlines.
inline constexpr SDL_Color BackgroundColour{128, 255, 255, 255};
inline constexpr SDL_Color FillColour{255, 0, 0, 255};
inline constexpr SDL_Color OutlineColour{99, 18, 0, 255};

// The program's name: the title of its message boxes and the prefix of what
// it prints on stderr.
inline constexpr const char* ProgramName = "mazewalk";

// Text for SDL's message box, which breaks lines only at LF and prints CR and
// TAB as glyphs: CR becomes LF, and each TAB pads to the next multiple of 8
// columns.
std::string MessageBoxText(std::string_view text);

class SdlPlatform final : public PlatformServices {
  public:
    // window may be null for an off-screen view. Returns null, with SDL's
    // reason in error, when the surface cannot be made.
    static std::unique_ptr<SdlPlatform> Create(SDL_Window* window, std::string& error);
    ~SdlPlatform();
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    void ClearView() override;
    void Polygon(const Quad& points) override;
    void SetTitle(const std::string& title) override;
    double Seconds() override;
    // SDL's message box; its simple one where only that exists (in a
    // browser, the page's alert); stdout where none can be shown at all (no
    // display fonts, say), so start-up goes on.
    void ShowMessage(std::string_view text) override;
    void EndProgram() override;

    // Completes the frame in the view surface; its pixels are only the
    // frame's after this call. Returns whether they changed since the last
    // frame completed (a frame of the same polygons is not painted again).
    bool CompleteFrame();
    // The view surface, 400 x 400, 32 bits a pixel: the window's format, or
    // ARGB8888 off-screen.
    SDL_Surface* View() const { return Surface; }
    // CompleteFrame, then the view surface.
    SDL_Surface* FinishFrame() {
        CompleteFrame();
        return Surface;
    }
    const std::string& Title() const { return LastTitle; }
    bool Ended() const { return EndRequested; }

  private:
    SdlPlatform(SDL_Window* window, SDL_Surface* surface);

    SDL_Window* Window;
    SDL_Surface* Surface;
    CoveragePainter Painter;
    std::string LastTitle;
    bool EndRequested = false;
};

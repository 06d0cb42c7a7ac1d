// The services the program takes from the platform: the view it draws on, the
// window title, a clock, a modal message and the end of the program. The shell binds them to
// SDL; tests bind them to recorders or to an off-screen surface.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The view is ViewSize x ViewSize pixels; pixel (0, 0) is the top left and y
// grows downwards.
inline constexpr int ViewSize = 400;

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

using Quad = std::array<Point, 4>;

class PlatformServices {
  public:
    // Fills the whole view with its background, erasing the last frame.
    virtual void ClearView() = 0;
    // A closed polygon through the four points in order, filled and outlined,
    // painted over whatever is already in the view. Any coordinates are
    // allowed; the surface clips to the view.
    virtual void Polygon(const Quad& points) = 0;
    // Replaces the window title at once.
    virtual void SetTitle(const std::string& title) = 0;
    // Seconds from an arbitrary origin; never goes backwards.
    virtual double Seconds() = 0;
    // Shows text, in the program's own characters (CR ends a line, TAB
    // indents), as a modal message with an OK button; returns once it is
    // dismissed. Where no message can be shown the text goes elsewhere, but
    // the call still returns.
    virtual void ShowMessage(std::string_view text) = 0;
    // Ends the program: no event is handled and no frame drawn after this call.
    virtual void EndProgram() = 0;

  protected:
    ~PlatformServices() = default;
};

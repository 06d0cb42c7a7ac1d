// The platform services of a test, without a window: keeps the last frame's
// polygons and every title, and reads a clock the test sets by hand.
// Optionally paints each polygon into an off-screen 400 x 400 buffer, so the
// rasterizer sees every projected quad too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/Platform.h"
#include "render/PolygonPainter.h"

class RecordingPlatform final : public PlatformServices {
  public:
    explicit RecordingPlatform(bool paint = false)
        : Pixels(paint ? ViewSize * ViewSize : 0),
          Painter(PixelTarget{Pixels.data(), ViewSize}, ViewColours{1, 2, 3}) {}

    // Frames the step routine asked for; no pixels are cleared, since a long
    // walk would spend its time there and the painter draws over anything.
    void ClearView() override {
        ++Frames;
        FramePolygons.clear();
    }
    void Polygon(const Quad& points) override {
        FramePolygons.push_back(points);
        ++Polygons;
        if (!Pixels.empty()) {
            Painter.Paint(points);
        }
    }
    void SetTitle(const std::string& title) override { Titles.push_back(title); }
    double Seconds() override { return Now; }
    void ShowMessage(std::string_view text) override { Messages.emplace_back(text); }
    void EndProgram() override { Ended = true; }

    double Now = 0;
    std::int64_t Frames = 0;
    std::int64_t Polygons = 0;
    std::vector<Quad> FramePolygons;
    std::vector<std::string> Titles;
    std::vector<std::string> Messages;
    bool Ended = false;

  private:
    std::vector<std::uint32_t> Pixels;
    PolygonPainter Painter;
};

// The platform services of tests, fuzzers and benchmarks, without a window:
// counts the frames, keeps the last frame's polygons, every title and every
// message, and reads a clock the caller sets by hand. Optionally paints each
// polygon into an off-screen 400 x 400 buffer with the plain painter, so the
// rasterizer sees every projected quad too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/Platform.h"
#include "support/PolygonPainter.h"

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
        if (!Pixels.empty() && (PaintLimit < 0 || Painted < PaintLimit)) {
            ++Painted;
            Painter.Paint(points);
        }
    }
    void SetTitle(const std::string& title) override { Titles.push_back(title); }
    double Seconds() override { return Now; }
    void ShowMessage(std::string_view text) override { Messages.emplace_back(text); }
    void EndProgram() override { Ended = true; }

    // Forgets everything recorded, keeping the buffer: a fresh platform for
    // the next run at no allocation.
    void Restart() {
        Now = 0;
        Frames = 0;
        Polygons = 0;
        Painted = 0;
        PaintLimit = -1;
        FramePolygons.clear();
        Titles.clear();
        Messages.clear();
        Ended = false;
    }

    double Now = 0;
    std::int64_t Frames = 0;
    std::int64_t Polygons = 0;
    // Polygons painted so far, and how many may be (negative: all of them).
    std::int64_t Painted = 0;
    std::int64_t PaintLimit = -1;
    std::vector<Quad> FramePolygons;
    std::vector<std::string> Titles;
    std::vector<std::string> Messages;
    bool Ended = false;

  private:
    std::vector<std::uint32_t> Pixels;
    PolygonPainter Painter;
};

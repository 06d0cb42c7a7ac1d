// The plain painter: each polygon painted whole over the ones before it, its
// fill then its outline. It is the picture every other painter must give, and
// what tests and fuzzers compare against.
#pragma once

#include <cstdint>
#include <vector>

#include "render/PixelTarget.h"
#include "render/Platform.h"
#include "render/Raster.h"

class PolygonPainter {
  public:
    PolygonPainter(PixelTarget target, ViewColours colours) : Target(target), Colours(colours) {}

    void Clear();
    void Paint(const Quad& quad);

  private:
    void PaintRuns(std::uint32_t colour);

    PixelTarget Target;
    ViewColours Colours;
    std::vector<PixelRun> Runs;
};

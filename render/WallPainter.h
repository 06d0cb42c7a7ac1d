// The coverage painter's fast path for the shape every wall projects to: its
// rows are read straight from its edges, a wall whose box nearer ones already
// cover is skipped whole, and a row in full view is painted without a bit
// test a pixel. Private to render/.
#pragma once

#include <array>
#include <vector>

#include "render/CoveredTarget.h"
#include "render/PixelTarget.h"
#include "render/Platform.h"
#include "render/Raster.h"
#include "render/WallRows.h"

namespace render_internal {

class WallPainter {
  public:
    explicit WallPainter(ViewColours colours) : Colours(colours) { Runs.reserve(ViewSize); }

    // Writes the pixels of quad, which must be IsWallShape, that target has
    // not yet taken: in each row its outline first, then its fill.
    void Paint(const Quad& q, CoveredTarget& target);

  private:
    // Fills EdgeRuns for rows [top, bottom] from the wall's sloping segments.
    void GatherSlopes(const Quad& q, int top, int bottom);

    ViewColours Colours;
    // One sloping segment's runs, at most one a row.
    std::vector<PixelRun> Runs;
    // A wall's two sloping outline segments, row by row.
    std::array<SlopedRuns, ViewSize> EdgeRuns{};
};

}  // namespace render_internal

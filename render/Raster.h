// The scan conversion of one wall polygon: which pixels of the 400 x 400 view
// its fill and its outline cover, as runs of rows, exact for any 32-bit
// corners. The painters decide what colour goes where; this only says where.
//
// mazewalk draws by the rules of SDL's software renderer, so that every
// platform shows the same frame and tests can hold each pixel to SDL's own
// drawing: the quad P0 P1 P2 P3 is filled as the two triangles P0 P1 P2 and
// P0 P2 P3, a pixel belonging to a triangle when its centre is inside, or on a
// top or left edge (so neighbouring polygons never share or miss a pixel); the
// outline is the closed Bresenham line P0 P1 P2 P3 P0, each segment drawn from
// its start up to, not including, its end. Unlike SDL, nothing here overflows
// or shifts a line when corners lie far outside the view: the pixels in the
// view are exactly those of the unclipped polygon.
#pragma once

#include <cstdint>
#include <vector>

#include "render/Platform.h"

// Pixels [Begin, End) of one row of the view, 0 <= Begin < End <= ViewSize.
struct PixelRun {
    std::int16_t Row;
    std::int16_t Begin;
    std::int16_t End;
    friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// Appends the runs of the polygon's fill, clipped to the view.
void AppendFillRuns(const Quad& quad, std::vector<PixelRun>& runs);

// Appends the runs of the polygon's outline, clipped to the view.
void AppendOutlineRuns(const Quad& quad, std::vector<PixelRun>& runs);

// Appends the runs of one outline segment from `from` towards `to`, its end
// pixel left to the next segment, clipped to the view: at most one run a row.
void AppendSegmentRuns(Point from, Point to, std::vector<PixelRun>& runs);

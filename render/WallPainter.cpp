// The wall path of the coverage painter: one wall-shaped quad written row by
// row into the pixels nearer polygons have left. Contract in WallPainter.h.
#include "render/WallPainter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace render_internal {

namespace {

// A row no nearer polygon reaches: the wall's pixels as the plain painter
// gives them, fill then outline.
void PaintOpenRow(int row, const WallRow& r, const WallRows& wall, ViewColours colours,
                  CoveredTarget& target) {
    bool completed = false;
    const auto paint = [&](int b, int e, std::uint32_t colour) {
        completed = target.WriteOpen(row, b, e, colour) || completed;
    };
    if (r.HasFill) {
        paint(r.FillLo, r.FillHi + 1, colours.Fill);
    }
    if (r.LeftSide) {
        paint(wall.Left, wall.Left + 1, colours.Outline);
    }
    if (r.RightSide) {
        paint(wall.Right, wall.Right + 1, colours.Outline);
    }
    for (const SlopedRun& run : *r.Sloped) {
        if (run[0] < run[1]) {
            paint(run[0], run[1], colours.Outline);
        }
    }
    if (completed) {
        target.MarkIfFull(row);
    }
}

// A row nearer polygons partly cover: outline first, then fill, each only
// where nothing is yet.
void WriteCoveredRow(int row, const WallRow& r, const WallRows& wall, ViewColours colours,
                     CoveredTarget& target) {
    if (r.LeftSide) {
        target.Write(row, wall.Left, wall.Left + 1, colours.Outline);
    }
    if (r.RightSide) {
        target.Write(row, wall.Right, wall.Right + 1, colours.Outline);
    }
    for (const SlopedRun& run : *r.Sloped) {
        if (run[0] < run[1]) {
            target.Write(row, run[0], run[1], colours.Outline);
        }
    }
    if (r.HasFill) {
        target.Write(row, r.FillLo, r.FillHi + 1, colours.Fill);
    }
}

}  // namespace

void WallPainter::GatherSlopes(const Quad& q, int top, int bottom) {
    for (int row = top; row <= bottom; ++row) {
        EdgeRuns[static_cast<std::size_t>(row)] = {};
    }
    const auto gather = [&](Point from, Point to, std::size_t slot) {
        Runs.clear();
        AppendSegmentRuns(from, to, Runs);
        for (const PixelRun& run : Runs) {
            EdgeRuns[static_cast<std::size_t>(run.Row)][slot] = {run.Begin, run.End};
        }
    };
    gather(q[1], q[2], 0);
    gather(q[3], q[0], 1);
}

void WallPainter::Paint(const Quad& q, CoveredTarget& target) {
    const int top = std::max(std::min(q[0].y, q[3].y), 0);
    const int bottom = std::min(std::max(q[1].y, q[2].y), ViewSize - 1);
    // Every pixel of the wall lies within its bounding box; when nearer walls
    // already cover that, which is most of the time in a dense maze, it is
    // not drawn at all.
    const int boxBegin = std::max(std::min(q[0].x, q[2].x), 0);
    const int boxEnd = std::min(std::max(q[0].x, q[2].x), ViewSize - 1) + 1;
    if (top > bottom || boxBegin >= boxEnd || target.BoxCovered(top, bottom, boxBegin, boxEnd)) {
        return;
    }
    GatherSlopes(q, top, bottom);
    WallRows wall(q, top);
    for (int row = top; row <= bottom; ++row) {
        const WallRow r = wall.Next(row, EdgeRuns[static_cast<std::size_t>(row)]);
        if (r.Begin >= r.End) {
            continue;
        }
        // Most rows of most walls are hidden by nearer ones: one test each.
        switch (target.ExposureOf(row, r.Begin, r.End)) {
            case Exposure::Hidden:
                break;
            case Exposure::Open:
                PaintOpenRow(row, r, wall, Colours, target);
                break;
            case Exposure::Partly:
                WriteCoveredRow(row, r, wall, Colours, target);
                break;
        }
    }
}

}  // namespace render_internal

// The plain painter (PolygonPainter.h): each polygon's fill runs, then its
// outline runs, written straight into the target.
#include "support/PolygonPainter.h"

#include <algorithm>

void PolygonPainter::Clear() {
    for (int y = 0; y < ViewSize; ++y) {
        std::fill_n(Target.Row(y), ViewSize, Colours.Background);
    }
}

void PolygonPainter::PaintRuns(std::uint32_t colour) {
    for (const PixelRun& run : Runs) {
        std::fill(Target.Row(run.Row) + run.Begin, Target.Row(run.Row) + run.End, colour);
    }
    Runs.clear();
}

void PolygonPainter::Paint(const Quad& quad) {
    Runs.clear();
    AppendFillRuns(quad, Runs);
    PaintRuns(Colours.Fill);
    AppendOutlineRuns(quad, Runs);
    PaintRuns(Colours.Outline);
}

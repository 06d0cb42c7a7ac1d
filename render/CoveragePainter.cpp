// The coverage painter's frame: the queue taken nearest first, each polygon
// skipped whole when the rows it spans are full, walls sent down their fast
// path and any other quad written run by run, then the background; and the
// still view, a frame that keeps the last one's pixels, never painted.
#include "render/CoveragePainter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "render/CoveredTarget.h"
#include "render/Raster.h"
#include "render/StillView.h"
#include "render/WallPainter.h"
#include "render/WallRows.h"

using namespace render_internal;

class CoveragePainter::Coverage {
  public:
    Coverage(PixelTarget target, ViewColours colours)
        : Colours(colours), Target(target), Wall(colours) {
        Runs.reserve(4096);
    }

    // Paints the queued polygons, the last one first, and the background.
    // shows[k] becomes 1 where queue[k] wrote a pixel, 0 where nearer ones
    // hid it whole.
    void PaintFrame(const std::vector<Quad>& queue, std::vector<std::uint8_t>& shows);

  private:
    // Writes the pixels of one polygon that no nearer one has taken.
    void PaintPolygon(const Quad& quad);
    // Writes the runs, then forgets them.
    void Cover(std::uint32_t colour);

    ViewColours Colours;
    std::vector<PixelRun> Runs;
    // The background fill, most of the cost of a frame with few walls, runs
    // up to a third slower with the coverage bits at some places in memory
    // relative to the view's pixels; this order measured fast, so measure
    // BM_ClearView before reordering.
    CoveredTarget Target;
    WallPainter Wall;
};

void CoveragePainter::Coverage::Cover(std::uint32_t colour) {
    for (const PixelRun& run : Runs) {
        if (!Target.RowIsFull(run.Row)) {
            Target.Write(run.Row, run.Begin, run.End, colour);
        }
    }
    Runs.clear();
}

void CoveragePainter::Coverage::PaintPolygon(const Quad& quad) {
    // A polygon whose rows are all taken cannot show: skip it whole.
    const auto [top, bottom] = std::minmax({quad[0].y, quad[1].y, quad[2].y, quad[3].y});
    const int first = std::clamp(top, 0, ViewSize - 1);
    const int last = std::clamp(bottom, 0, ViewSize - 1) + 1;
    if (Target.RowsFull(first, last)) {
        return;
    }
    if (IsWallShape(quad)) {
        Wall.Paint(quad, Target);
        return;
    }
    AppendOutlineRuns(quad, Runs);
    Cover(Colours.Outline);
    AppendFillRuns(quad, Runs);
    Cover(Colours.Fill);
}

void CoveragePainter::Coverage::PaintFrame(const std::vector<Quad>& queue,
                                           std::vector<std::uint8_t>& shows) {
    Target.Clear();
    shows.assign(queue.size(), 0);
    for (auto quad = queue.rbegin(); quad != queue.rend(); ++quad) {
        Target.ForgetWrites();
        PaintPolygon(*quad);
        shows[static_cast<std::size_t>(queue.rend() - quad - 1)] = Target.HasWritten() ? 1 : 0;
    }
    // The background wherever nothing is.
    for (int row = 0; row < ViewSize; ++row) {
        Target.FillUncovered(row, Colours.Background);
    }
}

CoveragePainter::CoveragePainter(PixelTarget target, ViewColours colours)
    : Pixels(std::make_unique<Coverage>(target, colours)) {
    Queue.reserve(1024);
    Shown.reserve(1024);
}

CoveragePainter::~CoveragePainter() = default;

void CoveragePainter::Clear() {
    Queue.clear();
    Finished = false;
}

void CoveragePainter::Paint(const Quad& quad) {
    Queue.push_back(quad);
    Finished = false;
}

bool CoveragePainter::SamePixelsAsShown() const {
    return HasShown && SamePixels(Queue, Shown, ShownWrote);
}

bool CoveragePainter::Finish() {
    if (Finished) {
        return false;
    }
    Finished = true;
    if (SamePixelsAsShown()) {
        return false;
    }
    Pixels->PaintFrame(Queue, ShownWrote);
    Shown = Queue;
    HasShown = true;
    return true;
}

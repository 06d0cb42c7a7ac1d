// The coverage painter's work: the queue painted nearest first into a target
// that knows which pixels are taken, and a fast path for the shape every wall
// projects to, which reads its rows straight from the edges instead of
// through runs.
#include "render/CoveragePainter.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "render/CoveredTarget.h"
#include "render/EdgeBound.h"
#include "render/Raster.h"

using namespace render_internal;

namespace {

// The shape every wall projects to: two vertical sides, each top no lower than
// its bottom, and every y in 64-bit reach. Such a quad is convex, so its fill
// (the two triangles) is one run a row between its top and bottom edges.
bool IsWallShape(const Quad& q) {
    return q[0].x == q[1].x && q[2].x == q[3].x && q[0].y <= q[1].y && q[3].y <= q[2].y &&
           AllSmall(q.data(), 4);
}

// A row's part of a sloping outline segment, [begin, end); empty when equal.
using SlopedRun = std::array<std::int16_t, 2>;
// A wall's bottom (P1 -> P2) and top (P3 -> P0) outline segments in one row.
using SlopedRuns = std::array<SlopedRun, 2>;

// What a wall puts in one row of the view, all of it within [Begin, End).
struct WallRow {
    bool HasFill = false;  // columns [FillLo, FillHi]
    int FillLo = 0;
    int FillHi = 0;
    bool LeftSide = false;   // the pixel of P0 -> P1 in this row
    bool RightSide = false;  // the pixel of P2 -> P3 in this row
    const SlopedRuns* Sloped = nullptr;
    int Begin = ViewSize;
    int End = 0;

    void Extend(int b, int e) {
        if (b < e) {
            Begin = std::min(Begin, b);
            End = std::max(End, e);
        }
    }
};

// A wall-shaped quad taken row by row from its top, each row once, in order.
class WallRows {
  public:
    WallRows(const Quad& q, int top)
        : Left(q[0].x),
          Right(q[2].x),
          // P0 -> P1 covers rows [P0.y, P1.y) of the left side and P2 -> P3
          // rows (P3.y, P2.y] of the right, a lone pixel where a side has no
          // height.
          LeftFirst(q[0].y),
          LeftLast(q[0].y == q[1].y ? q[0].y : q[1].y - 1),
          RightFirst(q[3].y == q[2].y ? q[2].y : q[3].y + 1),
          RightLast(q[2].y),
          // The fill: columns strictly between the sides, rows between the
          // top and bottom edges, with the edges' own top-left rule.
          HasArea(Left != Right && (q[0].y != q[1].y || q[3].y != q[2].y)),
          FillLo(std::max(std::min(Left, Right), 0)),
          FillHi(std::min(std::max(Left, Right), ViewSize) - 1),
          FillEnd(std::min(std::max(q[1].y, q[2].y), ViewSize)),
          Edges{MakeEdge<std::int64_t>(q[1], q[2], Right < Left ? 1 : -1, Right < Left, top),
                MakeEdge<std::int64_t>(q[3], q[0], Right < Left ? 1 : -1, Right < Left, top)} {}

    // The next row, which is row; sloped holds its sloping outline runs.
    WallRow Next(int row, const SlopedRuns& sloped) {
        WallRow r;
        r.FillLo = FillLo;
        r.FillHi = FillHi;
        const bool inside = ClipRow(Edges, r.FillLo, r.FillHi);
        r.HasFill = inside && HasArea && row < FillEnd && r.FillLo <= r.FillHi;
        r.LeftSide = row >= LeftFirst && row <= LeftLast && Left >= 0 && Left < ViewSize;
        r.RightSide = row >= RightFirst && row <= RightLast && Right >= 0 && Right < ViewSize;
        r.Sloped = &sloped;
        if (r.LeftSide) {
            r.Extend(Left, Left + 1);
        }
        if (r.RightSide) {
            r.Extend(Right, Right + 1);
        }
        r.Extend(sloped[0][0], sloped[0][1]);
        r.Extend(sloped[1][0], sloped[1][1]);
        if (r.HasFill) {
            r.Extend(r.FillLo, r.FillHi + 1);
        }
        return r;
    }

    const int Left;
    const int Right;

  private:
    const int LeftFirst;
    const int LeftLast;
    const int RightFirst;
    const int RightLast;
    const bool HasArea;
    const int FillLo;
    const int FillHi;
    const int FillEnd;  // the fill reaches rows [top, FillEnd)
    EdgeBound<std::int64_t> Edges[2];
};

}  // namespace

class CoveragePainter::Coverage {
  public:
    Coverage(PixelTarget target, ViewColours colours) : Colours(colours), Target(target) {
        Runs.reserve(4096);
    }

    // Paints the queued polygons, the last one first, and the background.
    // shows[k] becomes 1 where queue[k] wrote a pixel, 0 where nearer ones
    // hid it whole.
    void PaintFrame(const std::vector<Quad>& queue, std::vector<std::uint8_t>& shows);

  private:
    // Writes the runs, then forgets them.
    void Cover(std::uint32_t colour);

    // Writes the pixels of one polygon that no nearer one has taken.
    void PaintPolygon(const Quad& quad);
    void CoverWall(const Quad& q);
    // Fills EdgeRuns for rows [top, bottom] from the wall's sloping segments.
    void GatherSlopes(const Quad& q, int top, int bottom);
    // A row no nearer polygon reaches: the wall's pixels as the plain painter
    // gives them, fill then outline.
    void PaintOpenRow(int row, const WallRow& r, const WallRows& wall);
    // A row nearer polygons partly cover: outline first, then fill, each
    // only where nothing is yet.
    void WriteCoveredRow(int row, const WallRow& r, const WallRows& wall);

    ViewColours Colours;
    std::vector<PixelRun> Runs;
    CoveredTarget Target;
    // A wall's two sloping outline segments, row by row.
    std::array<SlopedRuns, ViewSize> EdgeRuns{};
};

void CoveragePainter::Coverage::Cover(std::uint32_t colour) {
    for (const PixelRun& run : Runs) {
        if (!Target.RowIsFull(run.Row)) {
            Target.Write(run.Row, run.Begin, run.End, colour);
        }
    }
    Runs.clear();
}

void CoveragePainter::Coverage::GatherSlopes(const Quad& q, int top, int bottom) {
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
    Runs.clear();
}

void CoveragePainter::Coverage::PaintOpenRow(int row, const WallRow& r, const WallRows& wall) {
    bool completed = false;
    const auto paint = [&](int b, int e, std::uint32_t colour) {
        completed = Target.WriteOpen(row, b, e, colour) || completed;
    };
    if (r.HasFill) {
        paint(r.FillLo, r.FillHi + 1, Colours.Fill);
    }
    if (r.LeftSide) {
        paint(wall.Left, wall.Left + 1, Colours.Outline);
    }
    if (r.RightSide) {
        paint(wall.Right, wall.Right + 1, Colours.Outline);
    }
    for (const SlopedRun& run : *r.Sloped) {
        if (run[0] < run[1]) {
            paint(run[0], run[1], Colours.Outline);
        }
    }
    if (completed) {
        Target.MarkIfFull(row);
    }
}

void CoveragePainter::Coverage::WriteCoveredRow(int row, const WallRow& r, const WallRows& wall) {
    if (r.LeftSide) {
        Target.Write(row, wall.Left, wall.Left + 1, Colours.Outline);
    }
    if (r.RightSide) {
        Target.Write(row, wall.Right, wall.Right + 1, Colours.Outline);
    }
    for (const SlopedRun& run : *r.Sloped) {
        if (run[0] < run[1]) {
            Target.Write(row, run[0], run[1], Colours.Outline);
        }
    }
    if (r.HasFill) {
        Target.Write(row, r.FillLo, r.FillHi + 1, Colours.Fill);
    }
}

void CoveragePainter::Coverage::CoverWall(const Quad& q) {
    const int top = std::max(std::min(q[0].y, q[3].y), 0);
    const int bottom = std::min(std::max(q[1].y, q[2].y), ViewSize - 1);
    // Every pixel of the wall lies within its bounding box; when nearer walls
    // already cover that, which is most of the time in a dense maze, it is
    // not drawn at all.
    const int boxBegin = std::max(std::min(q[0].x, q[2].x), 0);
    const int boxEnd = std::min(std::max(q[0].x, q[2].x), ViewSize - 1) + 1;
    if (top > bottom || boxBegin >= boxEnd || Target.BoxCovered(top, bottom, boxBegin, boxEnd)) {
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
        switch (Target.ExposureOf(row, r.Begin, r.End)) {
            case Exposure::Hidden:
                break;
            case Exposure::Open:
                PaintOpenRow(row, r, wall);
                break;
            case Exposure::Partly:
                WriteCoveredRow(row, r, wall);
                break;
        }
    }
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
        CoverWall(quad);
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
    if (!HasShown) {
        return false;
    }
    // Queue must be Shown with only polygons left out that wrote no pixel
    // there: one fully hidden by nearer ones cannot change the picture, and
    // leaving it out changes no other polygon's pixels either, since it took
    // none from farther ones. This is how a blinking wall that nearer walls
    // hide costs nothing.
    std::size_t shown = 0;
    for (const Quad& quad : Queue) {
        while (shown < Shown.size() && !(Shown[shown] == quad)) {
            if (ShownWrote[shown] != 0) {
                return false;
            }
            ++shown;
        }
        if (shown == Shown.size()) {
            return false;
        }
        ++shown;
    }
    for (; shown < Shown.size(); ++shown) {
        if (ShownWrote[shown] != 0) {
            return false;
        }
    }
    return true;
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

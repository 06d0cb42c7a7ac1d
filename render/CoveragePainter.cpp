// The coverage painter's work: a bit for each pixel taken, whole rows marked
// once full, and a fast path for the shape every wall projects to, which
// reads its rows straight from the edges instead of through runs.
#include "render/CoveragePainter.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "render/EdgeBound.h"
#include "render/Raster.h"
#include "render/RowBits.h"

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
    Coverage(PixelTarget target, ViewColours colours) : Target(target), Colours(colours) {
        Runs.reserve(4096);
    }

    // Paints the queued polygons, the last one first, and the background.
    void PaintFrame(const std::vector<Quad>& queue);

  private:
    bool RowIsFull(int row) const {
        return (FullRows[static_cast<std::size_t>(row / 64)] >> (row % 64) & 1) != 0;
    }
    // Notes the row as full when every pixel of it is covered.
    void MarkIfFull(int row);
    // Writes colour to every pixel of the row not yet covered.
    void FillUncovered(int row, std::uint32_t colour);
    // Writes colour to the pixels of [begin, end) of the row not yet covered.
    void Write(int row, int begin, int end, std::uint32_t colour);
    // Writes the runs, then forgets them.
    void Cover(std::uint32_t colour);

    void CoverWall(const Quad& q);
    // Whether columns [begin, end) of rows [top, bottom] are all covered.
    bool BoxCovered(int top, int bottom, int begin, int end) const;
    // Fills EdgeRuns for rows [top, bottom] from the wall's sloping segments.
    void GatherSlopes(const Quad& q, int top, int bottom);
    // A row no nearer polygon reaches: the wall's pixels as the plain painter
    // gives them, fill then outline.
    void PaintOpenRow(int row, const WallRow& r, const WallRows& wall);
    // A row nearer polygons partly cover: outline first, then fill, each
    // only where nothing is yet.
    void WriteCoveredRow(int row, const WallRow& r, const WallRows& wall);

    PixelTarget Target;
    ViewColours Colours;
    std::vector<PixelRun> Runs;
    // Pixels already written in this frame, a bit each; and rows with none left.
    std::array<Bits, ViewSize> Covered{};
    Bits FullRows{};
    // A wall's two sloping outline segments, row by row.
    std::array<SlopedRuns, ViewSize> EdgeRuns{};
};

void CoveragePainter::Coverage::MarkIfFull(int row) {
    if (AllSet(Covered[static_cast<std::size_t>(row)], 0, ViewSize)) {
        FullRows[static_cast<std::size_t>(row / 64)] |= std::uint64_t{1} << (row % 64);
    }
}

void CoveragePainter::Coverage::FillUncovered(int row, std::uint32_t colour) {
    const Bits& covered = Covered[static_cast<std::size_t>(row)];
    std::uint32_t* pixels = Target.Row(row);
    if (std::all_of(covered.begin(), covered.end(), [](std::uint64_t w) { return w == 0; })) {
        std::fill_n(pixels, ViewSize, colour);  // most rows above and below the walls
        return;
    }
    StretchWriter writer(pixels, colour);
    for (int w = 0; w < Words; ++w) {
        writer.Add(w, ~covered[static_cast<std::size_t>(w)] & WordMask(w));
    }
}

void CoveragePainter::Coverage::Write(int row, int begin, int end, std::uint32_t colour) {
    Bits& covered = Covered[static_cast<std::size_t>(row)];
    std::uint32_t* pixels = Target.Row(row);
    if (end - begin == 1) {
        // A lone pixel, as the sides of every wall give in every row.
        std::uint64_t& word = covered[static_cast<std::size_t>(begin / 64)];
        const std::uint64_t bit = std::uint64_t{1} << (begin % 64);
        if ((word & bit) == 0) {
            word |= bit;
            pixels[begin] = colour;
            if (word == WordMask(begin / 64)) {
                MarkIfFull(row);
            }
        }
        return;
    }
    bool wordCompleted = false;
    {
        StretchWriter writer(pixels, colour);
        ForEachWord(begin, end, [&](std::size_t w, std::uint64_t mask) {
            const std::uint64_t free = mask & ~covered[w];
            covered[w] |= mask;
            wordCompleted =
                wordCompleted || (free != 0 && covered[w] == WordMask(static_cast<int>(w)));
            writer.Add(static_cast<int>(w), free);
            return true;
        });
    }
    // A row can only have filled up when one of its words just did.
    if (wordCompleted) {
        MarkIfFull(row);
    }
}

void CoveragePainter::Coverage::Cover(std::uint32_t colour) {
    for (const PixelRun& run : Runs) {
        if (!RowIsFull(run.Row)) {
            Write(run.Row, run.Begin, run.End, colour);
        }
    }
    Runs.clear();
}

bool CoveragePainter::Coverage::BoxCovered(int top, int bottom, int begin, int end) const {
    for (int row = top; row <= bottom; ++row) {
        if (!AllSet(Covered[static_cast<std::size_t>(row)], begin, end)) {
            return false;
        }
    }
    return true;
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
    Bits& covered = Covered[static_cast<std::size_t>(row)];
    std::uint32_t* pixels = Target.Row(row);
    bool completed = false;
    const auto paint = [&](int b, int e, std::uint32_t colour) {
        std::fill(pixels + b, pixels + e, colour);
        completed = SetBits(covered, b, e) || completed;
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
        MarkIfFull(row);
    }
}

void CoveragePainter::Coverage::WriteCoveredRow(int row, const WallRow& r, const WallRows& wall) {
    if (r.LeftSide) {
        Write(row, wall.Left, wall.Left + 1, Colours.Outline);
    }
    if (r.RightSide) {
        Write(row, wall.Right, wall.Right + 1, Colours.Outline);
    }
    for (const SlopedRun& run : *r.Sloped) {
        if (run[0] < run[1]) {
            Write(row, run[0], run[1], Colours.Outline);
        }
    }
    if (r.HasFill) {
        Write(row, r.FillLo, r.FillHi + 1, Colours.Fill);
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
    if (top > bottom || boxBegin >= boxEnd || BoxCovered(top, bottom, boxBegin, boxEnd)) {
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
        switch (ExposureOf(Covered[static_cast<std::size_t>(row)], r.Begin, r.End)) {
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

void CoveragePainter::Coverage::PaintFrame(const std::vector<Quad>& queue) {
    for (auto& row : Covered) {
        row.fill(0);
    }
    FullRows.fill(0);
    for (auto quad = queue.rbegin(); quad != queue.rend(); ++quad) {
        // A polygon whose rows are all taken cannot show: skip it whole.
        const auto [top, bottom] =
            std::minmax({(*quad)[0].y, (*quad)[1].y, (*quad)[2].y, (*quad)[3].y});
        const int first = std::clamp(top, 0, ViewSize - 1);
        const int last = std::clamp(bottom, 0, ViewSize - 1) + 1;
        if (AllSet(FullRows, first, last)) {
            continue;
        }
        if (IsWallShape(*quad)) {
            CoverWall(*quad);
            continue;
        }
        AppendOutlineRuns(*quad, Runs);
        Cover(Colours.Outline);
        AppendFillRuns(*quad, Runs);
        Cover(Colours.Fill);
    }
    // The background wherever nothing is.
    for (int row = 0; row < ViewSize; ++row) {
        FillUncovered(row, Colours.Background);
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

bool CoveragePainter::Finish() {
    if (Finished) {
        return false;
    }
    Finished = true;
    if (HasShown && Queue == Shown) {
        return false;
    }
    Pixels->PaintFrame(Queue);
    Shown = Queue;
    HasShown = true;
    return true;
}

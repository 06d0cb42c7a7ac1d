// The shape every wall projects to, and its pixels read row by row straight
// from its edges: the sides, the sloping outline and the fill of each row,
// without going through runs. Private to render/: the coverage painter's wall
// path steps it, and the edges are those the scan conversion uses, so the
// pixels are the very same.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "render/EdgeBound.h"
#include "render/Platform.h"

namespace render_internal {

// The shape every wall projects to: two vertical sides, each top no lower than
// its bottom, and every y in 64-bit reach. Such a quad is convex, so its fill
// (the two triangles) is one run a row between its top and bottom edges.
inline bool IsWallShape(const Quad& q) {
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

}  // namespace render_internal

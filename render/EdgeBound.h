// The edges of a polygon as exact bounds on the pixels of each row, stepped
// row by row with additions only, and the one place a row is clipped to them.
// Private to render/: the scan conversion and the coverage painter's wall
// path share it, so both draw the very same pixels.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/Platform.h"

namespace render_internal {

// Corner coordinates are 32-bit, so edge equations need up to 67 bits. The
// common case, every |y| within SmallY (walls never project taller than a
// few tens of thousands of pixels), fits 64 bits and is computed so; anything
// else takes 128 bits.
inline constexpr std::int64_t SmallY = std::int64_t{1} << 20;

inline bool AllSmall(const Point* points, int count) {
    for (int k = 0; k < count; ++k) {
        if (std::llabs(points[k].y) > SmallY) {
            return false;
        }
    }
    return true;
}

// Floor of a / d for d > 0.
template <class W>
W FloorDiv(W a, W d) {
    W q = a / d;
    if (a % d != 0 && a < 0) {
        --q;
    }
    return q;
}

// Steps Q = floor((A + k * B) / D) through k = 0, 1, 2, ... with additions
// only, D > 0.
template <class W>
struct FloorStepper {
    W Q = 0;
    W R = 0;
    W StepQ = 0;
    W StepR = 0;
    W D = 1;

    FloorStepper() = default;
    FloorStepper(W a, W b, W d) : Q(FloorDiv(a, d)), StepQ(FloorDiv(b, d)), D(d) {
        R = a - Q * d;
        StepR = b - StepQ * d;
    }

    void Step() {
        Q += StepQ;
        R += StepR;
        if (R >= D) {
            R -= D;
            ++Q;
        }
    }
};

// v clamped into [lo, hi], as an int.
template <class W>
int Clamp(W v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : static_cast<int>(v);
}

// SDL's top-left rule: pixels whose centres lie exactly on a top or left edge
// belong to the triangle, those on the other edges do not.
inline bool IsTopLeft(Point a, Point b, bool clockwise) {
    if (clockwise) {
        return (a.y == b.y && a.x < b.x) || b.y < a.y;
    }
    return (a.y == b.y && b.x < a.x) || a.y < b.y;
}

// One edge of a triangle as a bound on the pixel x of each row. In doubled
// coordinates (pixel centres are odd) the edge function at pixel (x, y) is
// w = K * (2x + 1) + C(2y + 1), and the pixel is on the inner side when
// w >= T (T = 0 on top-left edges, 1 elsewhere).
template <class W>
struct EdgeBound {
    enum Kind { Lower, Upper, Rows } Type = Rows;
    // Lower: x >= -Bound.Q; Upper: x <= Bound.Q.
    FloorStepper<W> Bound;
    // Rows (horizontal edges): the whole row is inside when Value >= T.
    W Value = 0;
    W ValueStep = 0;
    W T = 0;

    void Step() {
        if (Type == Rows) {
            Value += ValueStep;
        } else {
            Bound.Step();
        }
    }
};

// The edge from a to b of a triangle whose area has the given sign (+1 when
// clockwise), placed at row firstRow.
template <class W>
EdgeBound<W> MakeEdge(Point a, Point b, int sign, bool clockwise, int firstRow) {
    const W ax = W{2} * a.x;
    const W ay = W{2} * a.y;
    const W bx = W{2} * b.x;
    const W by = W{2} * b.y;
    const W s = sign;
    const W k = -s * (by - ay);
    const W t = IsTopLeft(a, b, clockwise) ? 0 : 1;
    const W y = W{2} * firstRow + 1;
    // C(Y) = s * ((bx - ax) * (Y - ay) + (by - ay) * ax); two rows apart in
    // doubled units, it changes by 2 * s * (bx - ax).
    const W c = s * ((bx - ax) * (y - ay) + (by - ay) * ax);
    const W cStep = W{2} * s * (bx - ax);
    EdgeBound<W> edge;
    edge.T = t;
    if (k == 0) {
        edge.Type = EdgeBound<W>::Rows;
        edge.Value = c;
        edge.ValueStep = cStep;
    } else {
        // K * (2x + 1) + C >= T  <=>  2K * x >= T - C - K: for K > 0,
        // x >= -floor((C + K - T) / 2K); for K < 0, x <= floor((C + K - T) / -2K).
        edge.Type = k > 0 ? EdgeBound<W>::Lower : EdgeBound<W>::Upper;
        const W twiceK = k > 0 ? W{2} * k : W{-2} * k;
        edge.Bound = FloorStepper<W>(c + k - t, cStep, twiceK);
    }
    return edge;
}

// Clips the current row's columns [lo, hi] to the inner side of every edge,
// kept within [-1, ViewSize] so that the result fits an int however far the
// edges reach, and steps the edges on to the next row. Returns false when a
// horizontal edge leaves the whole row outside; lo > hi when no column is in.
// It runs for every row of every wall drawn: always inlined, so that the
// edges stay in registers.
template <class W, std::size_t N>
[[gnu::always_inline]] inline bool ClipRow(EdgeBound<W> (&edges)[N], int& lo, int& hi) {
    bool inside = true;
    for (EdgeBound<W>& e : edges) {
        switch (e.Type) {
            case EdgeBound<W>::Lower:
                lo = std::max(lo, Clamp<W>(-e.Bound.Q, -1, ViewSize));
                break;
            case EdgeBound<W>::Upper:
                hi = std::min(hi, Clamp<W>(e.Bound.Q, -1, ViewSize));
                break;
            case EdgeBound<W>::Rows:
                inside = inside && e.Value >= e.T;
                break;
        }
        e.Step();
    }
    return inside;
}

}  // namespace render_internal

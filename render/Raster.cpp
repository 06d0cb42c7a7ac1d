// The scan conversion of one polygon into runs: the fill as two triangles
// bounded row by row by their exact edge functions, the outline as four
// Bresenham segments entered at the view's edge. Rules and guarantees are in
// Raster.h.
#include "render/Raster.h"

#include <algorithm>
#include <cstddef>

#include "render/EdgeBound.h"

namespace {

using namespace render_internal;

#if defined(__SIZEOF_INT128__)
__extension__ typedef __int128 Wide;
#else
#error "mazewalk needs a compiler with 128-bit integers (GCC, Clang or clang-cl)"
#endif

void PushRun(std::vector<PixelRun>& runs, int row, int begin, int end) {
    begin = std::max(begin, 0);
    end = std::min(end, ViewSize);
    if (begin < end) {
        runs.push_back({static_cast<std::int16_t>(row), static_cast<std::int16_t>(begin),
                        static_cast<std::int16_t>(end)});
    }
}

// Cross product (b - a) x (c - a), the edge function of SDL's triangle filler.
template <class W>
W Cross(W ax, W ay, W bx, W by, W cx, W cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

template <class W>
void AppendTriangleRuns(Point p0, Point p1, Point p2, std::vector<PixelRun>& runs) {
    const W area = Cross<W>(p0.x, p0.y, p1.x, p1.y, p2.x, p2.y);
    if (area == 0) {
        return;  // a flat triangle covers nothing
    }
    const bool clockwise = area > 0;
    const int sign = clockwise ? 1 : -1;

    // Pixel centres sit halfway between integer corners, so rows [min, max)
    // are the only ones a triangle can reach.
    const int first = Clamp<W>(std::min({p0.y, p1.y, p2.y}), 0, ViewSize);
    const int last = Clamp<W>(std::max({p0.y, p1.y, p2.y}), 0, ViewSize);
    if (first >= last) {
        return;
    }
    EdgeBound<W> edges[3] = {MakeEdge<W>(p1, p2, sign, clockwise, first),
                             MakeEdge<W>(p2, p0, sign, clockwise, first),
                             MakeEdge<W>(p0, p1, sign, clockwise, first)};
    for (int row = first; row < last; ++row) {
        int lo = -1;
        int hi = ViewSize;
        if (ClipRow(edges, lo, hi)) {
            PushRun(runs, row, lo, hi + 1);
        }
    }
}

// One outline segment: Bresenham's line from (X0, Y0), the end pixel left to
// the next segment. With d = max(|dx|, |dy|) steps along the major axis, step
// i sits at minor offset floor((2 i minor + major) / (2 major)), which is
// exactly where the incremental algorithm (error >= 0 steps the minor axis)
// puts it; that closed form lets a segment start at the view's edge however
// far away its ends are.
template <class W>
struct Segment {
    W X0;
    W Y0;
    W Dx;  // |dx|
    W Dy;  // |dy|
    int Sx;
    int Sy;

    Segment(Point from, Point to)
        : X0(from.x),
          Y0(from.y),
          Dx(to.x >= from.x ? W{to.x} - from.x : W{from.x} - to.x),
          Dy(to.y >= from.y ? W{to.y} - from.y : W{from.y} - to.y),
          Sx(to.x >= from.x ? 1 : -1),
          Sy(to.y >= from.y ? 1 : -1) {}

    // Pixels 0 .. Steps() - 1.
    W Steps() const { return std::max(Dx, Dy); }

    // Row offsets m (row Y0 + Sy * m) in the view, limited to [0, lastOffset].
    bool OffsetsInView(W lastOffset, W& lo, W& hi) const {
        if (Sy > 0) {
            lo = std::max(W{0}, -Y0);
            hi = std::min(lastOffset, W{ViewSize - 1} - Y0);
        } else {
            lo = std::max(W{0}, Y0 - (ViewSize - 1));
            hi = std::min(lastOffset, Y0);
        }
        return lo <= hi;
    }

    // Steps [begin, end) of the segment, all in row offset m.
    void PushSteps(std::vector<PixelRun>& runs, W m, W begin, W end) const {
        const int row = static_cast<int>(Y0 + Sy * m);
        if (Sx > 0) {
            PushRun(runs, row, Clamp<W>(X0 + begin, -1, ViewSize),
                    Clamp<W>(X0 + end, -1, ViewSize));
        } else {
            PushRun(runs, row, Clamp<W>(X0 - end + 1, -1, ViewSize),
                    Clamp<W>(X0 - begin + 1, -1, ViewSize));
        }
    }
};

// An x-major segment (Dx >= Dy > 0 or a horizontal one): row offset m holds
// steps [start(m), start(m + 1)), where
// start(m) = ceil((2m - 1) dx / 2dy) = -floor((dx - 2m dx) / 2dy).
template <class W>
void AppendXMajorRuns(const Segment<W>& s, std::vector<PixelRun>& runs) {
    const W steps = s.Steps();
    const W lastOffset = FloorDiv(W{2} * (steps - 1) * s.Dy + s.Dx, W{2} * s.Dx);
    W lo = 0;
    W hi = 0;
    if (!s.OffsetsInView(lastOffset, lo, hi)) {
        return;
    }
    if (s.Dy == 0) {
        s.PushSteps(runs, 0, 0, steps);
        return;
    }
    FloorStepper<W> start(s.Dx - W{2} * lo * s.Dx, W{-2} * s.Dx, W{2} * s.Dy);
    for (W m = lo; m <= hi; ++m) {
        const W begin = std::max(W{0}, -start.Q);
        start.Step();
        const W end = std::min(steps, -start.Q);
        s.PushSteps(runs, m, begin, end);
    }
}

// A y-major segment: one pixel a row, at X0 + Sx * floor((2i dx + dy) / 2dy).
template <class W>
void AppendYMajorRuns(const Segment<W>& s, std::vector<PixelRun>& runs) {
    W lo = 0;
    W hi = 0;
    if (!s.OffsetsInView(s.Steps() - 1, lo, hi)) {
        return;
    }
    FloorStepper<W> offset(W{2} * lo * s.Dx + s.Dy, W{2} * s.Dx, W{2} * s.Dy);
    for (W i = lo; i <= hi; ++i) {
        const W x = s.X0 + s.Sx * offset.Q;
        offset.Step();
        if (x >= 0 && x < ViewSize) {
            const int column = static_cast<int>(x);
            PushRun(runs, static_cast<int>(s.Y0 + s.Sy * i), column, column + 1);
        }
    }
}

template <class W>
void AppendSegmentRunsIn(Point from, Point to, std::vector<PixelRun>& runs) {
    if (from == to) {
        if (from.y >= 0 && from.y < ViewSize && from.x >= 0 && from.x < ViewSize) {
            PushRun(runs, from.y, from.x, from.x + 1);
        }
        return;
    }
    const Segment<W> segment(from, to);
    if (segment.Dx >= segment.Dy) {
        AppendXMajorRuns(segment, runs);
    } else {
        AppendYMajorRuns(segment, runs);
    }
}

}  // namespace

void AppendFillRuns(const Quad& q, std::vector<PixelRun>& runs) {
    if (AllSmall(q.data(), 4)) {
        AppendTriangleRuns<std::int64_t>(q[0], q[1], q[2], runs);
        AppendTriangleRuns<std::int64_t>(q[0], q[2], q[3], runs);
    } else {
        AppendTriangleRuns<Wide>(q[0], q[1], q[2], runs);
        AppendTriangleRuns<Wide>(q[0], q[2], q[3], runs);
    }
}

void AppendOutlineRuns(const Quad& q, std::vector<PixelRun>& runs) {
    const bool small = AllSmall(q.data(), 4);
    for (std::size_t k = 0; k < 4; ++k) {
        const Point from = q[k];
        const Point to = q[(k + 1) % 4];
        if (small) {
            AppendSegmentRunsIn<std::int64_t>(from, to, runs);
        } else {
            AppendSegmentRunsIn<Wide>(from, to, runs);
        }
    }
}

void AppendSegmentRuns(Point from, Point to, std::vector<PixelRun>& runs) {
    const Point ends[2] = {from, to};
    if (AllSmall(ends, 2)) {
        AppendSegmentRunsIn<std::int64_t>(from, to, runs);
    } else {
        AppendSegmentRunsIn<Wide>(from, to, runs);
    }
}

#include "render/Raster.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace {

// Corner coordinates are 32-bit, so edge equations need up to 67 bits. The
// common case, every |y| within SmallY (walls never project taller than a
// few tens of thousands of pixels), fits 64 bits and is computed so; anything
// else takes 128 bits.
#if defined(__SIZEOF_INT128__)
__extension__ typedef __int128 Wide;
#else
#error "mazewalk needs a compiler with 128-bit integers (GCC, Clang or clang-cl)"
#endif
constexpr std::int64_t SmallY = std::int64_t{1} << 20;

bool AllSmall(const Point* points, int count) {
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

// SDL's top-left rule: pixels whose centres lie exactly on a top or left edge
// belong to the triangle, those on the other edges do not.
bool IsTopLeft(Point a, Point b, bool clockwise) {
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
        if (inside) {
            PushRun(runs, row, lo, hi + 1);
        }
    }
}

// One outline segment: Bresenham's line from `from` towards `to`, the end
// pixel left to the next segment. With d = max(|dx|, |dy|) steps along the
// major axis, step i sits at minor offset floor((2 i minor + major) / (2 major)),
// which is exactly where the incremental algorithm (error >= 0 steps the minor
// axis) puts it; that closed form lets a segment start at the view's edge
// however far away its ends are.
template <class W>
void AppendSegmentRuns(Point from, Point to, std::vector<PixelRun>& runs) {
    const W x0 = from.x;
    const W y0 = from.y;
    const W dx = to.x >= from.x ? W{to.x} - from.x : W{from.x} - to.x;
    const W dy = to.y >= from.y ? W{to.y} - from.y : W{from.y} - to.y;
    const int sx = to.x >= from.x ? 1 : -1;
    const int sy = to.y >= from.y ? 1 : -1;
    if (dx == 0 && dy == 0) {
        if (from.y >= 0 && from.y < ViewSize && from.x >= 0 && from.x < ViewSize) {
            PushRun(runs, from.y, from.x, from.x + 1);
        }
        return;
    }
    const W steps = std::max(dx, dy);  // pixels 0 .. steps - 1

    // Row offsets m (row y0 + sy * m) in the view, limited to [0, lastOffset].
    const auto offsetsInView = [&](W lastOffset, W& lo, W& hi) {
        if (sy > 0) {
            lo = std::max(W{0}, -y0);
            hi = std::min(lastOffset, W{ViewSize - 1} - y0);
        } else {
            lo = std::max(W{0}, y0 - (ViewSize - 1));
            hi = std::min(lastOffset, y0);
        }
        return lo <= hi;
    };

    if (dx >= dy) {
        // x-major: row offset m holds steps [start(m), start(m + 1)), where
        // start(m) = ceil((2m - 1) dx / 2dy) = -floor((dx - 2m dx) / 2dy).
        const W lastOffset = FloorDiv(W{2} * (steps - 1) * dy + dx, W{2} * dx);
        W lo = 0;
        W hi = 0;
        if (!offsetsInView(lastOffset, lo, hi)) {
            return;
        }
        if (dy == 0) {
            const int row = static_cast<int>(y0);
            if (sx > 0) {
                PushRun(runs, row, Clamp<W>(x0, -1, ViewSize), Clamp<W>(x0 + steps, -1, ViewSize));
            } else {
                PushRun(runs, row, Clamp<W>(x0 - steps + 1, -1, ViewSize),
                        Clamp<W>(x0 + 1, -1, ViewSize));
            }
            return;
        }
        FloorStepper<W> start(dx - W{2} * lo * dx, W{-2} * dx, W{2} * dy);
        for (W m = lo; m <= hi; ++m) {
            const W begin = std::max(W{0}, -start.Q);
            start.Step();
            const W end = std::min(steps, -start.Q);
            const int row = static_cast<int>(y0 + sy * m);
            if (sx > 0) {
                PushRun(runs, row, Clamp<W>(x0 + begin, -1, ViewSize),
                        Clamp<W>(x0 + end, -1, ViewSize));
            } else {
                PushRun(runs, row, Clamp<W>(x0 - end + 1, -1, ViewSize),
                        Clamp<W>(x0 - begin + 1, -1, ViewSize));
            }
        }
    } else {
        // y-major: one pixel a row, at x0 + sx * floor((2i dx + dy) / 2dy).
        W lo = 0;
        W hi = 0;
        if (!offsetsInView(steps - 1, lo, hi)) {
            return;
        }
        FloorStepper<W> offset(W{2} * lo * dx + dy, W{2} * dx, W{2} * dy);
        for (W i = lo; i <= hi; ++i) {
            const W x = x0 + sx * offset.Q;
            offset.Step();
            if (x >= 0 && x < ViewSize) {
                const int column = static_cast<int>(x);
                PushRun(runs, static_cast<int>(y0 + sy * i), column, column + 1);
            }
        }
    }
}

// The shape every wall projects to: two vertical sides, each top no lower than
// its bottom, and every y in 64-bit reach. Such a quad is convex, so its fill
// (the two triangles) is one run a row between its top and bottom edges.
bool IsWallShape(const Quad& q) {
    return q[0].x == q[1].x && q[2].x == q[3].x && q[0].y <= q[1].y && q[3].y <= q[2].y &&
           AllSmall(q.data(), 4);
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
            AppendSegmentRuns<std::int64_t>(from, to, runs);
        } else {
            AppendSegmentRuns<Wide>(from, to, runs);
        }
    }
}

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

namespace {

// Calls visit(w, mask) for each 64-bit word w holding bits [begin, end),
// mask being those bits of it, 0 <= begin < end; stops at the first visit
// that returns false, and returns whether none did. This runs for every row
// of every wall drawn, so it keeps to shifts.
template <class Visit>
bool ForEachWord(int begin, int end, Visit&& visit) {
    const auto first = static_cast<unsigned>(begin);
    const auto last = static_cast<unsigned>(end - 1);
    const std::uint64_t firstMask = ~std::uint64_t{0} << (first & 63);
    const std::uint64_t lastMask = ~std::uint64_t{0} >> (63 - (last & 63));
    for (unsigned w = first >> 6; w <= last >> 6; ++w) {
        std::uint64_t mask = ~std::uint64_t{0};
        if (w == first >> 6) {
            mask &= firstMask;
        }
        if (w == last >> 6) {
            mask &= lastMask;
        }
        if (!visit(static_cast<std::size_t>(w), mask)) {
            return false;
        }
    }
    return true;
}

constexpr std::uint64_t LastWordMask =
    ViewSize % 64 == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (ViewSize % 64)) - 1;

// The bits of word w that stand for pixels of the view.
constexpr std::uint64_t WordMask(int w, int words) {
    return w == words - 1 ? LastWordMask : ~std::uint64_t{0};
}

// Writes the pixels of a row whose bits are handed over word by word,
// gathering them into stretches across word boundaries, each one fill.
class StretchWriter {
  public:
    StretchWriter(std::uint32_t* pixels, std::uint32_t colour) : Pixels(pixels), Colour(colour) {}
    ~StretchWriter() { std::fill(Pixels + Begin, Pixels + End, Colour); }
    StretchWriter(const StretchWriter&) = delete;
    StretchWriter& operator=(const StretchWriter&) = delete;

    // The pixels of word w whose bits are set in bits.
    void Add(int w, std::uint64_t bits) {
        while (bits != 0) {
            const int start = std::countr_zero(bits);
            const int length = std::countr_one(bits >> start);
            if (w * 64 + start != End) {
                std::fill(Pixels + Begin, Pixels + End, Colour);
                Begin = w * 64 + start;
            }
            End = w * 64 + start + length;
            bits = start + length >= 64 ? 0 : bits & (~std::uint64_t{0} << (start + length));
        }
    }

  private:
    std::uint32_t* Pixels;
    std::uint32_t Colour;
    int Begin = 0;
    int End = 0;
};

}  // namespace

CoveragePainter::CoveragePainter(PixelTarget target, ViewColours colours)
    : Target(target), Colours(colours) {
    Queue.reserve(1024);
    Runs.reserve(4096);
}

void CoveragePainter::Clear() {
    Queue.clear();
    Finished = false;
}

void CoveragePainter::Paint(const Quad& quad) {
    Queue.push_back(quad);
    Finished = false;
}

bool CoveragePainter::AllSet(const Bits& bits, int begin, int end) {
    return ForEachWord(begin, end,
                       [&](std::size_t w, std::uint64_t mask) { return (bits[w] & mask) == mask; });
}

CoveragePainter::Exposure CoveragePainter::ExposureOf(const Bits& bits, int begin, int end) {
    bool anySet = false;
    bool allSet = true;
    ForEachWord(begin, end, [&](std::size_t w, std::uint64_t mask) {
        const std::uint64_t set = bits[w] & mask;
        anySet = anySet || set != 0;
        allSet = allSet && set == mask;
        return true;
    });
    return allSet ? Exposure::Hidden : anySet ? Exposure::Partly : Exposure::Open;
}

bool CoveragePainter::SetBits(Bits& bits, int begin, int end) {
    bool completed = false;
    ForEachWord(begin, end, [&](std::size_t w, std::uint64_t mask) {
        bits[w] |= mask;
        completed = completed || bits[w] == WordMask(static_cast<int>(w), Words);
        return true;
    });
    return completed;
}

void CoveragePainter::MarkIfFull(int row) {
    if (AllSet(Covered[static_cast<std::size_t>(row)], 0, ViewSize)) {
        FullRows[static_cast<std::size_t>(row / 64)] |= std::uint64_t{1} << (row % 64);
    }
}

void CoveragePainter::FillUncovered(int row, std::uint32_t colour) {
    const Bits& covered = Covered[static_cast<std::size_t>(row)];
    std::uint32_t* pixels = Target.Row(row);
    if (std::all_of(covered.begin(), covered.end(), [](std::uint64_t w) { return w == 0; })) {
        std::fill_n(pixels, ViewSize, colour);  // most rows above and below the walls
        return;
    }
    StretchWriter writer(pixels, colour);
    for (int w = 0; w < Words; ++w) {
        writer.Add(w, ~covered[static_cast<std::size_t>(w)] & WordMask(w, Words));
    }
}

void CoveragePainter::Write(int row, int begin, int end, std::uint32_t colour) {
    Bits& covered = Covered[static_cast<std::size_t>(row)];
    std::uint32_t* pixels = Target.Row(row);
    if (end - begin == 1) {
        // A lone pixel, as the sides of every wall give in every row.
        std::uint64_t& word = covered[static_cast<std::size_t>(begin / 64)];
        const std::uint64_t bit = std::uint64_t{1} << (begin % 64);
        if ((word & bit) == 0) {
            word |= bit;
            pixels[begin] = colour;
            if (word == WordMask(begin / 64, Words)) {
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
                wordCompleted || (free != 0 && covered[w] == WordMask(static_cast<int>(w), Words));
            writer.Add(static_cast<int>(w), free);
            return true;
        });
    }
    // A row can only have filled up when one of its words just did.
    if (wordCompleted) {
        MarkIfFull(row);
    }
}

void CoveragePainter::Cover(std::uint32_t colour) {
    for (const PixelRun& run : Runs) {
        if ((FullRows[static_cast<std::size_t>(run.Row / 64)] >> (run.Row % 64) & 1) == 0) {
            Write(run.Row, run.Begin, run.End, colour);
        }
    }
    Runs.clear();
}

void CoveragePainter::CoverWall(const Quad& q) {
    const int left = q[0].x;
    const int right = q[2].x;
    const int top = std::max(std::min(q[0].y, q[3].y), 0);
    const int bottom = std::min(std::max(q[1].y, q[2].y), ViewSize - 1);
    if (top > bottom) {
        return;
    }
    // Every pixel of the wall lies within its bounding box; when nearer walls
    // already cover that, which is most of the time in a dense maze, it is
    // not drawn at all.
    const int boxBegin = std::max(std::min(left, right), 0);
    const int boxEnd = std::min(std::max(left, right), ViewSize - 1) + 1;
    if (boxBegin >= boxEnd) {
        return;
    }
    bool hidden = true;
    for (int row = top; row <= bottom && hidden; ++row) {
        hidden = AllSet(Covered[static_cast<std::size_t>(row)], boxBegin, boxEnd);
    }
    if (hidden) {
        return;
    }

    // The sloping outline segments, bottom P1 -> P2 and top P3 -> P0, as at
    // most one run a row each.
    for (int row = top; row <= bottom; ++row) {
        EdgeRuns[static_cast<std::size_t>(row)] = {};
    }
    const auto gather = [&](Point from, Point to, std::size_t slot) {
        Runs.clear();
        AppendSegmentRuns<std::int64_t>(from, to, Runs);
        for (const PixelRun& run : Runs) {
            EdgeRuns[static_cast<std::size_t>(run.Row)][slot] = {run.Begin, run.End};
        }
    };
    gather(q[1], q[2], 0);
    gather(q[3], q[0], 1);
    Runs.clear();

    // The vertical outline segments: P0 -> P1 covers rows [top, bottom) of the
    // left side, P2 -> P3 rows (top, bottom] of the right, a lone pixel where
    // a side has no height.
    const int leftFirst = q[0].y;
    const int leftLast = q[0].y == q[1].y ? q[0].y : q[1].y - 1;
    const int rightFirst = q[3].y == q[2].y ? q[2].y : q[3].y + 1;
    const int rightLast = q[2].y;

    // The fill: columns strictly between the sides, rows between the top and
    // bottom edges, with the edges' own top-left rule.
    const bool hasArea = left != right && (q[0].y != q[1].y || q[3].y != q[2].y);
    const bool clockwise = right < left;
    const int sign = clockwise ? 1 : -1;
    const int fillLo = std::max(std::min(left, right), 0);
    const int fillHi = std::min(std::max(left, right), ViewSize) - 1;
    EdgeBound<std::int64_t> edges[2] = {MakeEdge<std::int64_t>(q[1], q[2], sign, clockwise, top),
                                        MakeEdge<std::int64_t>(q[3], q[0], sign, clockwise, top)};
    const int fillEnd = std::min(std::max(q[1].y, q[2].y), ViewSize);  // rows [top, fillEnd)

    for (int row = top; row <= bottom; ++row) {
        int lo = fillLo;
        int hi = fillHi;
        bool inside = hasArea && row < fillEnd;
        for (EdgeBound<std::int64_t>& e : edges) {
            switch (e.Type) {
                case EdgeBound<std::int64_t>::Lower:
                    lo = std::max(lo, Clamp<std::int64_t>(-e.Bound.Q, -1, ViewSize));
                    break;
                case EdgeBound<std::int64_t>::Upper:
                    hi = std::min(hi, Clamp<std::int64_t>(e.Bound.Q, -1, ViewSize));
                    break;
                case EdgeBound<std::int64_t>::Rows:
                    inside = inside && e.Value >= e.T;
                    break;
            }
            e.Step();
        }
        const bool hasFill = inside && lo <= hi;

        // Everything this wall puts in the row lies within [begin, end).
        int begin = ViewSize;
        int end = 0;
        const auto extend = [&](int b, int e) {
            if (b < e) {
                begin = std::min(begin, b);
                end = std::max(end, e);
            }
        };
        const bool leftEdge = row >= leftFirst && row <= leftLast && left >= 0 && left < ViewSize;
        const bool rightEdge =
            row >= rightFirst && row <= rightLast && right >= 0 && right < ViewSize;
        if (leftEdge) {
            extend(left, left + 1);
        }
        if (rightEdge) {
            extend(right, right + 1);
        }
        const auto& sloped = EdgeRuns[static_cast<std::size_t>(row)];
        extend(sloped[0][0], sloped[0][1]);
        extend(sloped[1][0], sloped[1][1]);
        if (hasFill) {
            extend(lo, hi + 1);
        }
        Bits& covered = Covered[static_cast<std::size_t>(row)];
        if (begin >= end) {
            continue;
        }
        const Exposure exposure = ExposureOf(covered, begin, end);
        // Most rows of most walls are hidden by nearer ones: one test each.
        if (exposure == Exposure::Hidden) {
            continue;
        }
        if (exposure == Exposure::Open) {
            // Nothing nearer here: paint as the plain painter would, fill
            // then outline, and take the pixels.
            std::uint32_t* pixels = Target.Row(row);
            bool completed = false;
            const auto paint = [&](int b, int e, std::uint32_t colour) {
                std::fill(pixels + b, pixels + e, colour);
                completed = SetBits(covered, b, e) || completed;
            };
            if (hasFill) {
                paint(lo, hi + 1, Colours.Fill);
            }
            if (leftEdge) {
                paint(left, left + 1, Colours.Outline);
            }
            if (rightEdge) {
                paint(right, right + 1, Colours.Outline);
            }
            for (const auto& run : sloped) {
                if (run[0] < run[1]) {
                    paint(run[0], run[1], Colours.Outline);
                }
            }
            if (completed) {
                MarkIfFull(row);
            }
            continue;
        }
        if (leftEdge) {
            Write(row, left, left + 1, Colours.Outline);
        }
        if (rightEdge) {
            Write(row, right, right + 1, Colours.Outline);
        }
        for (const auto& run : sloped) {
            if (run[0] < run[1]) {
                Write(row, run[0], run[1], Colours.Outline);
            }
        }
        if (hasFill) {
            Write(row, lo, hi + 1, Colours.Fill);
        }
    }
}

void CoveragePainter::Finish() {
    if (Finished) {
        return;
    }
    for (auto& row : Covered) {
        row.fill(0);
    }
    FullRows.fill(0);
    for (auto quad = Queue.rbegin(); quad != Queue.rend(); ++quad) {
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
    Finished = true;
}

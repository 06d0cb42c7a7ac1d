#include "support/RasterReference.h"

#include <cstdlib>

namespace {

__extension__ typedef __int128 RefWide;

Bitmap EmptyBitmap() {
    return Bitmap(ViewSize * ViewSize, false);
}

void Mark(Bitmap& b, RefWide x, RefWide y) {
    if (x >= 0 && x < ViewSize && y >= 0 && y < ViewSize) {
        b[static_cast<std::size_t>(y * ViewSize + x)] = true;
    }
}

}  // namespace

Bitmap FromRuns(const std::vector<PixelRun>& runs) {
    Bitmap b = EmptyBitmap();
    for (const PixelRun& r : runs) {
        for (int x = r.Begin; x < r.End; ++x) {
            Mark(b, x, r.Row);
        }
    }
    return b;
}

namespace {

RefWide RefCross(RefWide ax, RefWide ay, RefWide bx, RefWide by, RefWide cx, RefWide cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

bool RefTopLeft(Point a, Point b, bool clockwise) {
    return clockwise ? ((a.y == b.y && a.x < b.x) || b.y < a.y)
                     : ((a.y == b.y && b.x < a.x) || a.y < b.y);
}

// SDL_SW_FillTriangle's test for one pixel, in doubled coordinates.
bool RefInTriangle(Point d0, Point d1, Point d2, int px, int py) {
    const auto X = [](std::int32_t v) { return RefWide{2} * v; };
    const RefWide area = RefCross(X(d0.x), X(d0.y), X(d1.x), X(d1.y), X(d2.x), X(d2.y));
    if (area == 0) {
        return false;
    }
    const bool clockwise = area > 0;
    const RefWide cx = 2 * px + 1;
    const RefWide cy = 2 * py + 1;
    RefWide w0 = RefCross(X(d1.x), X(d1.y), X(d2.x), X(d2.y), cx, cy);
    RefWide w1 = RefCross(X(d2.x), X(d2.y), X(d0.x), X(d0.y), cx, cy);
    RefWide w2 = RefCross(X(d0.x), X(d0.y), X(d1.x), X(d1.y), cx, cy);
    if (!clockwise) {
        w0 = -w0;
        w1 = -w1;
        w2 = -w2;
    }
    return w0 + (RefTopLeft(d1, d2, clockwise) ? 0 : -1) >= 0 &&
           w1 + (RefTopLeft(d2, d0, clockwise) ? 0 : -1) >= 0 &&
           w2 + (RefTopLeft(d0, d1, clockwise) ? 0 : -1) >= 0;
}

}  // namespace

Bitmap ReferenceFill(const Quad& q) {
    Bitmap b = EmptyBitmap();
    for (int y = 0; y < ViewSize; ++y) {
        for (int x = 0; x < ViewSize; ++x) {
            if (RefInTriangle(q[0], q[1], q[2], x, y) || RefInTriangle(q[0], q[2], q[3], x, y)) {
                Mark(b, x, y);
            }
        }
    }
    return b;
}

namespace {

// Longest segment walked step by step; longer ones are checked only where
// they cross the view, one pixel per major step, from the rounding rule.
constexpr RefWide LongestWalk = RefWide{1} << 24;

void ReferenceSegment(Point from, Point to, Bitmap& b) {
    const RefWide x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
    const RefWide dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const RefWide dy = y2 > y1 ? y2 - y1 : y1 - y2;
    const int sx = x2 >= x1 ? 1 : -1;
    const int sy = y2 >= y1 ? 1 : -1;
    if (dx == 0 && dy == 0) {
        Mark(b, x1, y1);
        return;
    }
    const bool xMajor = dx >= dy;
    const RefWide major = xMajor ? dx : dy;
    const RefWide minor = xMajor ? dy : dx;
    if (major <= LongestWalk) {
        // Bresenham as SDL's BLINE: error >= 0 steps the minor axis too.
        RefWide d = 2 * minor - major;
        RefWide x = x1;
        RefWide y = y1;
        for (RefWide i = 0; i < major; ++i) {
            Mark(b, x, y);
            if (d < 0) {
                d += 2 * minor;
            } else {
                d += 2 * (minor - major);
                (xMajor ? y : x) += xMajor ? sy : sx;
            }
            (xMajor ? x : y) += xMajor ? sx : sy;
        }
        return;
    }
    // Only major coordinates inside the view can give a pixel in it.
    for (int v = 0; v < ViewSize; ++v) {
        const RefWide i = ((xMajor ? RefWide{v} - x1 : RefWide{v} - y1)) * (xMajor ? sx : sy);
        if (i < 0 || i >= major) {
            continue;
        }
        RefWide offset = (2 * i * minor + major) / (2 * major);  // non-negative: floor
        if (xMajor) {
            Mark(b, v, y1 + sy * offset);
        } else {
            Mark(b, x1 + sx * offset, v);
        }
    }
}

}  // namespace

Bitmap ReferenceOutline(const Quad& q) {
    Bitmap b = EmptyBitmap();
    for (std::size_t k = 0; k < 4; ++k) {
        ReferenceSegment(q[k], q[(k + 1) % 4], b);
    }
    return b;
}

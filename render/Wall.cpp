#include "render/Wall.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

// Stores a value in a 32-bit float; false, leaving out unchanged, where the
// value is not finite or too large for a float.
bool StoreSingle(double value, float& out) {
    if (!(std::fabs(value) <= FLT_MAX)) {
        return false;
    }
    out = static_cast<float>(value);
    return true;
}

// Converts to a whole pixel, rounding halves to the even neighbour (100.5 is
// 100, 101.5 is 102); false, leaving out unchanged, where the result would not
// fit a 32-bit integer.
bool StorePixel(double value, std::int32_t& out) {
    if (!std::isfinite(value)) {
        return false;
    }
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    if (whole < static_cast<double>(INT32_MIN) || whole > static_cast<double>(INT32_MAX)) {
        return false;
    }
    out = static_cast<std::int32_t>(whole);
    return true;
}

// ScreenHalf * (1 + x / y): where a point at offset x and depth y lands.
bool StoreScreenX(double x, double y, float& out) {
    return y != 0 && StoreSingle(ScreenHalf * (1 + x / y), out);
}

// ScreenHalf * (1 / y): half the wall's screen height at depth y.
bool StoreHalfHeight(double y, float& out) {
    return y != 0 && StoreSingle(ScreenHalf * (1 / y), out);
}

// A corner's y: the partial sum is rounded to a float before the eye-height
// offset is added; the offset and the final sum are not rounded before the
// conversion to a pixel.
bool StoreCornerY(double partial, double eyeHeight, float h, std::int32_t& out) {
    float rounded = 0;
    return StoreSingle(partial, rounded) &&
           StorePixel(static_cast<double>(rounded) + eyeHeight * h, out);
}

}  // namespace

Quad ProjectWall(const Module1& state, int p) {
    const WallRecord& w = state.Walls[p];
    const double eye = state.View.EyeHeight;

    // Results of skipped computations stay as they were: zero.
    float X1 = 0;
    float C = 0;
    float H1 = 0;
    float H2 = 0;
    float X2 = 0;
    Quad P{};

    StoreScreenX(w.x1, w.y1, X1);
    StoreSingle(ViewSize / 2.0, C);
    StoreHalfHeight(w.y1, H1);
    StoreHalfHeight(w.y2, H2);
    StoreScreenX(w.x2, w.y2, X2);

    // The corners in the program's own order; each one skipped stays zero.
    StorePixel(X1, P[0].x);
    StoreCornerY(static_cast<double>(C) - H1, eye, H1, P[0].y);
    StorePixel(X2, P[2].x);
    StoreCornerY(static_cast<double>(H2) + C, eye, H2, P[2].y);
    StorePixel(X2, P[3].x);
    StoreCornerY(static_cast<double>(C) - H2, eye, H2, P[3].y);
    StorePixel(X1, P[1].x);
    StoreCornerY(static_cast<double>(H1) + C, eye, H1, P[1].y);
    return P;
}

void Wall(const Module1& state, PlatformServices& view, int p) {
    view.Polygon(ProjectWall(state, p));
}

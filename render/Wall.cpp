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

// Rounds to the nearest whole number, halves to the even neighbour (100.5 is
// 100, 101.5 is 102), for |value| < 2^31. Adding and taking away 1.5 * 2^52
// leaves no fraction bits, so the FPU's own round-to-nearest-even does the
// rounding; this runs eight times for every wall drawn, so no libm call.
constexpr double RoundingShift = 6755399441055744.0;

std::int32_t RoundToPixel(double value) {
    return static_cast<std::int32_t>((value + RoundingShift) - RoundingShift);
}

// Converts to a whole pixel; false, leaving out unchanged, where the result
// would not fit a 32-bit integer.
bool StorePixel(double value, std::int32_t& out) {
    if (!(std::fabs(value) < 4294967296.0)) {  // refuses NaN and infinities too
        return false;
    }
    const double whole = (value + RoundingShift) - RoundingShift;
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

// The common case, where no computation can fail, with the same arithmetic
// as the careful path below but one range check for all of it: the sum of
// magnitudes is under a bound only when every term is (NaN and infinities
// fail it too). Returns false where some step may fail.
bool ProjectInRange(const WallRecord& w, double eye, Quad& P) {
    if (w.y1 == 0 || w.y2 == 0) {
        return false;
    }
    const double x1 = w.x1;
    const double y1 = w.y1;
    const double x2 = w.x2;
    const double y2 = w.y2;
    const double wideX1 = ScreenHalf * (1 + x1 / y1);
    const double wideH1 = ScreenHalf * (1 / y1);
    const double wideH2 = ScreenHalf * (1 / y2);
    const double wideX2 = ScreenHalf * (1 + x2 / y2);
    // Far below FLT_MAX, so the stores and the partial sums all fit a float.
    if (!(std::fabs(wideX1) + std::fabs(wideH1) + std::fabs(wideH2) + std::fabs(wideX2) < 1e30)) {
        return false;
    }
    const auto X1 = static_cast<float>(wideX1);
    const auto H1 = static_cast<float>(wideH1);
    const auto H2 = static_cast<float>(wideH2);
    const auto X2 = static_cast<float>(wideX2);
    const auto C = static_cast<float>(ViewSize / 2.0);
    const double left = X1;
    const double top1 = static_cast<float>(static_cast<double>(C) - H1) + eye * H1;
    const double bottom1 = static_cast<float>(static_cast<double>(H1) + C) + eye * H1;
    const double right = X2;
    const double bottom2 = static_cast<float>(static_cast<double>(H2) + C) + eye * H2;
    const double top2 = static_cast<float>(static_cast<double>(C) - H2) + eye * H2;
    if (!(std::fabs(left) + std::fabs(top1) + std::fabs(bottom1) + std::fabs(right) +
              std::fabs(bottom2) + std::fabs(top2) <
          static_cast<double>(INT32_MAX))) {
        return false;
    }
    P = {{{RoundToPixel(left), RoundToPixel(top1)},
          {RoundToPixel(left), RoundToPixel(bottom1)},
          {RoundToPixel(right), RoundToPixel(bottom2)},
          {RoundToPixel(right), RoundToPixel(top2)}}};
    return true;
}

}  // namespace

Quad ProjectWall(const Module1& state, int p) {
    const WallRecord& w = state.Walls[p];
    const double eye = state.View.EyeHeight;
    if (Quad fast{}; ProjectInRange(w, eye, fast)) {
        return fast;
    }

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

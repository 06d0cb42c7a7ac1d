// The rasterizer takes any 32-bit corners: at the ends of the int range its
// runs stay inside the view and nothing overflows.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "render/Raster.h"

namespace {

const std::int32_t Extremes[] = {INT32_MIN, INT32_MIN + 1, -1,       0, 199, 399,
                                 400,       INT32_MAX - 1, INT32_MAX};

using Pixels = std::set<std::pair<int, int>>;

bool InView(const PixelRun& run) {
    return run.Row >= 0 && run.Row < ViewSize && run.Begin >= 0 && run.Begin < run.End &&
           run.End <= ViewSize;
}

Pixels Covered(const std::vector<PixelRun>& runs) {
    Pixels pixels;
    for (const PixelRun& run : runs) {
        EXPECT_TRUE(InView(run)) << "run " << run.Row << ": " << run.Begin << " to " << run.End;
        for (int x = run.Begin; x < run.End; ++x) {
            pixels.insert({x, run.Row});
        }
    }
    return pixels;
}

// A quad shrunk to one point fills nothing, and its outline is that one
// pixel where it lies in the view.
TEST(RasterExtremes, QuadShrunkToAPoint) {
    for (const std::int32_t x : Extremes) {
        for (const std::int32_t y : Extremes) {
            SCOPED_TRACE("point (" + std::to_string(x) + ", " + std::to_string(y) + ")");
            const Quad quad = {Point{x, y}, Point{x, y}, Point{x, y}, Point{x, y}};
            std::vector<PixelRun> fill;
            AppendFillRuns(quad, fill);
            EXPECT_TRUE(fill.empty());
            std::vector<PixelRun> outline;
            AppendOutlineRuns(quad, outline);
            const bool inView = x >= 0 && x < ViewSize && y >= 0 && y < ViewSize;
            EXPECT_EQ(Covered(outline), (inView ? Pixels{{x, y}} : Pixels{}));
        }
    }
}

// Quads between two points anywhere in the int range: whatever they draw
// lies in the view.
TEST(RasterExtremes, QuadsBetweenExtremePoints) {
    for (const std::int32_t ax : Extremes) {
        for (const std::int32_t ay : Extremes) {
            for (const std::int32_t bx : Extremes) {
                for (const std::int32_t by : Extremes) {
                    const Quad quads[] = {
                        {Point{ax, ay}, Point{ax, ay}, Point{bx, by}, Point{bx, by}},
                        {Point{ax, ay}, Point{bx, ay}, Point{bx, by}, Point{ax, by}},
                        {Point{ax, ay}, Point{bx, by}, Point{ax, by}, Point{bx, ay}},
                    };
                    for (const Quad& quad : quads) {
                        std::vector<PixelRun> runs;
                        AppendFillRuns(quad, runs);
                        AppendOutlineRuns(quad, runs);
                        for (const PixelRun& run : runs) {
                            ASSERT_TRUE(InView(run))
                                << "run " << run.Row << ": " << run.Begin << " to " << run.End;
                        }
                    }
                }
            }
        }
    }
}

}  // namespace

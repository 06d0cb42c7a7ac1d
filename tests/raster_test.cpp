#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "render/CoveragePainter.h"
#include "render/Frame.h"
#include "render/Raster.h"
#include "support/PolygonPainter.h"
#include "support/RasterReference.h"

namespace {

std::string Show(const Quad& q) {
    std::ostringstream s;
    for (const Point& p : q) {
        s << "(" << p.x << ", " << p.y << ") ";
    }
    return s.str();
}

std::int32_t Draw(std::mt19937_64& random, std::int64_t lo, std::int64_t hi) {
    return static_cast<std::int32_t>(
        lo + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(hi - lo + 1)));
}

// A coordinate either near the view or anywhere in [-range, range + 400], so
// that edges between far corners still cross the view often.
std::int32_t Coordinate(std::mt19937_64& random, std::int64_t range) {
    return random() % 2 == 0 ? Draw(random, -50, ViewSize + 50)
                             : Draw(random, -range, range + ViewSize);
}

// Quads the way walls project: two vertical sides, tops above bottoms.
Quad Trapezoid(std::mt19937_64& random, std::int64_t xRange, std::int64_t yRange) {
    const std::int32_t x1 = Coordinate(random, xRange);
    const std::int32_t x2 = Coordinate(random, xRange);
    std::int32_t top1 = Coordinate(random, yRange);
    std::int32_t bottom1 = Coordinate(random, yRange);
    std::int32_t top2 = Coordinate(random, yRange);
    std::int32_t bottom2 = Coordinate(random, yRange);
    if (top1 > bottom1) {
        std::swap(top1, bottom1);
    }
    if (top2 > bottom2) {
        std::swap(top2, bottom2);
    }
    return {{{x1, top1}, {x1, bottom1}, {x2, bottom2}, {x2, top2}}};
}

Quad AnyQuad(std::mt19937_64& random, std::int64_t xRange, std::int64_t yRange) {
    Quad q;
    for (Point& p : q) {
        p = {Coordinate(random, xRange), Coordinate(random, yRange)};
    }
    return q;
}

struct QuadFamily {
    const char* Name;
    bool Trapezoids;
    std::int64_t XRange;
    std::int64_t YRange;
    int Count;
};

class RasterMatchesReference : public testing::TestWithParam<QuadFamily> {};

TEST_P(RasterMatchesReference, FillAndOutlinePixels) {
    const QuadFamily& family = GetParam();
    std::mt19937_64 random(12345);
    int fills = 0;
    int outlines = 0;
    for (int k = 0; k < family.Count; ++k) {
        const Quad q = family.Trapezoids ? Trapezoid(random, family.XRange, family.YRange)
                                         : AnyQuad(random, family.XRange, family.YRange);
        std::vector<PixelRun> fill;
        std::vector<PixelRun> outline;
        AppendFillRuns(q, fill);
        AppendOutlineRuns(q, outline);
        ASSERT_EQ(FirstDifference(FromRuns(fill), ReferenceFill(q)), "") << "fill of " << Show(q);
        ASSERT_EQ(FirstDifference(FromRuns(outline), ReferenceOutline(q)), "")
            << "outline of " << Show(q);
        fills += fill.empty() ? 0 : 1;
        outlines += outline.empty() ? 0 : 1;
    }
    // The comparison means little unless most cases reach the view.
    EXPECT_GT(fills, family.Count / 2);
    EXPECT_GT(outlines, family.Count / 2);
}

constexpr std::int64_t Int32Span = 2'147'483'000;

INSTANTIATE_TEST_SUITE_P(
    Families, RasterMatchesReference,
    testing::Values(QuadFamily{"InAndNearTheView", false, 100, 100, 150},
                    QuadFamily{"WallsInAndNearTheView", true, 200, 200, 150},
                    QuadFamily{"WallsFarOutside", true, 40'000, 20'000, 60},
                    QuadFamily{"FarOutside", false, 40'000, 40'000, 60},
                    // Beyond 2^20 the edge sums need more than 64 bits.
                    QuadFamily{"TallBeyond64BitSums", false, 3'000'000, 3'000'000, 25},
                    QuadFamily{"WallsAcrossTheInt32Range", true, Int32Span, 30'000, 40},
                    QuadFamily{"AcrossTheInt32Range", false, Int32Span, Int32Span - 400, 40}),
    [](const testing::TestParamInfo<QuadFamily>& info) { return info.param.Name; });

TEST(Raster, SquareFillsItsInsideAndOutlinesBothEnds) {
    const Quad square{{{100, 100}, {100, 300}, {300, 300}, {300, 100}}};
    std::vector<PixelRun> fill;
    AppendFillRuns(square, fill);
    const Bitmap b = FromRuns(fill);
    for (int y = 0; y < ViewSize; ++y) {
        for (int x = 0; x < ViewSize; ++x) {
            const bool inside = x >= 100 && x < 300 && y >= 100 && y < 300;
            ASSERT_EQ(b[static_cast<std::size_t>(y * ViewSize + x)], inside) << x << ", " << y;
        }
    }
    std::vector<PixelRun> outline;
    AppendOutlineRuns(square, outline);
    const Bitmap o = FromRuns(outline);
    for (int v = 100; v <= 300; ++v) {
        for (const auto& [x, y] :
             {std::pair{100, v}, std::pair{300, v}, std::pair{v, 100}, std::pair{v, 300}}) {
            EXPECT_TRUE(o[static_cast<std::size_t>(y * ViewSize + x)]) << x << ", " << y;
        }
    }
    EXPECT_EQ(std::count(o.begin(), o.end(), true), 800);
}

TEST(PolygonPainter, LaterPolygonsPaintOverEarlierOnesOutlineOverFill) {
    std::vector<std::uint32_t> pixels(ViewSize * ViewSize);
    PolygonPainter painter({pixels.data(), ViewSize}, {1, 2, 3});
    painter.Clear();
    painter.Paint({{{100, 100}, {100, 300}, {300, 300}, {300, 100}}});
    painter.Paint({{{200, 150}, {200, 250}, {350, 250}, {350, 150}}});
    const auto at = [&](int x, int y) {
        return pixels[static_cast<std::size_t>(y * ViewSize + x)];
    };
    EXPECT_EQ(at(50, 50), 1u);
    EXPECT_EQ(at(150, 200), 2u);  // first square's fill
    EXPECT_EQ(at(100, 200), 3u);  // its outline
    EXPECT_EQ(at(250, 200), 2u);  // second's fill over the first
    EXPECT_EQ(at(200, 200), 3u);  // second's outline over the first's fill
    EXPECT_EQ(at(300, 200), 2u);  // the first's outline is under the second's fill
    EXPECT_EQ(at(350, 200), 3u);
}

// Feeds every polygon of a frame to both painters.
struct TwoPainters final : PlatformServices {
    std::vector<std::uint32_t> Plain = std::vector<std::uint32_t>(ViewSize * ViewSize);
    std::vector<std::uint32_t> Covering = std::vector<std::uint32_t>(ViewSize * ViewSize);
    PolygonPainter PlainPainter{{Plain.data(), ViewSize}, {1, 2, 3}};
    CoveragePainter CoveringPainter{{Covering.data(), ViewSize}, {1, 2, 3}};

    void ClearView() override {
        PlainPainter.Clear();
        CoveringPainter.Clear();
    }
    void Polygon(const Quad& q) override {
        PlainPainter.Paint(q);
        CoveringPainter.Paint(q);
    }
    void SetTitle(const std::string&) override {}
    double Seconds() override { return 0; }
    void ShowMessage(std::string_view) override {}
    void EndProgram() override {}
};

// A frame of the same polygons as the one in the target, in the same order,
// but for ones hidden whole there, is not painted again; any other is, and
// the picture is right either way.
TEST(CoveragePainter, PaintsAFrameOnlyWhenItsPolygonsChange) {
    const Quad a{{{100, 100}, {100, 300}, {300, 300}, {300, 100}}};
    const Quad b{{{50, 150}, {50, 250}, {250, 250}, {250, 150}}};
    const Quad a1{{{100, 100}, {100, 300}, {300, 301}, {300, 100}}};
    const Quad h{{{150, 150}, {150, 250}, {250, 250}, {250, 150}}};  // inside a
    struct Frame {
        std::vector<Quad> Polygons;
        bool Painted;
    };
    const Frame frames[] = {{{}, false},
                            {{a}, true},
                            {{a}, false},
                            {{a, b}, true},
                            {{a, b}, false},
                            {{b, a}, true},
                            {{b, a1}, true},
                            {{}, true},
                            {{}, false},
                            // h behind a is hidden whole: whether it is there
                            // or not (a blinking wall, say) the picture is one.
                            {{h, a}, true},
                            {{a}, false},
                            {{h, a}, false},
                            {{a, h}, true}};
    TwoPainters painters;
    painters.PlainPainter.Clear();
    painters.CoveringPainter.Clear();
    painters.CoveringPainter.Finish();  // the background, as a new view shows it
    int k = 0;
    for (const Frame& frame : frames) {
        painters.ClearView();
        for (const Quad& q : frame.Polygons) {
            painters.Polygon(q);
        }
        EXPECT_EQ(painters.CoveringPainter.Finish(), frame.Painted) << "frame " << k;
        EXPECT_FALSE(painters.CoveringPainter.Finish()) << "frame " << k << ", again";
        ASSERT_EQ(FirstDifference(painters.Covering, painters.Plain), "") << "frame " << k;
        ++k;
    }
}

// Whole frames of random walls around the eye, close ones and far ones, seen
// from eye heights up to above the wall tops: painting each pixel once, nearest
// first, gives the picture of painting far to near.
TEST(CoveragePainter, GivesThePlainPaintersPictureFrameAfterFrame) {
    std::mt19937_64 random(4242);
    const auto coordinate = [&](double range) {
        return static_cast<float>((static_cast<double>(random() % 20001) / 10000.0 - 1) * range);
    };
    TwoPainters painters;
    auto state = std::make_unique<Module1>();
    for (int frame = 0; frame < 300; ++frame) {
        const double range = frame % 3 == 0 ? 3 : frame % 3 == 1 ? 12 : 40;
        state->WallCount = 1 + static_cast<int>(random() % (frame % 10 == 0 ? 1000 : 60));
        for (int i = 1; i <= state->WallCount; ++i) {
            state->Walls[i] = {coordinate(range), coordinate(range), coordinate(range),
                               coordinate(range), 0};
        }
        state->View.EyeHeight = -0.5 + 0.25 * static_cast<double>(random() % 43);
        ComposeFrame(*state, painters);
        painters.CoveringPainter.Finish();
        ASSERT_EQ(FirstDifference(painters.Covering, painters.Plain), "") << "frame " << frame;
    }
}

TEST(CoveragePainter, GivesThePlainPaintersPictureForAnyQuads) {
    std::mt19937_64 random(77);
    TwoPainters painters;
    for (int frame = 0; frame < 400; ++frame) {
        painters.ClearView();
        const int count = 1 + static_cast<int>(random() % 40);
        for (int k = 0; k < count; ++k) {
            switch (k % 3) {
                case 0:
                    painters.Polygon(AnyQuad(random, 3000, 3000));
                    break;
                case 1:
                    painters.Polygon(Trapezoid(random, Int32Span, 30000));
                    break;
                default: {
                    // Small walls with flat tops, sides of no height, no width.
                    Quad q = Trapezoid(random, 60, 60);
                    const auto roll = random() % 6;
                    if (roll == 0) {
                        q[1].y = q[0].y;
                    } else if (roll == 1) {
                        q[2].y = q[3].y;
                    } else if (roll == 2) {
                        q[2].x = q[3].x = q[0].x;
                    } else if (roll == 3) {
                        q[3].y = q[0].y;
                    }
                    painters.Polygon(q);
                }
            }
        }
        painters.CoveringPainter.Finish();
        ASSERT_EQ(FirstDifference(painters.Covering, painters.Plain), "") << "frame " << frame;
    }
}

// Wall-shaped quads reaching the ends of the 32-bit range take the same
// nearest-first path as any wall: no overflow, the plain painter's pixels.
TEST(CoveragePainter, WallsAtTheEndsOfTheIntRange) {
    const std::int32_t far[] = {INT32_MIN, INT32_MIN + 1, -1,       0, 399,
                                400,       INT32_MAX - 1, INT32_MAX};
    TwoPainters painters;
    for (const std::int32_t left : far) {
        for (const std::int32_t right : far) {
            painters.ClearView();
            painters.Polygon({{{left, 100}, {left, 300}, {right, 250}, {right, 150}}});
            painters.CoveringPainter.Finish();
            ASSERT_EQ(FirstDifference(painters.Covering, painters.Plain), "")
                << left << " to " << right;
        }
    }
}

}  // namespace

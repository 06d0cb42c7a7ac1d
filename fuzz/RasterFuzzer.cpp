// The rasterizer on any quad with any 32-bit corners. Its runs stay inside
// the view, and since the pixels in the view are exactly those of the
// unclipped polygon, moving a quad by (dx, dy) moves its pixels by the same:
// where both the pixel and the moved pixel lie in the view, they agree, for
// the fill and the outline alike, however far away the corners are.
//
// Input, little-endian: eight int32 (x, y of P0 to P3), then two int16, the
// move (dx, dy), each taken modulo 400; then a byte whose bits make corners
// repeat (bit k: corner k + 1 is corner k; bit 3 gives the quad the shape of
// a wall: vertical sides, tops over bottoms), and a byte whose bits snap the
// eight coordinates to edge values (the coordinate's low four bits pick one),
// so degenerate quads and the ends of the range come up often. Missing bytes
// read as zero.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "render/CoveragePainter.h"
#include "render/Raster.h"
#include "support/PolygonPainter.h"

namespace {

using Mask = std::array<std::uint8_t, ViewSize * ViewSize>;

void Cover(const std::vector<PixelRun>& runs, Mask& mask) {
    mask.fill(0);
    for (const PixelRun& run : runs) {
        FUZZ_REQUIRE(run.Row >= 0 && run.Row < ViewSize);
        FUZZ_REQUIRE(run.Begin >= 0 && run.Begin < run.End && run.End <= ViewSize);
        std::memset(mask.data() + run.Row * ViewSize + run.Begin, 1,
                    static_cast<std::size_t>(run.End - run.Begin));
    }
}

// The quad moved by (dx, dy); false where a corner would leave the 32-bit range.
bool Moved(const Quad& quad, int dx, int dy, Quad& moved) {
    for (std::size_t k = 0; k < 4; ++k) {
        const std::int64_t x = std::int64_t{quad[k].x} + dx;
        const std::int64_t y = std::int64_t{quad[k].y} + dy;
        if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) {
            return false;
        }
        moved[k] = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    }
    return true;
}

// Pixel (x, y) of `a` equals pixel (x + dx, y + dy) of `b` wherever both lie
// in the view.
bool AgreeMoved(const Mask& a, const Mask& b, int dx, int dy) {
    const int begin = dx < 0 ? -dx : 0;
    const int end = dx < 0 ? ViewSize : ViewSize - dx;
    for (int y = 0; y < ViewSize; ++y) {
        const int my = y + dy;
        if (my >= 0 && my < ViewSize &&
            std::memcmp(a.data() + y * ViewSize + begin, b.data() + my * ViewSize + begin + dx,
                        static_cast<std::size_t>(end - begin)) != 0) {
            return false;
        }
    }
    return true;
}

// Where rounding, clipping and the choice of arithmetic change.
constexpr std::int32_t EdgeValues[16] = {
    INT32_MIN, INT32_MIN + 1, -(1 << 20) - 1, -(1 << 20),    -401,     -1, 0, 1, 199, 200, 399,
    400,       1 << 20,       (1 << 20) + 1,  INT32_MAX - 1, INT32_MAX};

Mask First;
Mask Second;
std::vector<PixelRun> Runs;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t bytes[38] = {};
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    std::int32_t corners[8];
    std::memcpy(corners, bytes, sizeof corners);
    std::int16_t move[2];
    std::memcpy(move, bytes + sizeof corners, sizeof move);
    const std::uint8_t repeat = bytes[36];
    const std::uint8_t snap = bytes[37];
    for (int k = 0; k < 8; ++k) {
        if ((snap >> k & 1) != 0) {
            corners[k] = EdgeValues[static_cast<std::uint32_t>(corners[k]) & 15];
        }
    }
    for (int k = 0; k < 3; ++k) {
        if ((repeat >> k & 1) != 0) {
            corners[2 * k + 2] = corners[2 * k];
            corners[2 * k + 3] = corners[2 * k + 1];
        }
    }
    if ((repeat >> 3 & 1) != 0) {
        corners[2] = corners[0];
        corners[6] = corners[4];
        if (corners[1] > corners[3]) {
            std::swap(corners[1], corners[3]);
        }
        if (corners[7] > corners[5]) {
            std::swap(corners[5], corners[7]);
        }
    }
    const Quad quad = {Point{corners[0], corners[1]}, Point{corners[2], corners[3]},
                       Point{corners[4], corners[5]}, Point{corners[6], corners[7]}};
    const int dx = move[0] % ViewSize;
    const int dy = move[1] % ViewSize;

    Quad moved;
    const bool canMove = Moved(quad, dx, dy, moved);

    // The quad over its moved copy, painted far to near and nearest first:
    // the same picture.
    static std::vector<std::uint32_t> plain(ViewSize * ViewSize);
    static std::vector<std::uint32_t> covering(ViewSize * ViewSize);
    PolygonPainter painter(PixelTarget{plain.data(), ViewSize}, ViewColours{1, 2, 3});
    CoveragePainter coverage(PixelTarget{covering.data(), ViewSize}, ViewColours{1, 2, 3});
    painter.Clear();
    coverage.Clear();
    if (canMove) {
        painter.Paint(moved);
        coverage.Paint(moved);
    }
    painter.Paint(quad);
    coverage.Paint(quad);
    coverage.Finish();
    FUZZ_REQUIRE(plain == covering);

    for (const bool outline : {false, true}) {
        Runs.clear();
        (outline ? AppendOutlineRuns : AppendFillRuns)(quad, Runs);
        Cover(Runs, First);
        if (canMove) {
            Runs.clear();
            (outline ? AppendOutlineRuns : AppendFillRuns)(moved, Runs);
            Cover(Runs, Second);
            FUZZ_REQUIRE(AgreeMoved(First, Second, dx, dy));
        }
    }
    return 0;
}

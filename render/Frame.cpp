#include "render/Frame.h"

#include <algorithm>
#include <cmath>

#include "render/Wall.h"

namespace {

// Mean of the two endpoints' horizontal distances from the eye, in 64 bits.
double MeanDistance(const WallRecord& w) {
    const double x1 = w.x1;
    const double y1 = w.y1;
    const double x2 = w.x2;
    const double y2 = w.y2;
    return (std::sqrt(x2 * x2 + y2 * y2) + std::sqrt(x1 * x1 + y1 * y1)) / 2;
}

// Coordinates are always finite floats, so distances are never NaN and this
// is a strict weak order: farther first, then the lower number.
struct DrawsBefore {
    const WallTable& Walls;
    bool operator()(std::int16_t a, std::int16_t b) const {
        const double da = Walls[a].Distance;
        const double db = Walls[b].Distance;
        return da > db || (da == db && a < b);
    }
};

// Turning leaves the order as it was and a step moves few walls far in it (a
// quarter step forward in a dense maze of 1000 walls swaps about 7000 pairs),
// so an insertion sort from the last order beats sorting afresh. Gives up
// (false) once it has moved more than budget elements, leaving a permutation.
bool InsertionSort(std::vector<std::int16_t>& order, DrawsBefore before, std::size_t budget) {
    std::size_t moved = 0;
    for (std::size_t k = 1; k < order.size(); ++k) {
        const std::int16_t wall = order[k];
        std::size_t at = k;
        while (at > 0 && before(wall, order[at - 1])) {
            order[at] = order[at - 1];
            --at;
            if (++moved > budget) {
                order[at] = wall;
                return false;
            }
        }
        order[at] = wall;
    }
    return true;
}

std::int32_t WrappingIncrement(std::int32_t count) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(count) + 1u);
}

// Frames between two counter readings, right across the wrap at 2^31.
std::int32_t WrappingDifference(std::int32_t later, std::int32_t earlier) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(later) -
                                     static_cast<std::uint32_t>(earlier));
}

void UpdateFrameRate(FrameCounters& frame, PlatformServices& platform) {
    // Elapsed is a 32-bit float: the rate divides by the rounded value, and that
    // decides on which side of a half a rate falls.
    const double sinceStart = platform.Seconds() - frame.RateStart;
    const float elapsed = std::fabs(sinceStart) < 1e30 ? static_cast<float>(sinceStart) : 0.0f;
    if (!(elapsed >= 1.0f)) {
        return;
    }
    const std::int32_t frames = WrappingDifference(frame.FrameCount, frame.RateFrames);
    const double rate = std::floor(frames / static_cast<double>(elapsed) + 0.5);
    platform.SetTitle(RateTitle(static_cast<std::int64_t>(rate)));
    frame.RateStart = platform.Seconds();
    frame.RateFrames = frame.FrameCount;
}

}  // namespace

std::string RateTitle(std::int64_t framesPerSecond) {
    std::string title = framesPerSecond < 0 ? "" : " ";
    title += std::to_string(framesPerSecond);
    title += " fps";
    return title;
}

const std::vector<std::int16_t>& FarToNearOrder(Module1& state) {
    std::vector<std::int16_t>& order = state.Frame.DrawOrder;
    if (order.size() != static_cast<std::size_t>(state.WallCount)) {
        order.resize(static_cast<std::size_t>(state.WallCount));
        for (std::size_t k = 0; k < order.size(); ++k) {
            order[k] = static_cast<std::int16_t>(k + 1);
        }
    }
    const DrawsBefore before{state.Walls};
    if (!InsertionSort(order, before, 16 * order.size() + 64)) {
        std::sort(order.begin(), order.end(), before);
    }
    return order;
}

void ComposeFrame(Module1& state, PlatformServices& platform) {
    for (int i = 1; i <= state.WallCount; ++i) {
        state.Walls[i].Distance = MeanDistance(state.Walls[i]);
    }
    platform.ClearView();
    state.Frame.FrameCount = WrappingIncrement(state.Frame.FrameCount);
    const bool oddFrame = (state.Frame.FrameCount & 1) != 0;

    for (const std::int16_t m : FarToNearOrder(state)) {
        WallRecord& wall = state.Walls[m];
        if (wall.Distance == 0) {
            break;  // only walls right at the eye remain; they are never drawn
        }
        wall.Distance = 0;
        if (oddFrame && m == BlinkWall) {
            continue;
        }
        if (wall.y2 > DepthLimit && wall.y1 > DepthLimit) {
            Wall(state, platform, m);
        }
    }
    UpdateFrameRate(state.Frame, platform);
}

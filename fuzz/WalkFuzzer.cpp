// A whole walk: the input is a level, then the line "#keys", then a sequence
// of keys, each run through the real step routine and its frame; polygons
// are painted into a 400 x 400 view, so the rasterizer sees real projected
// quads: those of the first frames, up to a budget that keeps an input quick,
// and all of the final view after the last key. The walk never breaks:
// walls stay finite, the eye stays within its limits, every step but Esc
// draws exactly one frame.
//
// Keys, one byte each:
//   0-9    the keypad digit (1 2 4 6 7 8 steer; 0 3 5 9 have no command)
//   .      one tick: the last key again
//   *      twenty-five ticks
//   e      Esc: the program ends, nothing after it runs
//   W      puts the frame counter just before its wrap at 2^31
//   k a b  the raw key code a + 256 b (any 16-bit code)
//   other  the byte itself as a key code (letters and the like stop the walk)
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "motion/Step.h"
#include "support/LevelFiles.h"
#include "support/RecordingPlatform.h"
#include "world/LoadLevel.h"

namespace {

constexpr std::string_view KeysMark = "\n#keys\n";
// Steps and painted polygons per input, so that one input stays quick.
constexpr int MaxSteps = 300;
constexpr std::int64_t PaintBudget = 300;

Module1 State;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t mark = input.find(KeysMark);
    const std::string_view level = input.substr(0, mark);
    const std::string_view keys =
        mark == std::string_view::npos ? std::string_view() : input.substr(mark + KeysMark.size());

    State = Module1{};
    if (ReadLevel(level, "walk.dat", State)) {
        FUZZ_REQUIRE(State.WallCount == 0);
    }
    static RecordingPlatform platform(true);
    platform.Restart();
    platform.PaintLimit = PaintBudget;
    State.Frame.RateStart = 0;

    const auto run = [&](std::int16_t key) {
        platform.Now += 0.01;
        const std::int64_t framesBefore = platform.Frames;
        const std::size_t titlesBefore = platform.Titles.size();
        platform.FramePolygons.clear();
        Picture1_KeyDown(State, platform, key, 0);
        FUZZ_REQUIRE(State.View.LastKey == key);
        FUZZ_REQUIRE(platform.Frames == framesBefore + (key == KeyCode::Escape ? 0 : 1));
        FUZZ_REQUIRE(platform.Ended == (key == KeyCode::Escape));
        FUZZ_REQUIRE(platform.FramePolygons.size() <= static_cast<std::size_t>(State.WallCount));
        FUZZ_REQUIRE(platform.Titles.size() <= titlesBefore + 1);
        if (platform.Titles.size() > titlesBefore) {
            const std::string& title = platform.Titles.back();
            FUZZ_REQUIRE(title.size() >= 5 && title.ends_with(" fps"));
        }
        FUZZ_REQUIRE(State.View.EyeHeight >= MinEyeHeight && State.View.EyeHeight <= MaxEyeHeight);
        FUZZ_REQUIRE(AllFinite(State));
    };
    int steps = 0;
    const auto step = [&](std::int16_t key) {
        if (!platform.Ended && steps < MaxSteps) {
            ++steps;
            run(key);
        }
    };

    for (std::size_t k = 0; k < keys.size() && !platform.Ended && steps < MaxSteps; ++k) {
        const auto c = static_cast<unsigned char>(keys[k]);
        if (c >= '0' && c <= '9') {
            step(static_cast<std::int16_t>(96 + (c - '0')));
        } else if (c == '.') {
            step(State.View.LastKey);
        } else if (c == '*') {
            for (int t = 0; t < 25; ++t) {
                step(State.View.LastKey);
            }
        } else if (c == 'e') {
            step(KeyCode::Escape);
        } else if (c == 'W') {
            State.Frame.FrameCount = INT32_MAX - 1;
        } else if (c == 'k' && k + 2 < keys.size()) {
            const auto low = static_cast<unsigned char>(keys[k + 1]);
            const auto high = static_cast<unsigned char>(keys[k + 2]);
            step(static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8))));
            k += 2;
        } else {
            step(static_cast<std::int16_t>(c));
        }
    }
    if (!platform.Ended) {
        platform.PaintLimit = -1;
        run(0);  // a key with no command: the final view
    }
    return 0;
}

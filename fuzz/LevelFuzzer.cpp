// The level loader on any bytes at all. Whatever it is given, it either loads
// whole walls of a grid, or refuses with a message that names the file and
// leaves no wall in the table; and the same file written with other line
// ends reads the same, down to the line and column of a message.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "world/LoadLevel.h"

namespace {

struct Outcome {
    bool Loaded = false;
    std::string Message;
    int WallCount = 0;
};

// Reads into a table that holds walls from before, so a failure must empty it.
Outcome Read(std::string_view bytes, Module1& state) {
    for (int k = 1; k <= 3; ++k) {
        state.Walls[k] = {7, 7, 8, 8, 1};
    }
    state.WallCount = 3;
    const auto failure = ReadLevel(bytes, "fuzz.dat", state);
    return {!failure.has_value(), failure ? failure->Message : std::string(), state.WallCount};
}

bool IsWhole(float v) {
    return std::isfinite(v) && v == std::floor(v);
}

// Every loaded wall is two units long, centred on a grid node (i, j) at
// (i - 10, j - 10) with 0 <= i, j <= MaxGridSize, and either across the
// view (A) or along it (B).
void CheckWalls(const Module1& state) {
    FUZZ_REQUIRE(state.WallCount >= 0 && state.WallCount <= WallCapacity);
    for (int k = 1; k <= state.WallCount; ++k) {
        const WallRecord& w = state.Walls[k];
        FUZZ_REQUIRE(IsWhole(w.x1) && IsWhole(w.y1) && IsWhole(w.x2) && IsWhole(w.y2));
        const bool across = w.y1 == w.y2 && w.x2 - w.x1 == 2;
        const bool along = w.x1 == w.x2 && w.y2 - w.y1 == 2;
        FUZZ_REQUIRE(across || along);
        const double x = (static_cast<double>(w.x1) + w.x2) / 2;
        const double y = (static_cast<double>(w.y1) + w.y2) / 2;
        FUZZ_REQUIRE(x >= -10 && x <= MaxGridSize - 10 && y >= -10 && y <= MaxGridSize - 10);
        FUZZ_REQUIRE(w.Distance == std::sqrt(x * x + y * y));
    }
}

std::string Replace(std::string_view bytes, char from, std::string_view to) {
    std::string out;
    out.reserve(bytes.size() * to.size());
    for (const char c : bytes) {
        if (c == from) {
            out += to;
        } else {
            out += c;
        }
    }
    return out;
}

bool SameWalls(const Module1& a, const Module1& b) {
    if (a.WallCount != b.WallCount) {
        return false;
    }
    for (int k = 1; k <= a.WallCount; ++k) {
        const WallRecord& p = a.Walls[k];
        const WallRecord& q = b.Walls[k];
        if (p.x1 != q.x1 || p.y1 != q.y1 || p.x2 != q.x2 || p.y2 != q.y2 ||
            p.Distance != q.Distance) {
            return false;
        }
    }
    return true;
}

Module1 First;
Module1 Second;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Outcome outcome = Read(bytes, First);
    if (outcome.Loaded) {
        CheckWalls(First);
    } else {
        FUZZ_REQUIRE(outcome.WallCount == 0);
        FUZZ_REQUIRE(outcome.Message.starts_with("fuzz.dat:"));
    }

    // With only LF line ends, CRLF or CR in their place changes nothing.
    if (bytes.find('\r') == std::string_view::npos) {
        for (const std::string_view lineEnd : {std::string_view("\r\n"), std::string_view("\r")}) {
            const Outcome other = Read(Replace(bytes, '\n', lineEnd), Second);
            FUZZ_REQUIRE(other.Loaded == outcome.Loaded);
            FUZZ_REQUIRE(other.Message == outcome.Message);
            FUZZ_REQUIRE(SameWalls(First, Second));
        }
    }
    return 0;
}

// A bit for each pixel of a row, 64 to a word: how the coverage painter keeps
// track of the pixels a frame has already written, and writes the ones it has
// not in as few fills as it can. Private to render/.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "render/Platform.h"

namespace render_internal {

inline constexpr int Words = (ViewSize + 63) / 64;
// A bit for each pixel of a row, or for each row.
using Bits = std::array<std::uint64_t, Words>;

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

inline constexpr std::uint64_t LastWordMask =
    ViewSize % 64 == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (ViewSize % 64)) - 1;

// The bits of word w that stand for pixels of the view.
constexpr std::uint64_t WordMask(int w) {
    return w == Words - 1 ? LastWordMask : ~std::uint64_t{0};
}

// Whether bits [begin, end) are all set.
inline bool AllSet(const Bits& bits, int begin, int end) {
    return ForEachWord(begin, end,
                       [&](std::size_t w, std::uint64_t mask) { return (bits[w] & mask) == mask; });
}

enum class Exposure { Hidden, Partly, Open };

// Whether bits [begin, end) are all set (Hidden), some (Partly), or none.
inline Exposure ExposureOf(const Bits& bits, int begin, int end) {
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

// Sets bits [begin, end); true when a word of them became full.
inline bool SetBits(Bits& bits, int begin, int end) {
    bool completed = false;
    ForEachWord(begin, end, [&](std::size_t w, std::uint64_t mask) {
        bits[w] |= mask;
        completed = completed || bits[w] == WordMask(static_cast<int>(w));
        return true;
    });
    return completed;
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

}  // namespace render_internal

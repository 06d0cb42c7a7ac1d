// The writes that keep the view's pixel and row bits true: each pixel
// written at most once a frame, a row marked full the moment it is.
#include "render/CoveredTarget.h"

#include <algorithm>

namespace render_internal {

void CoveredTarget::Clear() {
    for (auto& row : Covered) {
        row.fill(0);
    }
    FullRows.fill(0);
}

bool CoveredTarget::BoxCovered(int top, int bottom, int begin, int end) const {
    for (int row = top; row <= bottom; ++row) {
        if (!AllSet(Covered[static_cast<std::size_t>(row)], begin, end)) {
            return false;
        }
    }
    return true;
}

void CoveredTarget::FillUncovered(int row, std::uint32_t colour) {
    const Bits& covered = Covered[static_cast<std::size_t>(row)];
    std::uint32_t* pixels = Target.Row(row);
    if (std::all_of(covered.begin(), covered.end(), [](std::uint64_t w) { return w == 0; })) {
        std::fill_n(pixels, ViewSize, colour);  // most rows above and below the walls
        return;
    }
    StretchWriter writer(pixels, colour);
    for (int w = 0; w < Words; ++w) {
        writer.Add(w, ~covered[static_cast<std::size_t>(w)] & WordMask(w));
    }
}

void CoveredTarget::Write(int row, int begin, int end, std::uint32_t colour) {
    Bits& covered = Covered[static_cast<std::size_t>(row)];
    std::uint32_t* pixels = Target.Row(row);
    if (end - begin == 1) {
        // A lone pixel, as the sides of every wall give in every row.
        std::uint64_t& word = covered[static_cast<std::size_t>(begin / 64)];
        const std::uint64_t bit = std::uint64_t{1} << (begin % 64);
        if ((word & bit) == 0) {
            word |= bit;
            pixels[begin] = colour;
            Wrote = true;
            if (word == WordMask(begin / 64)) {
                MarkIfFull(row);
            }
        }
        return;
    }
    bool wordCompleted = false;
    {
        StretchWriter writer(pixels, colour);
        ForEachWord(begin, end, [&](std::size_t w, std::uint64_t mask) {
            const std::uint64_t free = mask & ~covered[w];
            covered[w] |= mask;
            Wrote = Wrote || free != 0;
            wordCompleted =
                wordCompleted || (free != 0 && covered[w] == WordMask(static_cast<int>(w)));
            writer.Add(static_cast<int>(w), free);
            return true;
        });
    }
    // A row can only have filled up when one of its words just did.
    if (wordCompleted) {
        MarkIfFull(row);
    }
}

}  // namespace render_internal

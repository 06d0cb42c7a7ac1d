// The view's pixels with a bit for each one a frame has already written, and
// a bit for each row with none left: the writes here never touch a pixel
// twice in a frame, and a row or box that is all taken is known at once.
// Private to render/, for the coverage painter.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "render/PixelTarget.h"
#include "render/Platform.h"
#include "render/RowBits.h"

namespace render_internal {

class CoveredTarget {
  public:
    explicit CoveredTarget(PixelTarget target) : Target(target) {}

    // Starts a frame: no pixel is taken.
    void Clear();

    // Whether rows [first, last) are all full, 0 <= first < last <= ViewSize.
    bool RowsFull(int first, int last) const { return AllSet(FullRows, first, last); }
    bool RowIsFull(int row) const {
        return (FullRows[static_cast<std::size_t>(row / 64)] >> (row % 64) & 1) != 0;
    }
    // Whether columns [begin, end) of rows [top, bottom] are all taken.
    bool BoxCovered(int top, int bottom, int begin, int end) const;
    // How much of columns [begin, end) of the row is taken.
    Exposure ExposureOf(int row, int begin, int end) const {
        return render_internal::ExposureOf(Covered[static_cast<std::size_t>(row)], begin, end);
    }

    // Writes colour to the pixels of [begin, end) of the row not yet taken,
    // 0 <= begin < end <= ViewSize.
    void Write(int row, int begin, int end, std::uint32_t colour);
    // Writes colour to [begin, end) of the row, none of which may be taken
    // yet, and returns whether a word of its bits filled up; the caller then
    // calls MarkIfFull once it is done with the row. This is how a row in full
    // view is painted without a bit test a pixel.
    bool WriteOpen(int row, int begin, int end, std::uint32_t colour) {
        std::uint32_t* pixels = Target.Row(row);
        std::fill(pixels + begin, pixels + end, colour);
        Wrote = true;
        return SetBits(Covered[static_cast<std::size_t>(row)], begin, end);
    }
    // Notes the row as full when every pixel of it is taken.
    void MarkIfFull(int row) {
        if (AllSet(Covered[static_cast<std::size_t>(row)], 0, ViewSize)) {
            FullRows[static_cast<std::size_t>(row / 64)] |= std::uint64_t{1} << (row % 64);
        }
    }
    // Writes colour to every pixel of the row not yet taken, leaving them so.
    void FillUncovered(int row, std::uint32_t colour);

    // Whether a write has put a pixel in the target since the last
    // ForgetWrites: the coverage painter asks it of each polygon.
    bool HasWritten() const { return Wrote; }
    void ForgetWrites() { Wrote = false; }

  private:
    PixelTarget Target;
    // Pixels already written in this frame, a bit each; and rows with none left.
    std::array<Bits, ViewSize> Covered{};
    Bits FullRows{};
    bool Wrote = false;
};

}  // namespace render_internal

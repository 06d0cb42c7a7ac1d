// Pixel-by-pixel references for the rasterizer, written the slow and obvious
// way: SDL's triangle test at every pixel, and Bresenham's line walked step
// by step with its error term, as SDL's software renderer does. Built in a
// library of their own, optimised even where the tests are not, since they
// visit every pixel of the view for every quad.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "render/Platform.h"
#include "render/Raster.h"

using Bitmap = std::vector<bool>;  // ViewSize * ViewSize, row-major

// The pixels of runs, as a bitmap.
Bitmap FromRuns(const std::vector<PixelRun>& runs);
// The pixels whose centres SDL's triangle test puts in the fill of q.
Bitmap ReferenceFill(const Quad& q);
// The pixels of q's closed outline, Bresenham's line walked step by step.
Bitmap ReferenceOutline(const Quad& q);

// "" when the two views are equal, else the first pixel (x, y) where they
// differ and both values there. Built with a stream: GCC 12 warns (-Wrestrict)
// inside libstdc++ on a chain of std::string operator+.
template <typename Pixels>
std::string FirstDifference(const Pixels& a, const Pixels& b) {
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k] != b[k]) {
            std::ostringstream out;
            out << "(" << k % ViewSize << ", " << k / ViewSize << "): " << +a[k] << " against "
                << +b[k];
            return out.str();
        }
    }
    return "";
}

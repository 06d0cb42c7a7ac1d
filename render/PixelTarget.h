// Where a painter writes: a 400 x 400 block of 32-bit pixels and the view's
// three colours in that block's pixel format.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/Platform.h"

// A 400 x 400 block of 32-bit pixels; Pitch is in pixels.
struct PixelTarget {
    std::uint32_t* Pixels = nullptr;
    std::ptrdiff_t Pitch = ViewSize;

    std::uint32_t* Row(int y) const { return Pixels + Pitch * y; }
};

// The view's three colours, already in the target's pixel format.
struct ViewColours {
    std::uint32_t Background = 0;
    std::uint32_t Fill = 0;
    std::uint32_t Outline = 0;
};

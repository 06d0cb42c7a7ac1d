// Whether a frame can keep the pixels of the one before it: the comparison
// that lets a still view cost a compare instead of a paint. Private to
// render/, for the coverage painter.
#pragma once

#include <cstdint>
#include <vector>

#include "render/Platform.h"

namespace render_internal {

// Whether a frame of queue's polygons has the pixels of the frame painted
// from shown, where shownWrote[k] (one for each of shown) is 1 when shown[k]
// wrote a pixel there and 0 when nearer polygons hid it whole.
bool SamePixels(const std::vector<Quad>& queue, const std::vector<Quad>& shown,
                const std::vector<std::uint8_t>& shownWrote);

}  // namespace render_internal

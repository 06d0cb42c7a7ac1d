// A frame has the last one's pixels when its polygons are the last one's, in
// the same order, but for ones that wrote no pixel there.
#include "render/StillView.h"

#include <cstddef>

namespace render_internal {

bool SamePixels(const std::vector<Quad>& queue, const std::vector<Quad>& shown,
                const std::vector<std::uint8_t>& shownWrote) {
    // A polygon fully hidden by nearer ones cannot change the picture, and
    // leaving it out changes no other polygon's pixels either, since it took
    // none from farther ones. This is how a blinking wall that nearer walls
    // hide costs nothing.
    std::size_t k = 0;
    for (const Quad& quad : queue) {
        while (k < shown.size() && !(shown[k] == quad)) {
            if (shownWrote[k] != 0) {
                return false;
            }
            ++k;
        }
        if (k == shown.size()) {
            return false;
        }
        ++k;
    }
    for (; k < shown.size(); ++k) {
        if (shownWrote[k] != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace render_internal

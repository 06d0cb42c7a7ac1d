#include "shell/ShownPixels.h"

#include <cstring>

bool ShownPixels::Changed(const unsigned char* pixels, int pitch, int height, int x, int y, int w,
                          int h) {
    const auto rowBytes = static_cast<std::size_t>(pitch);
    const std::size_t size = rowBytes * static_cast<std::size_t>(height);
    if (Shown.size() != size) {
        Shown.assign(pixels, pixels + size);
        return true;
    }
    bool changed = false;
    const auto left = static_cast<std::size_t>(x) * 4;
    const auto bytes = static_cast<std::size_t>(w) * 4;
    for (int row = y; row < y + h; ++row) {
        const std::size_t at = static_cast<std::size_t>(row) * rowBytes + left;
        if (std::memcmp(Shown.data() + at, pixels + at, bytes) != 0) {
            std::memcpy(Shown.data() + at, pixels + at, bytes);
            changed = true;
        }
    }
    return changed;
}

// What a screen shows, kept byte for byte, so that a present of pixels that
// did not change can be skipped: a still view then leaves the browser nothing
// to redraw or composite.
#pragma once

#include <cstddef>
#include <vector>

class ShownPixels {
public:
    // Whether the rectangle (x, y, w, h) of an image of rows of pitch bytes,
    // 4 bytes a pixel, height rows, differs from what was last taken as
    // shown; takes it as shown. The rectangle must lie within the image.
    // An image of another size than the last, or after Forget, has changed
    // everywhere.
    bool Changed(const unsigned char* pixels, int pitch, int height, int x, int y, int w, int h);

    // The screen may have lost what it showed: everything counts as changed.
    void Forget() { Shown.clear(); }

private:
    std::vector<unsigned char> Shown;
};

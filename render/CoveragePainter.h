// The coverage painter: the plain painter's picture with every pixel of the
// view written once a frame. Polygons are queued as they come, far to near;
// Finish takes them nearest (last) first, each writing only the pixels no
// nearer one has taken, its outline before its own fill, and the background
// goes where nothing is. In a dense maze most walls are hidden by nearer
// ones, and this skips them at the cost of a few bit tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/PixelTarget.h"
#include "render/Platform.h"

class CoveragePainter {
  public:
    CoveragePainter(PixelTarget target, ViewColours colours);
    ~CoveragePainter();
    CoveragePainter(const CoveragePainter&) = delete;
    CoveragePainter& operator=(const CoveragePainter&) = delete;

    // Starts a frame.
    void Clear();
    // Queues a polygon over the ones before it.
    void Paint(const Quad& quad);
    // Writes the frame into the target; the pixels are undefined until then.
    // Returns whether they changed. A frame whose polygons are those of the
    // frame already in the target (same corners, same order), but for ones
    // that nearer polygons hid there whole, has the same pixels, so it is not
    // painted again: a still view costs a compare. The caller must leave the
    // target's pixels alone between frames.
    bool Finish();

  private:
    // The painting of a frame and what it paints on; in CoveragePainter.cpp.
    class Coverage;

    std::vector<Quad> Queue;
    bool Finished = false;
    // Whether the target holds the frame of these polygons, Shown, and which
    // of them wrote pixels there (1) or were hidden whole (0).
    bool SamePixelsAsShown() const;

    std::vector<Quad> Shown;
    std::vector<std::uint8_t> ShownWrote;
    bool HasShown = false;
    std::unique_ptr<Coverage> Pixels;
};

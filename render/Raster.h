// Pixels of one wall polygon in the 400 x 400 view, exact for any 32-bit
// corners.
//
// The rules are those of SDL's software renderer, which the program has always
// drawn with: the quad P0 P1 P2 P3 is filled as the two triangles P0 P1 P2 and
// P0 P2 P3, a pixel belonging to a triangle when its centre is inside, or on a
// top or left edge (so neighbouring polygons never share or miss a pixel); the
// outline is the closed Bresenham line P0 P1 P2 P3 P0, each segment drawn from
// its start up to, not including, its end. Unlike SDL, nothing here overflows
// or shifts a line when corners lie far outside the view: the pixels in the
// view are exactly those of the unclipped polygon.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/Platform.h"

// Pixels [Begin, End) of one row of the view, 0 <= Begin < End <= ViewSize.
struct PixelRun {
    std::int16_t Row;
    std::int16_t Begin;
    std::int16_t End;
    friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// Appends the runs of the polygon's fill, clipped to the view.
void AppendFillRuns(const Quad& quad, std::vector<PixelRun>& runs);

// Appends the runs of the polygon's outline, clipped to the view.
void AppendOutlineRuns(const Quad& quad, std::vector<PixelRun>& runs);

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

// Paints polygons one after the other, each over the ones before: the plain
// painter's algorithm.
class PolygonPainter {
  public:
    PolygonPainter(PixelTarget target, ViewColours colours) : Target(target), Colours(colours) {}

    void Clear();
    void Paint(const Quad& quad);

  private:
    void PaintRuns(std::uint32_t colour);

    PixelTarget Target;
    ViewColours Colours;
    std::vector<PixelRun> Runs;
};

// Paints a frame's polygons so that every pixel of the view is written once,
// giving exactly the picture the plain painter gives: the polygons are queued,
// and Finish takes them nearest (last) first, each writing only the pixels no
// nearer one has taken, its outline before its own fill; the background goes
// where nothing is.
class CoveragePainter {
  public:
    CoveragePainter(PixelTarget target, ViewColours colours);

    // Starts a frame.
    void Clear();
    // Queues a polygon over the ones before it.
    void Paint(const Quad& quad);
    // Writes the frame into the target. The pixels are undefined until then.
    void Finish();

  private:
    static constexpr int Words = (ViewSize + 63) / 64;
    // A bit for each pixel of a row, or for each row.
    using Bits = std::array<std::uint64_t, Words>;

    enum class Exposure { Hidden, Partly, Open };

    // Whether bits [begin, end) are all set.
    static bool AllSet(const Bits& bits, int begin, int end);
    // Whether bits [begin, end) are all set, some, or none.
    static Exposure ExposureOf(const Bits& bits, int begin, int end);
    // Sets bits [begin, end); true when a word of them became full.
    static bool SetBits(Bits& bits, int begin, int end);
    // Writes colour to every pixel of the row not yet covered.
    void FillUncovered(int row, std::uint32_t colour);
    // Notes the row as full when every pixel of it is covered.
    void MarkIfFull(int row);
    void CoverWall(const Quad& quad);
    void Cover(std::uint32_t colour);
    void Write(int row, int begin, int end, std::uint32_t colour);

    PixelTarget Target;
    ViewColours Colours;
    std::vector<Quad> Queue;
    bool Finished = false;
    std::vector<PixelRun> Runs;
    // Pixels already written in this frame, a bit each; and rows with none left.
    std::array<Bits, ViewSize> Covered{};
    Bits FullRows{};
    // A wall's two sloping outline segments, as [begin, end) of each row.
    std::array<std::array<std::array<std::int16_t, 2>, 2>, ViewSize> EdgeRuns{};
};

#include "tools/map/MazeMap.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A wall farther out than this is not a loaded level's (the loader's grid ends
// at node 1000) and is refused rather than drawn on an absurd picture.
constexpr double FarthestMapped = 100'000;

// Every 10th node gets a strong, labelled grid line.
constexpr int MajorEvery = 10;

// Node index of a viewer-space coordinate.
constexpr int NodeOf(int coordinate) {
    return coordinate + 10;
}

// Digits 0 to 9 in a 3 x 5 pixel font, one row per entry, bit 2 leftmost.
constexpr std::array<std::array<std::uint8_t, 5>, 10> Digits{{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 1, 1},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};
constexpr int DigitWidth = 3;
constexpr int DigitHeight = 5;

int FontScale(int scale) {
    return std::max(1, scale / 8);
}

int LabelWidth(const std::string& text, int fontScale) {
    return static_cast<int>(text.size()) * (DigitWidth + 1) * fontScale - fontScale;
}

int DigitsOf(int number) {
    return static_cast<int>(std::to_string(number).size());
}

// The picture's size and margins for a bounding box at one scale.
MapLayout Measure(int minX, int maxX, int minY, int maxY, int scale) {
    MapLayout layout;
    layout.Scale = scale;
    layout.MinX = minX;
    layout.MaxX = maxX;
    layout.MinY = minY;
    layout.MaxY = maxY;
    const int font = FontScale(scale);
    const int widestLabel = std::max(1, DigitsOf(std::max(0, NodeOf(maxY))));
    const int pad = std::max(4, scale / 2);
    layout.Left = pad + widestLabel * (DigitWidth + 1) * font + 2 * font;
    layout.Top = pad;
    const int labelRows = (DigitHeight + 2) * font + pad;
    layout.Width = layout.Left + (maxX - minX) * scale + 1 + pad;
    layout.Height = layout.Top + (maxY - minY) * scale + 1 + labelRows;
    return layout;
}

class Painter {
  public:
    explicit Painter(SDL_Surface* surface) : Surface(surface) {}

    void Fill(int x, int y, int w, int h, SDL_Color c) {
        const SDL_Rect rect{x, y, w, h};
        SDL_FillRect(Surface, &rect, SDL_MapRGB(Surface->format, c.r, c.g, c.b));
    }

    // Number text with its top left at (x, y).
    void Label(const std::string& text, int x, int y, int fontScale, SDL_Color c) {
        for (const char ch : text) {
            const auto& rows = Digits[static_cast<std::size_t>(ch - '0')];
            for (int row = 0; row < DigitHeight; ++row) {
                for (int col = 0; col < DigitWidth; ++col) {
                    if ((rows[static_cast<std::size_t>(row)] >> (DigitWidth - 1 - col) & 1) != 0) {
                        Fill(x + col * fontScale, y + row * fontScale, fontScale, fontScale, c);
                    }
                }
            }
            x += (DigitWidth + 1) * fontScale;
        }
    }

    void Disc(int cx, int cy, int radius, SDL_Color c) {
        for (int dy = -radius; dy <= radius; ++dy) {
            const auto half = static_cast<int>(
                std::floor(std::sqrt(static_cast<double>(radius * radius - dy * dy))));
            Fill(cx - half, cy + dy, 2 * half + 1, 1, c);
        }
    }

    // A triangle pointing up, tip at (cx, tipY), base of half width halfBase at
    // baseY (below the tip).
    void UpTriangle(int cx, int tipY, int baseY, int halfBase, SDL_Color c) {
        const int height = std::max(1, baseY - tipY);
        for (int y = tipY; y <= baseY; ++y) {
            const int half = halfBase * (y - tipY) / height;
            Fill(cx - half, y, 2 * half + 1, 1, c);
        }
    }

  private:
    SDL_Surface* Surface;
};

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

}  // namespace

int MapLayout::PixelX(double x) const {
    return Left + Round((x - MinX) * Scale);
}
int MapLayout::PixelY(double y) const {
    return Top + Round((MaxY - y) * Scale);
}

std::optional<MapLayout> LayoutMap(const Module1& state, int scale, std::string& error) {
    // The start and the tip of its arrow are always shown.
    double minX = 0;
    double maxX = 0;
    double minY = 0;
    double maxY = 1;
    for (int n = 1; n <= state.WallCount; ++n) {
        const WallRecord& w = state.Walls[n];
        for (const double v : {w.x1, w.y1, w.x2, w.y2}) {
            if (!(std::abs(v) <= FarthestMapped)) {
                error = "wall " + std::to_string(n) + " lies too far out to map";
                return std::nullopt;
            }
        }
        minX = std::min({minX, static_cast<double>(w.x1), static_cast<double>(w.x2)});
        maxX = std::max({maxX, static_cast<double>(w.x1), static_cast<double>(w.x2)});
        minY = std::min({minY, static_cast<double>(w.y1), static_cast<double>(w.y2)});
        maxY = std::max({maxY, static_cast<double>(w.y1), static_cast<double>(w.y2)});
    }
    // One unit of margin all round, so that no wall touches the labels.
    const int left = static_cast<int>(std::floor(minX)) - 1;
    const int right = static_cast<int>(std::ceil(maxX)) + 1;
    const int bottom = static_cast<int>(std::floor(minY)) - 1;
    const int top = static_cast<int>(std::ceil(maxY)) + 1;

    const auto fits = [](const MapLayout& l) {
        return l.Width <= LargestMapSide && l.Height <= LargestMapSide;
    };
    if (scale == 0) {
        for (int s = DefaultMapScale; s > SmallestMapScale; --s) {
            const MapLayout layout = Measure(left, right, bottom, top, s);
            if (fits(layout)) {
                return layout;
            }
        }
        scale = SmallestMapScale;
    }
    if (scale < SmallestMapScale || scale > LargestMapScale) {
        error = "the scale must be " + std::to_string(SmallestMapScale) + " to " +
                std::to_string(LargestMapScale) + " pixels per unit, not " + std::to_string(scale);
        return std::nullopt;
    }
    const MapLayout layout = Measure(left, right, bottom, top, scale);
    if (!fits(layout)) {
        error = "the map would be " + std::to_string(layout.Width) + " x " +
                std::to_string(layout.Height) + " pixels, more than " +
                std::to_string(LargestMapSide) + " on a side: use a smaller scale";
        return std::nullopt;
    }
    return layout;
}

namespace {

bool IsMajor(int coordinate) {
    return NodeOf(coordinate) % MajorEvery == 0;
}

// The grid: every node where there is room for it, then every 10th on top.
void DrawGrid(Painter& paint, const MapLayout& layout) {
    const int gridTop = layout.PixelY(layout.MaxY);
    const int gridBottom = layout.PixelY(layout.MinY);
    const int gridLeft = layout.PixelX(layout.MinX);
    const int gridRight = layout.PixelX(layout.MaxX);
    for (const bool strong : {false, true}) {
        if (!strong && layout.Scale < 4) {
            continue;
        }
        const SDL_Color colour = strong ? MapMajorGridColour : MapGridColour;
        for (int x = layout.MinX; x <= layout.MaxX; ++x) {
            if (IsMajor(x) == strong) {
                paint.Fill(layout.PixelX(x), gridTop, 1, gridBottom - gridTop + 1, colour);
            }
        }
        for (int y = layout.MinY; y <= layout.MaxY; ++y) {
            if (IsMajor(y) == strong) {
                paint.Fill(gridLeft, layout.PixelY(y), gridRight - gridLeft + 1, 1, colour);
            }
        }
    }
}

// Loaded walls all run along x or along y, so each is one rectangle, made
// longer by its thickness so that walls meeting at a node join up.
void DrawWalls(Painter& paint, const MapLayout& layout, const Module1& state) {
    const int thickness = std::max(2, layout.Scale / 4);
    for (int n = 1; n <= state.WallCount; ++n) {
        const WallRecord& w = state.Walls[n];
        const int x1 = layout.PixelX(w.x1);
        const int x2 = layout.PixelX(w.x2);
        const int y1 = layout.PixelY(w.y1);
        const int y2 = layout.PixelY(w.y2);
        paint.Fill(std::min(x1, x2) - thickness / 2, std::min(y1, y2) - thickness / 2,
                   std::abs(x2 - x1) + thickness, std::abs(y2 - y1) + thickness, MapWallColour);
    }
}

// The start: a disc on node (10, 10) and an arrow toward increasing j, the
// viewer's first facing, ending inside the start cell.
void DrawStart(Painter& paint, const MapLayout& layout) {
    const int scale = layout.Scale;
    const int cx = layout.PixelX(0);
    const int cy = layout.PixelY(0);
    paint.Disc(cx, cy, std::max(2, Round(0.3 * scale)), MapStartColour);
    const int shaft = std::max(2, scale / 6);
    const int headBase = layout.PixelY(0.45);
    paint.Fill(cx - shaft / 2, headBase, shaft, cy - headBase, MapStartColour);
    paint.UpTriangle(cx, layout.PixelY(0.9), headBase, std::max(2, Round(0.3 * scale)),
                     MapStartColour);
}

// Node numbers of the strong lines: i along the bottom, j up the left.
void DrawNodeNumbers(Painter& paint, const MapLayout& layout) {
    const int font = FontScale(layout.Scale);
    const int gridBottom = layout.PixelY(layout.MinY);
    const int gridLeft = layout.PixelX(layout.MinX);
    for (int x = layout.MinX; x <= layout.MaxX; ++x) {
        if (IsMajor(x) && NodeOf(x) >= 0) {
            const std::string text = std::to_string(NodeOf(x));
            paint.Label(text, layout.PixelX(x) - LabelWidth(text, font) / 2,
                        gridBottom + 2 * font + 1, font, MapLabelColour);
        }
    }
    for (int y = layout.MinY; y <= layout.MaxY; ++y) {
        if (IsMajor(y) && NodeOf(y) >= 0) {
            const std::string text = std::to_string(NodeOf(y));
            paint.Label(text, gridLeft - 2 * font - LabelWidth(text, font),
                        layout.PixelY(y) - DigitHeight * font / 2, font, MapLabelColour);
        }
    }
}

}  // namespace

SurfacePtr DrawMap(const Module1& state, const MapLayout& layout, std::string& error) {
    SurfacePtr surface(
        SDL_CreateRGBSurfaceWithFormat(0, layout.Width, layout.Height, 24, SDL_PIXELFORMAT_RGB24));
    if (!surface) {
        error = std::string("cannot make the map's picture: ") + SDL_GetError();
        return nullptr;
    }
    Painter paint(surface.get());
    paint.Fill(0, 0, layout.Width, layout.Height, MapBackgroundColour);
    DrawGrid(paint, layout);
    DrawWalls(paint, layout, state);
    DrawStart(paint, layout);
    DrawNodeNumbers(paint, layout);
    return surface;
}

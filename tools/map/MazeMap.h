// A top-down map of a loaded level: the walls, the viewer's start and facing,
// and a grid of the level file's nodes.
//
// North (the viewer's first facing, increasing j) is up. Thin grid lines run
// through every node, stronger ones through nodes whose index is a multiple of
// 10, labelled with that index along the bottom (i) and the left (j) edges;
// the start node (10, 10) sits where the two strong lines for 10 cross.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>

#include "world/Module1.h"

inline constexpr SDL_Color MapBackgroundColour{255, 255, 255, 255};
inline constexpr SDL_Color MapGridColour{226, 226, 226, 255};
inline constexpr SDL_Color MapMajorGridColour{160, 160, 160, 255};
inline constexpr SDL_Color MapLabelColour{90, 90, 90, 255};
// The walls in the red the program fills them with.
inline constexpr SDL_Color MapWallColour{255, 0, 0, 255};
inline constexpr SDL_Color MapStartColour{0, 80, 255, 255};

// Pixels per grid unit, and the largest map side in pixels.
inline constexpr int DefaultMapScale = 16;
inline constexpr int SmallestMapScale = 2;
inline constexpr int LargestMapScale = 64;
inline constexpr int LargestMapSide = 8192;

// Where the map puts viewer space (the loaded walls' coordinates, node (i, j)
// at (i - 10, j - 10)) on the picture.
struct MapLayout {
    int Scale = DefaultMapScale;
    // The part of viewer space shown, in whole units: every wall, the start and
    // a margin.
    int MinX = 0;
    int MaxX = 0;
    int MinY = 0;
    int MaxY = 0;
    // Picture size and the pixel of viewer-space point (MinX, MaxY).
    int Width = 0;
    int Height = 0;
    int Left = 0;
    int Top = 0;

    // The pixel a viewer-space point falls on.
    int PixelX(double x) const;
    int PixelY(double y) const;
};

// The layout for the walls 1 to state.WallCount. scale 0 picks
// DefaultMapScale, or less where the map would be wider than LargestMapSide.
// Fails, saying why, when the picture would be too large at the given scale.
std::optional<MapLayout> LayoutMap(const Module1& state, int scale, std::string& error);

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Draws the map. Needs no SDL_Init. Null, with SDL's reason in error, when the
// surface cannot be made.
SurfacePtr DrawMap(const Module1& state, const MapLayout& layout, std::string& error);

// Projection of one wall into the view, drawn as one filled quadrilateral.
#pragma once

#include "render/Platform.h"
#include "world/Module1.h"

// Half the view: the screen centre (the horizon is y = ScreenHalf) and the
// projection scale (a point at depth d and offset x lands on
// ScreenHalf * (1 + x / d)).
inline constexpr double ScreenHalf = ViewSize / 2.0;

// The four corners of wall p seen from the eye: P0 top and P1 bottom of the
// first endpoint, P2 bottom and P3 top of the second. A computation that
// cannot be done (a division by zero, a value out of float or 32-bit range)
// is skipped and its result keeps its earlier value, zero at first, so a wall
// always yields four points. The caller passes only walls whose depths both
// exceed DepthLimit, where none of that happens.
Quad ProjectWall(const Module1& state, int p);

// Projects wall p (1..WallCount) and draws it on the view.
void Wall(const Module1& state, PlatformServices& view, int p);

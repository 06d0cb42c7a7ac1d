// Composition of one frame: distances, far-to-near order, culling, blinking,
// and the frame rate in the title.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/Platform.h"
#include "world/Module1.h"

// A wall is drawn only when both of its endpoint depths exceed this; there is
// no partial clipping against the eye plane.
inline constexpr double DepthLimit = 0.1;
// This wall is drawn only on frames with an even FrameCount.
inline constexpr int BlinkWall = 5;

// Composes and draws one frame of the walls 1..WallCount. Every handled wall
// leaves with Distance 0. Once at least a second has passed since the last
// update, writes the frame rate into the title.
void ComposeFrame(Module1& state, PlatformServices& platform);

// The title for a frame rate: one blank (where a minus sign would go), the
// digits, " fps".
std::string RateTitle(std::int64_t framesPerSecond);

// The order in which the walls are handled, farthest first: by Distance
// descending, equal distances by the lower number first. Every wall 1..WallCount
// is in it; those whose Distance is 0 come last, and the caller stops at the
// first of them. Sorts state.Frame.DrawOrder in place, starting from the last
// frame's order, and returns it.
const std::vector<std::int16_t>& FarToNearOrder(Module1& state);

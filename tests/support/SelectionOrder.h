// The frame's drawing order by the plain repeated selection: scan for the
// largest Distance, take it, mark it 0. Quadratic; kept outside the program as
// the reference its fast ordering (FarToNearOrder) is checked and measured
// against.
#pragma once

#include <cstdint>
#include <vector>

#include "world/Module1.h"

// The walls of state in drawing order, farthest first, equal distances lower
// number first; walls whose Distance is already 0 are left out. Leaves every
// Distance at 0.
std::vector<std::int16_t> SelectionOrder(Module1& state);

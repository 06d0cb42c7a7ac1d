// The step routine: every key-down and every tick lands here.
#pragma once

#include <cstdint>

#include "render/Platform.h"
#include "world/Module1.h"

// Key codes in the platform's virtual-key numbering. Only these have a
// command; every other code stops the walk.
namespace KeyCode {
inline constexpr std::int16_t Escape = 27;
inline constexpr std::int16_t Keypad1 = 97;   // descend
inline constexpr std::int16_t Keypad2 = 98;   // back
inline constexpr std::int16_t Keypad4 = 100;  // turn left
inline constexpr std::int16_t Keypad6 = 102;  // turn right
inline constexpr std::int16_t Keypad7 = 103;  // rise
inline constexpr std::int16_t Keypad8 = 104;  // forward
}  // namespace KeyCode

// The eye rises while below MaxEyeHeight and descends while above
// MinEyeHeight (both strict), one MoveStep at a time.
inline constexpr double MinEyeHeight = -0.5;
inline constexpr double MaxEyeHeight = 10;

// Remembers the key as LastKey, applies its command to the walls or the eye
// height, then composes one frame. Esc ends the program instead, with no
// frame. shift is the modifier state; no command depends on it.
void Picture1_KeyDown(Module1& state, PlatformServices& platform, std::int16_t keyCode,
                      std::int16_t shift);

// The cosine and sine a turn by some angle rotates with. For plus or minus
// TurnStepStart these are fixed values, the same on every C library.
struct TurnRotation {
    double Cos;
    double Sin;
};
TurnRotation RotationFor(double angle);

// Rotates every wall about the eye by angle radians; a positive angle turns
// the viewer to the right.
void TurnWalls(Module1& state, double angle);

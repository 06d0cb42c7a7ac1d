#include "motion/Step.h"

#include <cfloat>
#include <cmath>

#include "render/Frame.h"

namespace {

// Coordinates stay floats: a rotation keeps their size and a move adds a
// quarter, so the result always fits; the clamp only keeps the conversion
// defined should a wall ever sit near the end of the float range.
float ToSingle(double value) {
    if (std::fabs(value) <= FLT_MAX) {
        return static_cast<float>(value);
    }
    return value > 0 ? FLT_MAX : -FLT_MAX;
}

void MoveWalls(Module1& state, double depthChange) {
    for (int i = 1; i <= state.WallCount; ++i) {
        WallRecord& w = state.Walls[i];
        w.y1 = ToSingle(w.y1 + depthChange);
        w.y2 = ToSingle(w.y2 + depthChange);
    }
}

// The cosine and sine of TurnStepStart, correctly rounded. C libraries
// differ in the last bit of cos and sin (MinGW-w64 computes them on the x87
// unit, glibc in software), and one bit, repeated over a few turns, moves the
// walls by a pixel; written out, every build turns the same walls to the same
// place. The motion tests check them against the long double results.
constexpr double TurnStepCos = 0x1.fd88da3f88b69p-1;
constexpr double TurnStepSin = 0x1.917a6afa977b2p-4;

}  // namespace

TurnRotation RotationFor(double angle) {
    if (angle == TurnStepStart) {
        return {TurnStepCos, TurnStepSin};
    }
    if (angle == -TurnStepStart) {
        return {TurnStepCos, -TurnStepSin};
    }
    return {std::cos(angle), std::sin(angle)};
}

void TurnWalls(Module1& state, double angle) {
    const auto [c, s] = RotationFor(angle);
    for (int i = 1; i <= state.WallCount; ++i) {
        WallRecord& w = state.Walls[i];
        const double x1 = w.x1;
        const double y1 = w.y1;
        const double x2 = w.x2;
        const double y2 = w.y2;
        const double newX1 = x1 * c - y1 * s;
        const double newY1 = x1 * s + y1 * c;
        const double newX2 = x2 * c - y2 * s;
        const double newY2 = x2 * s + y2 * c;
        // One check for all four in the usual case, where every one fits.
        if (std::fabs(newX1) + std::fabs(newY1) + std::fabs(newX2) + std::fabs(newY2) <= FLT_MAX) {
            w = {static_cast<float>(newX1), static_cast<float>(newY1), static_cast<float>(newX2),
                 static_cast<float>(newY2), w.Distance};
        } else {
            w = {ToSingle(newX1), ToSingle(newY1), ToSingle(newX2), ToSingle(newY2), w.Distance};
        }
    }
}

void Picture1_KeyDown(Module1& state, PlatformServices& platform, std::int16_t keyCode,
                      std::int16_t /*shift*/) {
    ViewState& view = state.View;
    view.LastKey = keyCode;
    switch (keyCode) {
        case KeyCode::Escape:
            platform.EndProgram();
            return;
        case KeyCode::Keypad1:
            if (view.EyeHeight > MinEyeHeight) {
                view.EyeHeight -= view.MoveStep;
            }
            break;
        case KeyCode::Keypad2:
            MoveWalls(state, view.MoveStep);
            break;
        case KeyCode::Keypad4:
            TurnWalls(state, -view.TurnStep);
            break;
        case KeyCode::Keypad6:
            TurnWalls(state, view.TurnStep);
            break;
        case KeyCode::Keypad7:
            if (view.EyeHeight < MaxEyeHeight) {
                view.EyeHeight += view.MoveStep;
            }
            break;
        case KeyCode::Keypad8:
            MoveWalls(state, -view.MoveStep);
            break;
        default:
            break;  // no command: the walk stops, frames go on
    }
    ComposeFrame(state, platform);
}

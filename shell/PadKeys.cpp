#include "shell/PadKeys.h"

#include <cstdlib>

namespace {

// Each control's key: the keypad key it stands for (PadKeys' Control order).
constexpr std::int16_t ControlKeys[] = {
    104, 98, 100, 102,  // d-pad: keypad 8, 2, 4, 6
    103, 97,            // shoulders: keypad 7 (right, rise), 1 (left, descend)
    103, 97,            // triggers, the same
    104, 98, 100, 102,  // the stick, as the d-pad
};
constexpr std::int16_t StopKey = 101;  // keypad 5: no command, so the walk stops
constexpr std::int16_t EndKey = 27;    // Esc

// The stick counts past a quarter of its travel and lets go below a fifth,
// so that a thumb resting near the edge does not flicker between the two.
constexpr bool StickPressed(int reach) {
    return reach * 4 > PadAxisTravel;
}
constexpr bool StickLetGo(int reach) {
    return reach * 5 < PadAxisTravel;
}
// A trigger counts past half its travel.
constexpr bool TriggerPressed(int value) {
    return value * 2 > PadAxisTravel;
}

}  // namespace

std::bitset<PadKeys::ControlCount> PadKeys::StickHeld() const {
    // On a diagonal the axis farther from the centre wins.
    const int reachX = std::abs(StickX);
    const int reachY = std::abs(StickY);
    const int reach = reachY >= reachX ? reachY : reachX;
    const bool wasHeld = (Held[StickUp] || Held[StickDown] || Held[StickLeft] || Held[StickRight]);
    std::bitset<ControlCount> held;
    if (wasHeld ? StickLetGo(reach) : !StickPressed(reach)) {
        return held;
    }
    if (reachY >= reachX) {
        held.set(StickY < 0 ? StickUp : StickDown);
    } else {
        held.set(StickX < 0 ? StickLeft : StickRight);
    }
    return held;
}

std::optional<std::int16_t> PadKeys::Hold(std::bitset<ControlCount> held) {
    const std::bitset<ControlCount> pressed = held & ~Held;
    const bool wasHeld = Held.any();
    Held = held;
    // One event changes one control, so at most one becomes active at once.
    for (int control = 0; control < ControlCount; ++control) {
        if (pressed[static_cast<std::size_t>(control)]) {
            return ControlKeys[control];
        }
    }
    if (wasHeld && held.none()) {
        return StopKey;
    }
    return std::nullopt;
}

std::optional<std::int16_t> PadKeys::Button(PadButton button, bool pressed) {
    if (button == PadButton::Back) {
        return pressed ? std::optional<std::int16_t>(EndKey) : std::nullopt;
    }
    // PadButton's order up to Back is the d-pad's and the shoulders' here.
    const auto control = static_cast<std::size_t>(button);
    if (control > LeftShoulder) {
        return std::nullopt;
    }
    std::bitset<ControlCount> held = Held;
    held.set(control, pressed);
    return Hold(held);
}

std::optional<std::int16_t> PadKeys::Axis(PadAxis axis, int value) {
    std::bitset<ControlCount> held = Held;
    switch (axis) {
        case PadAxis::StickX:
        case PadAxis::StickY: {
            (axis == PadAxis::StickX ? StickX : StickY) = value;
            for (const Control direction : {StickUp, StickDown, StickLeft, StickRight}) {
                held.reset(direction);
            }
            held |= StickHeld();
            break;
        }
        case PadAxis::RightTrigger:
            held.set(RightTrigger, TriggerPressed(value));
            break;
        case PadAxis::LeftTrigger:
            held.set(LeftTrigger, TriggerPressed(value));
            break;
        case PadAxis::Other:
            return std::nullopt;
    }
    return Hold(held);
}

std::optional<std::int16_t> PadKeys::Removed() {
    StickX = 0;
    StickY = 0;
    return Hold({});
}

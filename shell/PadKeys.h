// What a game pad's controls say in the program's key codes, with no SDL in
// it: the shell hands over each button and axis as plain numbers. The d-pad
// and the left stick steer as keypad 8, 2, 4 and 6, the right shoulder and
// trigger rise as keypad 7, the left ones descend as keypad 1, Back ends the
// program as Esc. A control sends its code once, when it becomes active, and
// letting go of the last active one sends keypad 5's, which stops the walk:
// the step routine then repeats a pad's command exactly as a key's.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

// The d-pad and the shoulders in PadKeys' order of controls, then the rest.
enum class PadButton { Up, Down, Left, Right, RightShoulder, LeftShoulder, Back, Other };
enum class PadAxis { StickX, StickY, RightTrigger, LeftTrigger, Other };

// The farthest an axis reads, either way (a stick's), or one way (a trigger's).
inline constexpr int PadAxisTravel = 32767;

class PadKeys {
  public:
    // Each returns the code to hand to the step routine, or nothing.
    // A button pressed or let go.
    std::optional<std::int16_t> Button(PadButton button, bool pressed);
    // An axis moved to value: -32768 to 32767 for the stick (up and left
    // negative), 0 to 32767 for a trigger.
    std::optional<std::int16_t> Axis(PadAxis axis, int value);
    // The pad pulled out, perhaps while held: the walk stops.
    std::optional<std::int16_t> Removed();

  private:
    enum Control {
        DpadUp,
        DpadDown,
        DpadLeft,
        DpadRight,
        RightShoulder,
        LeftShoulder,
        RightTrigger,
        LeftTrigger,
        StickUp,
        StickDown,
        StickLeft,
        StickRight,
        ControlCount
    };
    std::optional<std::int16_t> Hold(std::bitset<ControlCount> held);
    std::bitset<ControlCount> StickHeld() const;

    std::bitset<ControlCount> Held;
    int StickX = 0;
    int StickY = 0;
};

// The game pads of --gamepad, through SDL's GameController API (the mapping
// database SDL ships, and a user's own mappings through SDL's
// SDL_GAMECONTROLLERCONFIG hint or variable): pads plugged in are taken, pads
// pulled out dropped, and each pad's events become key codes by PadKeys.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "shell/PadKeys.h"

class Gamepads {
  public:
    // Starts SDL's game controller subsystem; without it (no joystick
    // support, say) the program runs as without pads, and Handle answers
    // nothing. SDL reports the pads already attached as plugged in.
    Gamepads();
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    bool Started() const { return Running; }
    // The key code an event of SDL's says, for the step routine, if any.
    std::optional<std::int16_t> Handle(const SDL_Event& event);
    // How many pads are open.
    std::size_t Count() const { return Pads.size(); }

  private:
    struct Pad {
        SDL_JoystickID Id;
        SDL_GameController* Controller;
        PadKeys Keys;
    };
    Pad* Find(SDL_JoystickID id);

    bool Running = false;
    std::vector<Pad> Pads;
};

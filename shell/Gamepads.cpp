#include "shell/Gamepads.h"

#include <algorithm>
#include <utility>

namespace {

// The buttons and axes a pad's rules know; every other is PadButton::Other
// or PadAxis::Other.
// clang-format off
constexpr std::pair<Uint8, PadButton> Buttons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::Up},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::Down},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::Left},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::Right},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadButton::RightShoulder},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadButton::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
};
constexpr std::pair<Uint8, PadAxis> Axes[] = {
    {SDL_CONTROLLER_AXIS_LEFTX, PadAxis::StickX},
    {SDL_CONTROLLER_AXIS_LEFTY, PadAxis::StickY},
    {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, PadAxis::RightTrigger},
    {SDL_CONTROLLER_AXIS_TRIGGERLEFT, PadAxis::LeftTrigger},
};
// clang-format on

template <typename Control, std::size_t Count>
Control Lookup(const std::pair<Uint8, Control> (&table)[Count], Uint8 sdl, Control other) {
    for (const auto& [from, to] : table) {
        if (from == sdl) {
            return to;
        }
    }
    return other;
}

}  // namespace

Gamepads::Gamepads() : Running(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {}

Gamepads::~Gamepads() {
    for (const Pad& pad : Pads) {
        SDL_GameControllerClose(pad.Controller);
    }
    if (Running) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

Gamepads::Pad* Gamepads::Find(SDL_JoystickID id) {
    const auto pad =
        std::find_if(Pads.begin(), Pads.end(), [id](const Pad& p) { return p.Id == id; });
    return pad == Pads.end() ? nullptr : &*pad;
}

std::optional<std::int16_t> Gamepads::Handle(const SDL_Event& event) {
    if (!Running) {
        return std::nullopt;
    }
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            // which is a device index here, an instance id everywhere else.
            SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
            if (controller == nullptr) {
                return std::nullopt;  // not a pad SDL can map: left alone
            }
            const SDL_JoystickID id =
                SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (Find(id) != nullptr) {
                SDL_GameControllerClose(controller);  // already open: SDL counts it
            } else {
                Pads.push_back({id, controller, {}});
            }
            return std::nullopt;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            Pad* pad = Find(event.cdevice.which);
            if (pad == nullptr) {
                return std::nullopt;
            }
            const auto code = pad->Keys.Removed();
            SDL_GameControllerClose(pad->Controller);
            Pads.erase(Pads.begin() + (pad - Pads.data()));
            return code;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* pad = Find(event.cbutton.which)) {
                return pad->Keys.Button(Lookup(Buttons, event.cbutton.button, PadButton::Other),
                                        event.type == SDL_CONTROLLERBUTTONDOWN);
            }
            return std::nullopt;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* pad = Find(event.caxis.which)) {
                return pad->Keys.Axis(Lookup(Axes, event.caxis.axis, PadAxis::Other),
                                      event.caxis.value);
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

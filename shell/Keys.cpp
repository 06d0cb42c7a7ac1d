#include "shell/Keys.h"

namespace {

struct KeypadKey {
    SDL_Scancode Scancode;
    std::int16_t NumLockOn;
    std::int16_t NumLockOff;
};

// SDL reports the same scancode and symbol for a keypad key whatever the Num
// Lock state, so the lock decides here. The scancodes run 1..9 then 0.
// clang-format off
constexpr KeypadKey KeypadKeys[] = {
    {SDL_SCANCODE_KP_0, 96, 45},      // Insert
    {SDL_SCANCODE_KP_1, 97, 35},      // End
    {SDL_SCANCODE_KP_2, 98, 40},      // Down
    {SDL_SCANCODE_KP_3, 99, 34},      // Page Down
    {SDL_SCANCODE_KP_4, 100, 37},     // Left
    {SDL_SCANCODE_KP_5, 101, 12},     // Clear
    {SDL_SCANCODE_KP_6, 102, 39},     // Right
    {SDL_SCANCODE_KP_7, 103, 36},     // Home
    {SDL_SCANCODE_KP_8, 104, 38},     // Up
    {SDL_SCANCODE_KP_9, 105, 33},     // Page Up
    {SDL_SCANCODE_KP_PERIOD, 110, 46},  // Delete
};
// clang-format on

struct NamedKey {
    SDL_Keycode Sym;
    std::int16_t Code;
};

// The keys --arrows adds, each giving the code of the keypad key it stands
// for: the same commands, so a held key and a tick behave the same.
// clang-format off
constexpr NamedKey ArrowKeys[] = {
    {SDLK_UP, 104},        // keypad 8: forward
    {SDLK_DOWN, 98},       // keypad 2: back
    {SDLK_LEFT, 100},      // keypad 4: turn left
    {SDLK_RIGHT, 102},     // keypad 6: turn right
    {SDLK_PAGEUP, 103},    // keypad 7: rise
    {SDLK_PAGEDOWN, 97},   // keypad 1: descend
};
// clang-format on

// clang-format off
constexpr NamedKey NamedKeys[] = {
    {SDLK_BACKSPACE, 8},   {SDLK_TAB, 9},         {SDLK_RETURN, 13},     {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},     {SDLK_RSHIFT, 16},     {SDLK_LCTRL, 17},      {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},       {SDLK_RALT, 18},       {SDLK_PAUSE, 19},      {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},     {SDLK_SPACE, 32},      {SDLK_PAGEUP, 33},     {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},        {SDLK_HOME, 36},       {SDLK_LEFT, 37},       {SDLK_UP, 38},
    {SDLK_RIGHT, 39},      {SDLK_DOWN, 40},       {SDLK_PRINTSCREEN, 44}, {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},     {SDLK_LGUI, 91},       {SDLK_RGUI, 92},       {SDLK_APPLICATION, 93},
    {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107}, {SDLK_KP_MINUS, 109},  {SDLK_KP_DIVIDE, 111},
    {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145}, {SDLK_SEMICOLON, 186}, {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},     {SDLK_MINUS, 189},     {SDLK_PERIOD, 190},    {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};
// clang-format on

}  // namespace

std::int16_t VirtualKeyCode(const SDL_Keysym& key, KeyMode mode) {
    const bool arrows = mode == KeyMode::KeypadAndArrows;
    const bool numLock = (key.mod & KMOD_NUM) != 0;
    for (const KeypadKey& k : KeypadKeys) {
        if (key.scancode == k.Scancode) {
            return numLock || arrows ? k.NumLockOn : k.NumLockOff;
        }
    }
    if (arrows) {
        for (const NamedKey& k : ArrowKeys) {
            if (key.sym == k.Sym) {
                return k.Code;
            }
        }
    }
    // Letters and digits follow the keyboard layout, as virtual keys do.
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) {
        return static_cast<std::int16_t>('A' + (key.sym - SDLK_a));
    }
    if (key.sym >= SDLK_0 && key.sym <= SDLK_9) {
        return static_cast<std::int16_t>('0' + (key.sym - SDLK_0));
    }
    if (key.sym >= SDLK_F1 && key.sym <= SDLK_F12) {
        return static_cast<std::int16_t>(112 + (key.sym - SDLK_F1));
    }
    for (const NamedKey& k : NamedKeys) {
        if (key.sym == k.Sym) {
            return k.Code;
        }
    }
    return 0;
}

std::int16_t ShiftState(std::uint16_t mod) {
    int state = 0;
    if ((mod & KMOD_SHIFT) != 0) {
        state |= 1;
    }
    if ((mod & KMOD_CTRL) != 0) {
        state |= 2;
    }
    if ((mod & KMOD_ALT) != 0) {
        state |= 4;
    }
    return static_cast<std::int16_t>(state);
}

// Translation of SDL key events into the program's virtual-key codes: the
// logic never sees an SDL type.
#pragma once

#include <SDL.h>

#include <cstdint>

// The virtual-key code of a key-down: keypad digits are 96 to 105 with Num
// Lock on and the navigation codes (End, Down, ...) with it off; letters 65 to
// 90, digits 48 to 57, Esc 27, and so on. A key without a code gives 0, which,
// like every code without a command, stops the walk.
//
// With KeyMode::KeypadAndArrows (the --arrows option) the arrow keys and Page
// Up and Page Down give the codes of the keypad keys in the same places (Up is
// keypad 8, Page Up keypad 7, ...), and the keypad keys give their digit codes
// whatever Num Lock says, so a keyboard without a keypad can walk.
enum class KeyMode { Keypad, KeypadAndArrows };

std::int16_t VirtualKeyCode(const SDL_Keysym& key, KeyMode mode = KeyMode::Keypad);

// The modifier state as a bit set: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftState(std::uint16_t mod);

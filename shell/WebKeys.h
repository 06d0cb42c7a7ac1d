// What a browser's key event says that SDL does not: whether Num Lock is on,
// and whether the key would scroll the page. Plain strings in, so the rules
// are tested on any machine.
#pragma once

#include <optional>
#include <string_view>

// The DOM's KeyboardEvent.location of a key on the numeric keypad.
inline constexpr unsigned long DomKeypadLocation = 3;

// Whether Num Lock is on, as a keypad key's DOM event shows it: the key types
// a digit or the decimal separator only with the lock on, and is a navigation
// key (ArrowUp, Home, Clear, ...) with it off. Nothing for other keys, and for
// the keypad keys the lock does not change (Enter, +, ...).
std::optional<bool> NumLockFromDom(std::string_view key, unsigned long location);

// Whether the browser would scroll the page for this key (arrows, page keys,
// Home, End, the space bar), which it must not while the view has the focus.
bool ScrollsPage(std::string_view key);

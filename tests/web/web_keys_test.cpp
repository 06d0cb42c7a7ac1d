// The browser's keypad: SDL there never learns the Num Lock state, so the web
// main reads it from the DOM event. Each row is a key as a browser reports it,
// followed through to the code the step routine gets.
#include <gtest/gtest.h>

#include <vector>

#include "shell/Keys.h"
#include "shell/WebKeys.h"

namespace {

struct DomKey {
    const char* Key;  // KeyboardEvent.key
    unsigned long Location;
    SDL_Scancode Scancode;  // what SDL makes of KeyboardEvent.code
    std::int16_t Expected;
};

// clang-format off
const DomKey DomKeys[] = {
    {"8", 3, SDL_SCANCODE_KP_8, 104},           // Num Lock on: forward
    {"ArrowUp", 3, SDL_SCANCODE_KP_8, 38},      // off: an arrow, which stops
    {"5", 3, SDL_SCANCODE_KP_5, 101},
    {"Clear", 3, SDL_SCANCODE_KP_5, 12},
    {"1", 3, SDL_SCANCODE_KP_1, 97},
    {"End", 3, SDL_SCANCODE_KP_1, 35},
    {"7", 3, SDL_SCANCODE_KP_7, 103},
    {"Home", 3, SDL_SCANCODE_KP_7, 36},
    {"0", 3, SDL_SCANCODE_KP_0, 96},
    {"Insert", 3, SDL_SCANCODE_KP_0, 45},
    {",", 3, SDL_SCANCODE_KP_PERIOD, 110},      // a decimal comma is the lock on too
    {"Delete", 3, SDL_SCANCODE_KP_PERIOD, 46},
};
// clang-format on

TEST(WebKeys, KeypadFollowsTheDomKeyNotTheLastState) {
    for (const bool lockBefore : {false, true}) {
        for (const DomKey& k : DomKeys) {
            SDL_Keysym sym{};
            sym.scancode = k.Scancode;
            sym.mod = lockBefore ? KMOD_NUM : KMOD_NONE;
            if (const auto numLock = NumLockFromDom(k.Key, k.Location)) {
                sym.mod = *numLock ? KMOD_NUM : KMOD_NONE;
            }
            EXPECT_EQ(VirtualKeyCode(sym), k.Expected) << k.Key << " lock before " << lockBefore;
        }
    }
}

TEST(WebKeys, OnlyTheKeypadSaysAnythingOfNumLock) {
    EXPECT_EQ(NumLockFromDom("8", 0), std::nullopt);        // the digit row
    EXPECT_EQ(NumLockFromDom("ArrowUp", 0), std::nullopt);  // the arrow keys
    EXPECT_EQ(NumLockFromDom("Enter", 3), std::nullopt);    // the same either way
    EXPECT_EQ(NumLockFromDom("+", 3), std::nullopt);
}

TEST(WebKeys, ScrollingKeysAreKeptFromThePage) {
    for (const char* key : {"ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "PageUp",
                            "PageDown", "Home", "End", " "}) {
        EXPECT_TRUE(ScrollsPage(key)) << key;
    }
    for (const char* key : {"Escape", "8", "a", "Tab", "F5"}) {
        EXPECT_FALSE(ScrollsPage(key)) << key;
    }
}

}  // namespace

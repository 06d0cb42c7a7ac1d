#include "shell/WebKeys.h"

#include <array>

std::optional<bool> NumLockFromDom(std::string_view key, unsigned long location) {
    if (location != DomKeypadLocation) {
        return std::nullopt;
    }
    if ((key.size() == 1 && key[0] >= '0' && key[0] <= '9') || key == "." || key == ",") {
        return true;
    }
    // The names the keypad's digit keys take with the lock off.
    constexpr std::array<std::string_view, 11> Navigation = {
        "Insert", "End", "ArrowDown", "PageDown", "ArrowLeft", "Clear",
        "ArrowRight", "Home", "ArrowUp", "PageUp", "Delete"};
    for (const std::string_view name : Navigation) {
        if (key == name) {
            return false;
        }
    }
    return std::nullopt;
}

bool ScrollsPage(std::string_view key) {
    constexpr std::array<std::string_view, 9> Scrolling = {
        "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "PageUp",
        "PageDown", "Home", "End", " "};
    for (const std::string_view name : Scrolling) {
        if (key == name) {
            return true;
        }
    }
    return false;
}

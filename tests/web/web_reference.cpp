// What the Linux build shows, for the browser tests to hold the page to:
//
//   web_reference message [--arrows]  the start-up alert's text
//   web_reference load LEVEL          the loader's message for LEVEL, exit 1,
//                                     or nothing when it loads
//   web_reference frames LEVEL STEPS  the view's pixels, RGB, 400 x 400, to
//                                     stdout: for k = 0..STEPS forward steps
//                                     two frames, one of each parity, since
//                                     the blinking wall shows on every other
//
// The frames come from the same platform binding and painter as the window's.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "motion/Step.h"
#include "shell/Form1.h"
#include "shell/SdlPlatform.h"
#include "world/LoadLevel.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: web_reference message [--arrows] | load LEVEL | frames LEVEL STEPS\n");
    return 2;
}

bool Load(Module1& state, const char* level) {
    state.View.LevelFileName = level;
    if (const auto error = LoadLevel(state)) {
        std::printf("%s", error->Message.c_str());
        return false;
    }
    return true;
}

void WriteView(SDL_Surface* view) {
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<std::size_t>(ViewSize) * ViewSize * 3);
    for (int y = 0; y < ViewSize; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const unsigned char*>(view->pixels) + y * view->pitch);
        for (int x = 0; x < ViewSize; ++x) {
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(row[x], view->format, &r, &g, &b);
            rgb.insert(rgb.end(), {r, g, b});
        }
    }
    std::fwrite(rgb.data(), 1, rgb.size(), stdout);
}

int Frames(const char* level, int steps) {
    auto state = std::make_unique<Module1>();
    if (!Load(*state, level)) {
        return 1;
    }
    std::string error;
    const auto platform = SdlPlatform::Create(nullptr, error);
    if (!platform) {
        std::fprintf(stderr, "web_reference: %s\n", error.c_str());
        return 1;
    }
    for (int k = 0; k <= steps; ++k) {
        for (int parity = 0; parity < 2; ++parity) {
            Picture1_KeyDown(*state, *platform, 0, 0);  // a frame, no move
            WriteView(platform->FinishFrame());
        }
        Picture1_KeyDown(*state, *platform, KeyCode::Keypad8, 0);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "message" && (argc == 2 || (argc == 3 && std::string(argv[2]) == "--arrows"))) {
        const auto text = argc == 3 ? StartupMessageWithArrows : StartupMessage;
        std::printf("mazewalk\n\n%s", MessageBoxText(text).c_str());
        return 0;
    }
    if (mode == "load" && argc == 3) {
        auto state = std::make_unique<Module1>();
        return Load(*state, argv[2]) ? 0 : 1;
    }
    if (mode == "frames" && argc == 4) {
        return Frames(argv[2], std::atoi(argv[3]));
    }
    return Usage();
}

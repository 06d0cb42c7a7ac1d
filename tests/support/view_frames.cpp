// What this build shows, off-screen, drawn by the same platform binding and
// painter as the window: the reference that another build (Windows under
// Wine, the page in a browser) is held to.
//
//   view_frames hashes LEVEL         one line per frame of a fixed walk: the
//                                    step, the key and a hash of the view
//   view_frames views LEVEL DIR      the views of two short walks from the
//                                    start as raw RGB: DIR/walk-K.rgb after K
//                                    steps forward (K = 0 to 12), DIR/turn-K.rgb
//                                    after K turns right (K = 0 to 20)
//   view_frames frames LEVEL STEPS [KEY]
//                                    raw RGB views to stdout: for k = 0..STEPS
//                                    steps of keypad KEY (8, forward, unless
//                                    given) two frames, one of each parity
//                                    (the blinking wall shows on every other)
//   view_frames message [OPTION...]  the start-up text for --arrows and
//                                    --gamepad as a browser's alert shows it
//   view_frames load LEVEL           the loader's message for LEVEL and exit
//                                    status 1, or nothing when it loads
//
// A view is 400 x 400 pixels, 3 bytes each, row by row.
#define SDL_MAIN_HANDLED  // a plain console main on Windows too
#include <cstdint>
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
                 "usage: view_frames hashes LEVEL | views LEVEL DIR | frames LEVEL STEPS [KEY] |\n"
                 "       message [--arrows] [--gamepad] | load LEVEL\n");
    return 2;
}

// The loaded level, or null with the loader's message on stdout.
std::unique_ptr<Module1> Load(const char* level) {
    auto state = std::make_unique<Module1>();
    state->View.LevelFileName = level;
    if (const auto error = LoadLevel(*state)) {
        std::printf("%s", error->Message.c_str());
        return nullptr;
    }
    return state;
}

std::vector<unsigned char> Rgb(SDL_Surface* view) {
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
    return rgb;
}

bool Write(const std::vector<unsigned char>& rgb, std::FILE* out) {
    return std::fwrite(rgb.data(), 1, rgb.size(), out) == rgb.size();
}

// FNV-1a over the view's RGB bytes.
std::uint64_t Hash(const std::vector<unsigned char>& rgb) {
    std::uint64_t hash = 14695981039346656037u;
    for (const unsigned char byte : rgb) {
        hash = (hash ^ byte) * 1099511628211u;
    }
    return hash;
}

// Walks in, turns right a full circle and more (where a last-bit difference
// in the turn would show), rises, turns back left, walks back and descends.
struct Leg {
    std::int16_t Key;
    int Steps;
};
constexpr Leg Walk[] = {{0, 1},
                        {KeyCode::Keypad8, 12},
                        {KeyCode::Keypad6, 80},
                        {KeyCode::Keypad8, 6},
                        {KeyCode::Keypad7, 5},
                        {KeyCode::Keypad4, 50},
                        {KeyCode::Keypad2, 10},
                        {KeyCode::Keypad1, 9}};

int Hashes(Module1& state, SdlPlatform& platform) {
    int step = 0;
    for (const Leg& leg : Walk) {
        for (int k = 0; k < leg.Steps; ++k, ++step) {
            Picture1_KeyDown(state, platform, leg.Key, 0);
            std::printf("%d %d %016llx\n", step, leg.Key,
                        static_cast<unsigned long long>(Hash(Rgb(platform.FinishFrame()))));
        }
    }
    return 0;
}

// Writes DIR/NAME-K.rgb for the start (K = 0) and after each of count steps
// of key, from a fresh load.
bool Views(const char* level, SdlPlatform& platform, std::int16_t key, int count,
           const std::string& dir, const char* name) {
    auto state = Load(level);
    for (int k = 0; state && k <= count; ++k) {
        Picture1_KeyDown(*state, platform, k == 0 ? std::int16_t{0} : key, 0);
        const std::string path = dir + "/" + name + "-" + std::to_string(k) + ".rgb";
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr || !Write(Rgb(platform.FinishFrame()), out) || std::fclose(out) != 0) {
            std::fprintf(stderr, "view_frames: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return state != nullptr;
}

int Frames(Module1& state, SdlPlatform& platform, int steps, std::int16_t key) {
    for (int k = 0; k <= steps; ++k) {
        for (int parity = 0; parity < 2; ++parity) {
            Picture1_KeyDown(state, platform, 0, 0);  // a frame, no move
            if (!Write(Rgb(platform.FinishFrame()), stdout)) {
                return 1;
            }
        }
        Picture1_KeyDown(state, platform, key, 0);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "message") {
        Form1Options options;
        for (int k = 2; k < argc; ++k) {
            const std::string option = argv[k];
            if (option != "--arrows" && option != "--gamepad") {
                return Usage();
            }
            (option == "--arrows" ? options.Arrows : options.Gamepad) = true;
        }
        std::printf("%s\n\n%s", ProgramName, MessageBoxText(StartupText(options)).c_str());
        return 0;
    }
    // Keypad digits and their codes: 1 to 9 are 97 to 105.
    const int digit = mode == "frames" && argc == 5 ? std::atoi(argv[4]) : 8;
    const bool known = (mode == "load" && argc == 3) || (mode == "hashes" && argc == 3) ||
                       (mode == "views" && argc == 4) ||
                       (mode == "frames" && (argc == 4 || argc == 5) && digit >= 1 && digit <= 9);
    if (!known) {
        return Usage();
    }
    if (mode == "load") {
        return Load(argv[2]) ? 0 : 1;
    }
    std::string error;
    const auto platform = SdlPlatform::Create(nullptr, error);
    if (!platform) {
        std::fprintf(stderr, "view_frames: %s\n", error.c_str());
        return 1;
    }
    if (mode == "views") {
        return Views(argv[2], *platform, KeyCode::Keypad8, 12, argv[3], "walk") &&
                       Views(argv[2], *platform, KeyCode::Keypad6, 20, argv[3], "turn")
                   ? 0
                   : 1;
    }
    const auto state = Load(argv[2]);
    if (!state) {
        return 1;
    }
    return mode == "hashes" ? Hashes(*state, *platform)
                            : Frames(*state, *platform, std::atoi(argv[3]),
                                     static_cast<std::int16_t>(KeyCode::Keypad1 + digit - 1));
}

// Prints one line per frame for a fixed walk through a level: the step, the
// key and a hash of the view's pixels, drawn off-screen by the same code the
// window uses. Built for Linux and for Windows, the two outputs must be the
// same text: tests/win/run.sh compares them. With DIR, it also writes the
// raw RGB views of two short walks from the start, for the end-to-end test
// that compares a window with them: DIR/walk-K.rgb after K steps forward
// (K = 0 to 12), DIR/turn-K.rgb after K turns right (K = 0 to 20).
//   view_frames LEVEL-FILE [DIR]
#define SDL_MAIN_HANDLED  // a plain console main on Windows too
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "motion/Step.h"
#include "shell/SdlPlatform.h"
#include "world/LoadLevel.h"

namespace {

// FNV-1a over the view's RGB bytes, row by row (the surface's pitch may pad).
std::uint64_t ViewHash(SDL_Surface* view) {
    std::uint64_t hash = 14695981039346656037u;
    for (int y = 0; y < view->h; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(view->pixels) + y * view->pitch / 4;
        for (int x = 0; x < view->w; ++x) {
            for (const int shift : {16, 8, 0}) {
                hash = (hash ^ ((row[x] >> shift) & 0xFFu)) * 1099511628211u;
            }
        }
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

std::unique_ptr<Module1> Load(const char* level) {
    auto state = std::make_unique<Module1>();
    state->View.LevelFileName = level;
    if (const auto failure = LoadLevel(*state)) {
        std::fprintf(stderr, "view_frames: %s\n", failure->Message.c_str());
        return nullptr;
    }
    return state;
}

bool WriteView(SDL_Surface* view, const std::string& path) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    for (int y = 0; y < view->h; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(view->pixels) + y * view->pitch / 4;
        for (int x = 0; x < view->w; ++x) {
            const unsigned char rgb[3] = {static_cast<unsigned char>(row[x] >> 16),
                                          static_cast<unsigned char>(row[x] >> 8),
                                          static_cast<unsigned char>(row[x])};
            std::fwrite(rgb, 1, 3, out);
        }
    }
    return std::fclose(out) == 0;
}

// Writes DIR/NAME-K.rgb for the start (K = 0) and after each of count steps
// of key, from a fresh load.
bool DumpWalk(const char* level, SdlPlatform& platform, std::int16_t key, int count,
              const std::string& dir, const char* name) {
    auto state = Load(level);
    if (!state) {
        return false;
    }
    for (int k = 0; k <= count; ++k) {
        Picture1_KeyDown(*state, platform, k == 0 ? std::int16_t{0} : key, 0);
        const std::string path = dir + "/" + name + "-" + std::to_string(k) + ".rgb";
        if (!WriteView(platform.FinishFrame(), path)) {
            std::fprintf(stderr, "view_frames: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: view_frames LEVEL-FILE [DIR]\n");
        return 2;
    }
    std::string error;
    auto platform = SdlPlatform::Create(nullptr, error);
    if (!platform) {
        std::fprintf(stderr, "view_frames: %s\n", error.c_str());
        return 1;
    }
    if (argc == 3 && (!DumpWalk(argv[1], *platform, KeyCode::Keypad8, 12, argv[2], "walk") ||
                      !DumpWalk(argv[1], *platform, KeyCode::Keypad6, 20, argv[2], "turn"))) {
        return 1;
    }
    auto state = Load(argv[1]);
    if (!state) {
        return 1;
    }
    int step = 0;
    for (const Leg& leg : Walk) {
        for (int k = 0; k < leg.Steps; ++k, ++step) {
            Picture1_KeyDown(*state, *platform, leg.Key, 0);
            std::printf("%d %d %016llx\n", step, leg.Key,
                        static_cast<unsigned long long>(ViewHash(platform->FinishFrame())));
        }
    }
    return 0;
}

#include <gtest/gtest.h>

#include <SDL.h>

#include <random>

#include "RasterReference.h"
#include "motion/Step.h"
#include "render/Frame.h"
#include "render/Wall.h"
#include "shell/Form1.h"
#include "shell/Keys.h"
#include "shell/SdlPlatform.h"
#include "world/LoadLevel.h"

namespace {

struct KeyCase {
    SDL_Scancode Scancode;
    SDL_Keycode Sym;
    Uint16 Mod;
    std::int16_t Code;
};

class KeyTable : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyTable, GivesTheVirtualKeyCode) {
    SDL_Keysym key{};
    key.scancode = GetParam().Scancode;
    key.sym = GetParam().Sym;
    key.mod = GetParam().Mod;
    EXPECT_EQ(VirtualKeyCode(key), GetParam().Code);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTable,
    testing::Values(
        // The keypad reports the same symbol whatever the lock: Num Lock decides.
        KeyCase{SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NUM, 104},
        KeyCase{SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NONE, 38},
        KeyCase{SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NUM | KMOD_LSHIFT, 104},
        KeyCase{SDL_SCANCODE_KP_1, SDLK_KP_1, KMOD_NUM, 97},
        KeyCase{SDL_SCANCODE_KP_1, SDLK_KP_1, KMOD_NONE, 35},
        KeyCase{SDL_SCANCODE_KP_2, SDLK_KP_2, KMOD_NUM, 98},
        KeyCase{SDL_SCANCODE_KP_2, SDLK_KP_2, KMOD_NONE, 40},
        KeyCase{SDL_SCANCODE_KP_3, SDLK_KP_3, KMOD_NONE, 34},
        KeyCase{SDL_SCANCODE_KP_4, SDLK_KP_4, KMOD_NUM, 100},
        KeyCase{SDL_SCANCODE_KP_4, SDLK_KP_4, KMOD_NONE, 37},
        KeyCase{SDL_SCANCODE_KP_5, SDLK_KP_5, KMOD_NUM, 101},
        KeyCase{SDL_SCANCODE_KP_5, SDLK_KP_5, KMOD_NONE, 12},
        KeyCase{SDL_SCANCODE_KP_6, SDLK_KP_6, KMOD_NUM, 102},
        KeyCase{SDL_SCANCODE_KP_6, SDLK_KP_6, KMOD_NONE, 39},
        KeyCase{SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM, 103},
        KeyCase{SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NONE, 36},
        KeyCase{SDL_SCANCODE_KP_9, SDLK_KP_9, KMOD_NUM, 105},
        KeyCase{SDL_SCANCODE_KP_9, SDLK_KP_9, KMOD_NONE, 33},
        // Keypad 0 comes after keypad 9 among the scancodes.
        KeyCase{SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM, 96},
        KeyCase{SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NONE, 45},
        KeyCase{SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NUM, 27},
        KeyCase{SDL_SCANCODE_A, SDLK_a, KMOD_NONE, 65},
        KeyCase{SDL_SCANCODE_Z, SDLK_z, KMOD_LSHIFT, 90},
        KeyCase{SDL_SCANCODE_0, SDLK_0, KMOD_NONE, 48},
        KeyCase{SDL_SCANCODE_9, SDLK_9, KMOD_NONE, 57},
        KeyCase{SDL_SCANCODE_F1, SDLK_F1, KMOD_NONE, 112},
        KeyCase{SDL_SCANCODE_F12, SDLK_F12, KMOD_NONE, 123},
        KeyCase{SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_NONE, 16},
        KeyCase{SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_NONE, 17},
        KeyCase{SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE, 18},
        KeyCase{SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE, 37},
        KeyCase{SDL_SCANCODE_UP, SDLK_UP, KMOD_NUM, 38},
        KeyCase{SDL_SCANCODE_RIGHT, SDLK_RIGHT, KMOD_NONE, 39},
        KeyCase{SDL_SCANCODE_DOWN, SDLK_DOWN, KMOD_NONE, 40},
        KeyCase{SDL_SCANCODE_SPACE, SDLK_SPACE, KMOD_NONE, 32},
        KeyCase{SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE, 13},
        KeyCase{SDL_SCANCODE_F13, SDLK_F13, KMOD_NONE, 0}));

TEST(ShiftState, ReadsShiftCtrlAndAltOfEitherSide) {
    EXPECT_EQ(ShiftState(KMOD_NONE), 0);
    EXPECT_EQ(ShiftState(KMOD_RSHIFT), 1);
    EXPECT_EQ(ShiftState(KMOD_LCTRL | KMOD_NUM), 2);
    EXPECT_EQ(ShiftState(KMOD_LSHIFT | KMOD_RCTRL | KMOD_RALT), 7);
}

TEST(MessageBoxText, BreaksAtCarriageReturnsAndExpandsTabsToEightColumns) {
    EXPECT_EQ(MessageBoxText("a\tb\rabcdefgh\tc\r\tx"), "a       b\nabcdefgh        c\n        x");
    const std::string text = MessageBoxText(StartupMessage);
    EXPECT_EQ(text.substr(0, 36), "Author:\n        Dalmerin\nControl:\n  ");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_EQ(text.find_first_of("\r\t"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 20), "        Other - Stop");
}

std::uint32_t PixelAt(SDL_Surface* s, int x, int y) {
    return static_cast<const std::uint32_t*>(s->pixels)[y * (s->pitch / 4) + x];
}

std::uint32_t Colour(SDL_Surface* s, SDL_Color c) {
    return SDL_MapRGB(s->format, c.r, c.g, c.b);
}

TEST(SdlPlatform, DrawsTheSquareAheadOffScreen) {
    std::string error;
    auto platform = SdlPlatform::Create(nullptr, error);
    ASSERT_TRUE(platform) << error;
    Module1 state;
    // Grid 12, flag A of node (10, 12) only: one wall from (-1, 2) to (1, 2).
    std::string level = "12\n";
    for (int node = 0; node < 13 * 13; ++node) {
        level += node == 10 * 13 + 12 ? "1,0\n" : "0,0\n";
    }
    ASSERT_FALSE(ReadLevel(level, "t.dat", state));
    Picture1_KeyDown(state, *platform, 0, 0);
    SDL_Surface* view = platform->FinishFrame();
    ASSERT_EQ(view->w, ViewSize);
    const std::uint32_t background = Colour(view, BackgroundColour);
    const std::uint32_t fill = Colour(view, FillColour);
    const std::uint32_t outline = Colour(view, OutlineColour);
    for (int y = 0; y < ViewSize; ++y) {
        for (int x = 0; x < ViewSize; ++x) {
            const bool border = (x == 100 || x == 300 || y == 100 || y == 300) && x >= 100 &&
                                x <= 300 && y >= 100 && y <= 300;
            const bool inside = x > 100 && x < 300 && y > 100 && y < 300;
            const std::uint32_t expected = border ? outline : inside ? fill : background;
            ASSERT_EQ(PixelAt(view, x, y), expected) << x << ", " << y;
        }
    }
}

TEST(SdlPlatform, ACloseObliqueWallDrawsExactlyItsPixelsAndNoGarbage) {
    std::string error;
    auto platform = SdlPlatform::Create(nullptr, error);
    ASSERT_TRUE(platform) << error;
    Module1 state;
    // Nearly edge-on and barely in front: corners land hundreds of
    // thousands of pixels outside the view.
    state.Walls[1] = {-3, 0.11f, 40, 0.2f, 0};
    state.WallCount = 1;
    const Quad q = ProjectWall(state, 1);
    ASSERT_GT(std::abs(q[2].x), 20000);
    Picture1_KeyDown(state, *platform, 0, 0);
    const Bitmap fill = ReferenceFill(q);
    const Bitmap outline = ReferenceOutline(q);
    SDL_Surface* view = platform->FinishFrame();
    int filled = 0;
    for (int y = 0; y < ViewSize; ++y) {
        for (int x = 0; x < ViewSize; ++x) {
            const auto k = static_cast<std::size_t>(y * ViewSize + x);
            const SDL_Color c = outline[k] ? OutlineColour
                                : fill[k]  ? FillColour
                                           : BackgroundColour;
            ASSERT_EQ(PixelAt(view, x, y), Colour(view, c)) << x << ", " << y;
            filled += fill[k] ? 1 : 0;
        }
    }
    EXPECT_GT(filled, 1000);
}

// Where SDL's software renderer is exact (every corner inside the view), the
// view's pixels are the ones SDL itself draws for the same polygons: two
// triangles P0 P1 P2 and P0 P2 P3, then the closed outline.
TEST(SdlPlatform, PaintsWhatSdlsSoftwareRendererPaints) {
    SDL_SetHint(SDL_HINT_RENDER_LINE_METHOD, "2");
    SDL_Surface* target =
        SDL_CreateRGBSurfaceWithFormat(0, ViewSize, ViewSize, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(target, nullptr) << SDL_GetError();
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    ASSERT_NE(renderer, nullptr) << SDL_GetError();
    std::string error;
    auto platform = SdlPlatform::Create(nullptr, error);
    ASSERT_TRUE(platform) << error;

    std::mt19937 random(99);
    std::uniform_int_distribution<int> coordinate(0, ViewSize - 1);
    for (int frame = 0; frame < 40; ++frame) {
        SDL_SetRenderDrawColor(renderer, BackgroundColour.r, BackgroundColour.g, BackgroundColour.b,
                               255);
        SDL_RenderClear(renderer);
        platform->ClearView();
        for (int wall = 0; wall < 12; ++wall) {
            Quad q;
            // Two draws in a fixed order, top first: the order in which function
            // arguments are evaluated differs between compilers (and std::minmax
            // of two temporaries would return references to dead values).
            const auto span = [&] {
                const int a = coordinate(random);
                const int b = coordinate(random);
                return std::pair<int, int>(std::min(a, b), std::max(a, b));
            };
            if (wall % 2 == 0) {  // as walls project: vertical sides
                const int x1 = coordinate(random);
                const int x2 = coordinate(random);
                const auto [t1, b1] = span();
                const auto [t2, b2] = span();
                q = {{{x1, t1}, {x1, b1}, {x2, b2}, {x2, t2}}};
            } else {
                for (Point& p : q) {
                    p = {coordinate(random), coordinate(random)};
                }
            }
            SDL_Vertex v[6];
            const int order[6] = {0, 1, 2, 0, 2, 3};
            for (int k = 0; k < 6; ++k) {
                v[k].position = {static_cast<float>(q[static_cast<std::size_t>(order[k])].x),
                                 static_cast<float>(q[static_cast<std::size_t>(order[k])].y)};
                v[k].color = FillColour;
                v[k].tex_coord = {0, 0};
            }
            SDL_RenderGeometry(renderer, nullptr, v, 6, nullptr, 0);
            SDL_Point line[5];
            for (int k = 0; k < 5; ++k) {
                line[k] = {q[static_cast<std::size_t>(k % 4)].x,
                           q[static_cast<std::size_t>(k % 4)].y};
            }
            SDL_SetRenderDrawColor(renderer, OutlineColour.r, OutlineColour.g, OutlineColour.b,
                                   255);
            SDL_RenderDrawLines(renderer, line, 5);
            platform->Polygon(q);
        }
        SDL_RenderFlush(renderer);
        SDL_Surface* view = platform->FinishFrame();
        for (int y = 0; y < ViewSize; ++y) {
            for (int x = 0; x < ViewSize; ++x) {
                ASSERT_EQ(PixelAt(view, x, y) & 0xFFFFFFu, PixelAt(target, x, y) & 0xFFFFFFu)
                    << "frame " << frame << " at " << x << ", " << y;
            }
        }
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
}

}  // namespace

#include <gtest/gtest.h>

#include <SDL.h>

#include <random>

#include "motion/Step.h"
#include "render/Frame.h"
#include "render/Wall.h"
#include "shell/Form1.h"
#include "shell/Form1Window.h"
#include "shell/Keys.h"
#include "shell/SdlPlatform.h"
#include "support/LevelFiles.h"
#include "support/RasterReference.h"
#include "support/RecordingPlatform.h"
#include "world/LoadLevel.h"

namespace {

struct KeyCase {
    SDL_Scancode Scancode;
    SDL_Keycode Sym;
    Uint16 Mod;
    std::int16_t Code;
    KeyMode Mode = KeyMode::Keypad;
};

class KeyTable : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyTable, GivesTheVirtualKeyCode) {
    SDL_Keysym key{};
    key.scancode = GetParam().Scancode;
    key.sym = GetParam().Sym;
    key.mod = GetParam().Mod;
    EXPECT_EQ(VirtualKeyCode(key, GetParam().Mode), GetParam().Code);
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
        KeyCase{SDL_SCANCODE_F13, SDLK_F13, KMOD_NONE, 0},
        KeyCase{SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, KMOD_NONE, 33},
        KeyCase{SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, KMOD_NONE, 34},
        // --arrows: arrow and page keys are the keypad keys in their places,
        // and the keypad acts by position whatever Num Lock says.
        KeyCase{SDL_SCANCODE_UP, SDLK_UP, KMOD_NONE, 104, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_DOWN, SDLK_DOWN, KMOD_NUM, 98, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE, 100, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_RIGHT, SDLK_RIGHT, KMOD_NONE, 102, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, KMOD_NONE, 103, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, KMOD_NONE, 97, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NONE, 103, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NUM, 104, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_KP_5, SDLK_KP_5, KMOD_NONE, 101, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_HOME, SDLK_HOME, KMOD_NONE, 36, KeyMode::KeypadAndArrows},
        KeyCase{SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE, 27, KeyMode::KeypadAndArrows}));

TEST(ShiftState, ReadsShiftCtrlAndAltOfEitherSide) {
    EXPECT_EQ(ShiftState(KMOD_NONE), 0);
    EXPECT_EQ(ShiftState(KMOD_RSHIFT), 1);
    EXPECT_EQ(ShiftState(KMOD_LCTRL | KMOD_NUM), 2);
    EXPECT_EQ(ShiftState(KMOD_LSHIFT | KMOD_RCTRL | KMOD_RALT), 7);
}

TEST(MessageBoxText, BreaksAtCarriageReturnsAndExpandsTabsToEightColumns) {
    EXPECT_EQ(MessageBoxText("a\tb\rabcdefgh\tc\r\tx"), "a       b\nabcdefgh        c\n        x");
}

// The start-up text whole, byte for byte: pieces joined by CR (13) and TAB (9),
// with no line feed; then as the message box shows it. Literals, not a chain
// of std::string operator+, which GCC 12 warns about in an optimised build.
TEST(StartupMessage, IsTheKeyListToTheByte) {
    EXPECT_EQ(StartupMessage,
              "Author:\x0d\x09"
              "Dalmerin\x0d"
              "Control:\x0d\x09"
              "Num1 - Down\x0d\x09"
              "Num7 - Up\x0d\x09"
              "Num2 - Back\x0d\x09"
              "Num8 - Forward\x0d\x09"
              "Num4 - Left\x0d\x09"
              "Num6 - Right\x0d\x09"
              "Esc - Exit\x0d\x09"
              "Other - Stop");
    EXPECT_EQ(MessageBoxText(StartupMessage),
              "Author:\n        Dalmerin\nControl:\n        Num1 - Down\n        Num7 - Up\n"
              "        Num2 - Back\n        Num8 - Forward\n        Num4 - Left\n"
              "        Num6 - Right\n        Esc - Exit\n        Other - Stop");
}

// With --arrows: the same text, the arrow and page keys listed after the
// keypad's, in the keypad's order.
TEST(StartupMessage, WithArrowsListsThemAfterTheKeypad) {
    const std::string_view keypadEnd = "Num6 - Right\x0d";
    const std::size_t cut = StartupMessage.find(keypadEnd) + keypadEnd.size();
    std::string expected(StartupMessage.substr(0, cut));
    expected +=
        "\x09"
        "PgDn - Down\x0d"
        "\x09"
        "PgUp - Up\x0d"
        "\x09"
        "Down - Back\x0d"
        "\x09"
        "Up - Forward\x0d"
        "\x09"
        "Left - Left\x0d"
        "\x09"
        "Right - Right\x0d";
    expected += StartupMessage.substr(cut);
    EXPECT_EQ(StartupMessageWithArrows, expected);
}

// Start-up through the platform: the message first, then ticks against a
// stand-in clock. The window keeps its first title for every tick before a
// whole second of the rate clock has passed (however late in the day the
// clock reads, where a float holds it only to 1/128 s), and the rate shows at
// the first tick after, counting every frame since Form_Load.
TEST(Form_Load, TheFirstTitleStaysUntilAWholeSecondHasPassed) {
    const ScratchFolder folder;
    const std::string level = folder.Write("empty.dat", "0\n0,0\n");
    for (const double start : {0.0, 86399.0}) {
        Module1 state;
        RecordingPlatform platform;
        platform.Now = start;
        Form1Options options;
        options.LevelFileName = level;
        std::string failure;
        ASSERT_TRUE(Form_Load(state, platform, options, failure)) << failure;
        EXPECT_EQ(platform.Messages, std::vector<std::string>{std::string(StartupMessage)});
        for (int tick = 1; tick < 128; ++tick) {
            platform.Now = start + tick / 128.0;
            Timer1_Timer(state, platform);
        }
        platform.Now = start + 1 - 1e-6;
        Timer1_Timer(state, platform);
        EXPECT_TRUE(platform.Titles.empty()) << "clock started at " << start;
        platform.Now = start + 1;
        Timer1_Timer(state, platform);
        EXPECT_EQ(platform.Titles, std::vector<std::string>{" 129 fps"})
            << "clock started at " << start;
    }
}

std::uint32_t PixelAt(SDL_Surface* s, int x, int y) {
    return static_cast<const std::uint32_t*>(s->pixels)[y * (s->pitch / 4) + x];
}

std::uint32_t Colour(SDL_Surface* s, SDL_Color c) {
    return SDL_MapRGB(s->format, c.r, c.g, c.b);
}

// Grid 12, flag A of node (10, 12) only: one wall from (-1, 2) to (1, 2).
std::string SquareAheadLevel() {
    return GridLevel("12", 12, {{10, 12, 'A'}});
}

TEST(SdlPlatform, DrawsTheSquareAheadOffScreen) {
    std::string error;
    auto platform = SdlPlatform::Create(nullptr, error);
    ASSERT_TRUE(platform) << error;
    Module1 state;
    ASSERT_FALSE(ReadLevel(SquareAheadLevel(), "t.dat", state));
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
            if (wall % 2 == 0) {  // as walls project: vertical sides
                const int x1 = coordinate(random);
                const int x2 = coordinate(random);
                // One draw per statement: the order of a call's arguments is
                // unspecified, and the quads must not change with the compiler.
                const int y1 = coordinate(random);
                const int y2 = coordinate(random);
                const int y3 = coordinate(random);
                const int y4 = coordinate(random);
                q = {{{x1, std::min(y1, y2)},
                      {x1, std::max(y1, y2)},
                      {x2, std::max(y3, y4)},
                      {x2, std::min(y3, y4)}}};
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

// The real window code on SDL's offscreen video driver, which needs no
// display: what a window shows, read back from its surface.
class OffscreenWindow : public testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        // As the program does: the window surface in memory, with no GL
        // renderer behind it.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "no offscreen video driver: " << SDL_GetError();
        }
    }
    void TearDown() override {
        Platform.reset();
        if (Window != nullptr) {
            SDL_DestroyWindow(Window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // A window at the scale of the test, its view and the square-ahead level.
    void Open() {
        Window = SDL_CreateWindow("B", 0, 0, FormWidth * GetParam(), FormHeight * GetParam(),
                                  SDL_WINDOW_HIDDEN);
        ASSERT_NE(Window, nullptr) << SDL_GetError();
        std::string error;
        Platform = SdlPlatform::Create(Window, error);
        ASSERT_TRUE(Platform) << error;
        ASSERT_FALSE(ReadLevel(SquareAheadLevel(), "t.dat", State));
    }

    SDL_Window* Window = nullptr;
    std::unique_ptr<SdlPlatform> Platform;
    Module1 State;
};

// Every pixel of the 400 x 400 frame is an N x N block of the window, exactly
// where the view sits at that scale; the frame around it is scaled too.
TEST_P(OffscreenWindow, ShowsEachPixelOfTheFrameAsABlockOfTheScale) {
    const int scale = GetParam();
    ASSERT_NO_FATAL_FAILURE(Open());
    SDL_Window* window = Window;
    SdlPlatform* platform = Platform.get();
    Module1& state = State;
    Form1Window form(window, *platform, scale);
    Picture1_KeyDown(state, *platform, 0, 0);
    form.PaintAll();
    for (const std::int16_t key : {KeyCode::Keypad6, KeyCode::Keypad2}) {
        Picture1_KeyDown(state, *platform, key, 0);
        form.PresentView();
    }
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    ASSERT_EQ(shown->w, FormWidth * scale);
    SDL_Surface* view = platform->FinishFrame();
    for (int y = 0; y < ViewSize * scale; ++y) {
        for (int x = 0; x < ViewSize * scale; ++x) {
            Uint8 r1, g1, b1, r2, g2, b2;
            SDL_GetRGB(PixelAt(view, x / scale, y / scale), view->format, &r1, &g1, &b1);
            SDL_GetRGB(PixelAt(shown, ViewLeft * scale + x, ViewTop * scale + y), shown->format,
                       &r2, &g2, &b2);
            ASSERT_TRUE(r1 == r2 && g1 == g2 && b1 == b2) << x << ", " << y;
        }
    }
    // The corners of the client area: the face of the form.
    EXPECT_EQ(PixelAt(shown, 0, 0), PixelAt(shown, FormWidth * scale - 1, FormHeight * scale - 1));
    EXPECT_EQ(form.Presents(), 3);
}

INSTANTIATE_TEST_SUITE_P(Scales, OffscreenWindow, testing::Values(1, 2, 3));

// Standing still, a tick composes a frame but hands nothing to the screen; a
// step, or the blinking fifth wall in view, does.
TEST_P(OffscreenWindow, PresentsOnlyFramesThatChange) {
    ASSERT_NO_FATAL_FAILURE(Open());
    SdlPlatform* platform = Platform.get();
    Module1& state = State;
    Form1Window form(Window, *platform, GetParam());
    const auto step = [&](std::int16_t key) {
        Picture1_KeyDown(state, *platform, key, 0);
        form.PresentView();
        return form.Presents();
    };
    form.PaintAll();
    EXPECT_EQ(step(0), 2);                   // the first frame
    EXPECT_EQ(step(0), 2);                   // standing still
    EXPECT_EQ(step(KeyCode::Keypad8), 3);    // a step forward
    EXPECT_EQ(step(101), 3);                 // keypad 5 stops: the same view
    EXPECT_EQ(step(state.View.LastKey), 3);  // and the ticks after it
    for (int i = 2; i <= 5; ++i) {           // a fifth wall in view, left of wall 1, blinks
        state.Walls[i] = {-10, 9.0f + static_cast<float>(i), -8, 9.0f + static_cast<float>(i), 0};
    }
    state.WallCount = 5;
    EXPECT_EQ(step(0), 4);
    EXPECT_EQ(step(0), 5);
    form.PaintAll();  // an expose repaints whatever the frame
    EXPECT_EQ(form.Presents(), 6);
}

}  // namespace

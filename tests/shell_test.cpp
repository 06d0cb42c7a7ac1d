#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <random>

#include "motion/Step.h"
#include "render/Frame.h"
#include "render/Wall.h"
#include "shell/Form1.h"
#include "shell/Form1Window.h"
#include "shell/Gamepads.h"
#include "shell/Keys.h"
#include "shell/PadKeys.h"
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

// With --gamepad the pad's lines come after the keypad's (and the arrows'),
// before Esc; without it the text is the plain one to the byte.
TEST(StartupMessage, WithGamepadListsThePadBeforeEsc) {
    const std::string pad =
        "\tPad LB/LT - Down\r\tPad RB/RT - Up\r\tPad Down - Back\r\tPad Up - Forward\r"
        "\tPad Left - Left\r\tPad Right - Right\r\tPad Back - Exit\r";
    const std::string end = "\tEsc - Exit\r\tOther - Stop";
    for (const bool arrows : {false, true}) {
        Form1Options options;
        options.Arrows = arrows;
        const std::string plain(arrows ? StartupMessageWithArrows : StartupMessage);
        EXPECT_EQ(StartupText(options), plain);
        options.Gamepad = true;
        EXPECT_EQ(StartupText(options), plain.substr(0, plain.size() - end.size()) + pad + end);
    }
}

// The pad's rules alone, one control at a time, as a person would move it:
// each step's code, or -1 for none.
TEST(PadKeys, SendsACodeOnceWhenAControlBecomesActiveAndStopsWhenTheLastLetsGo) {
    enum Kind { Button, Axis, Removed };
    struct Step {
        const char* What;
        Kind How;
        int Which;  // a PadButton or a PadAxis
        int Value;  // pressed (1) or not, or where the axis is
        int Code;
    };
    constexpr int Quarter = PadAxisTravel / 4;
    constexpr int Fifth = PadAxisTravel / 5;
    constexpr int Y = static_cast<int>(PadAxis::StickY);
    constexpr int X = static_cast<int>(PadAxis::StickX);
    constexpr int RT = static_cast<int>(PadAxis::RightTrigger);
    constexpr int LT = static_cast<int>(PadAxis::LeftTrigger);
    const Step steps[] = {
        {"the stick up to a quarter: not yet", Axis, Y, -Quarter, -1},
        {"the stick up past a quarter: forward", Axis, Y, -Quarter - 1, 104},
        {"further up: already active", Axis, Y, -PadAxisTravel, -1},
        {"back to a fifth: still held", Axis, Y, -Fifth - 1, -1},
        {"a diagonal, x farther: turn left", Axis, X, -Fifth - 2, 100},
        {"x past the centre, y farther again: forward", Axis, X, Fifth, 104},
        {"y below a fifth, x too: let go, stop", Axis, Y, -Fifth + 1, 101},
        {"x to a fifth again: not past a quarter", Axis, X, Fifth + 1, -1},
        {"x past a quarter: turn right", Axis, X, Quarter + 1, 102},
        {"the stick down, farther: back", Axis, Y, PadAxisTravel, 98},
        {"the right trigger to half: not yet", Axis, RT, PadAxisTravel / 2, -1},
        {"past half: rise, the stick still held", Axis, RT, PadAxisTravel / 2 + 1, 103},
        {"x let go: still back", Axis, X, 0, -1},
        {"the stick let go: the trigger still held", Axis, Y, 0, -1},
        {"the trigger let go, the last: stop", Axis, RT, 0, 101},
        {"the left shoulder: descend", Button, static_cast<int>(PadButton::LeftShoulder), 1, 97},
        {"the left trigger too: descend again", Axis, LT, PadAxisTravel, 97},
        {"the shoulder let go, the trigger held", Button, static_cast<int>(PadButton::LeftShoulder),
         0, -1},
        {"the d-pad up: forward", Button, static_cast<int>(PadButton::Up), 1, 104},
        {"pulled out while held: stop", Removed, 0, 0, 101},
        {"the d-pad left after it comes back: turn left", Button, static_cast<int>(PadButton::Left),
         1, 100},
        {"let go: stop", Button, static_cast<int>(PadButton::Left), 0, 101},
        {"pulled out with nothing held: nothing", Removed, 0, 0, -1},
        {"a button with no command: nothing", Button, static_cast<int>(PadButton::Other), 1, -1},
        {"Back: Esc", Button, static_cast<int>(PadButton::Back), 1, 27},
        {"Back let go: nothing", Button, static_cast<int>(PadButton::Back), 0, -1},
    };
    PadKeys pad;
    for (const Step& step : steps) {
        std::optional<std::int16_t> code;
        switch (step.How) {
            case Button:
                code = pad.Button(static_cast<PadButton>(step.Which), step.Value != 0);
                break;
            case Axis:
                code = pad.Axis(static_cast<PadAxis>(step.Which), step.Value);
                break;
            case Removed:
                code = pad.Removed();
                break;
        }
        EXPECT_EQ(code.value_or(-1), step.Code) << step.What;
    }
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

// A pad through SDL's virtual joystick on the offscreen driver, as the event
// loop routes it: each control's frames are the frames of the keypad key it
// stands for, pressed, ticked, then keypad 5 when it is let go.
struct PadCase {
    const char* What;
    bool IsAxis;
    int Which;          // an SDL_GameControllerButton, or the joystick axis of the virtual pad
    int Held;           // the axis's value while held
    std::int16_t Code;  // the keypad key, or 0 when nothing is sent
};

class PadTable : public testing::TestWithParam<PadCase> {
  protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        // The offscreen window never has the focus pads otherwise wait for.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "no offscreen video driver: " << SDL_GetError();
        }
        Pads = std::make_unique<Gamepads>();
        ASSERT_TRUE(Pads->Started()) << SDL_GetError();
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.name = "mazewalk test pad";
        Device = SDL_JoystickAttachVirtualEx(&pad);
        ASSERT_GE(Device, 0) << SDL_GetError();
        Joystick = SDL_JoystickOpen(Device);
        ASSERT_NE(Joystick, nullptr) << SDL_GetError();
        for (const int trigger :
             {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT}) {
            SDL_JoystickSetVirtualAxis(Joystick, trigger, SDL_JOYSTICK_AXIS_MIN);  // let go
        }
        ASSERT_FALSE(ReadLevel(SquareAheadLevel(), "t.dat", Pad.State));
        ASSERT_FALSE(ReadLevel(SquareAheadLevel(), "t.dat", Keypad.State));
        Pump();
        ASSERT_EQ(Pads->Count(), 1U);
        ASSERT_TRUE(Pad.Frames.empty()) << "the pad sent a code when plugged in";
    }
    void TearDown() override {
        Pads.reset();
        if (Joystick != nullptr) {
            SDL_JoystickClose(Joystick);
        }
        if (Device >= 0) {
            SDL_JoystickDetachVirtual(Device);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    struct Walk {
        Module1 State;
        RecordingPlatform Platform;
        std::vector<std::vector<Quad>> Frames;
        void Step(std::int16_t code) {
            Form_KeyDown(State, Platform, code, 0);
            Frames.push_back(Platform.FramePolygons);
        }
        void Ticks(int count) {
            for (int i = 0; i < count; ++i) {
                Timer1_Timer(State, Platform);
                Frames.push_back(Platform.FramePolygons);
            }
        }
    };

    // Every event that came, through the pads, into the pad's walk.
    void Pump() {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (const auto code = Pads->Handle(event)) {
                Pad.Step(*code);
            }
        }
    }
    void Set(const PadCase& c, bool held) {
        if (c.IsAxis) {
            const bool trigger = c.Which == SDL_CONTROLLER_AXIS_TRIGGERLEFT ||
                                 c.Which == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
            const int rest = trigger ? SDL_JOYSTICK_AXIS_MIN : 0;
            SDL_JoystickSetVirtualAxis(Joystick, c.Which,
                                       static_cast<Sint16>(held ? c.Held : rest));
        } else {
            SDL_JoystickSetVirtualButton(Joystick, c.Which, held ? 1 : 0);
        }
        Pump();
    }

    std::unique_ptr<Gamepads> Pads;
    int Device = -1;
    SDL_Joystick* Joystick = nullptr;
    Walk Pad;
    Walk Keypad;
};

TEST_P(PadTable, WalksFrameForFrameAsTheKeypadKey) {
    const PadCase& c = GetParam();
    Set(c, true);
    Pad.Ticks(3);
    Set(c, false);
    Pad.Ticks(2);
    if (c.Code != 0) {
        Keypad.Step(c.Code);
    }
    Keypad.Ticks(3);
    if (c.Code != 0 && c.Code != 27) {
        Keypad.Step(101);
    }
    Keypad.Ticks(2);
    EXPECT_EQ(Pad.Frames, Keypad.Frames);
    EXPECT_EQ(Pad.State.View.LastKey, Keypad.State.View.LastKey);
    EXPECT_EQ(Pad.State.View.EyeHeight, Keypad.State.View.EyeHeight);
    EXPECT_EQ(Pad.Platform.Ended, Keypad.Platform.Ended);
}

// The stick's axes are the virtual pad's 0 (x) and 1 (y), the triggers' 4
// (left) and 5 (right), as SDL maps a virtual pad.
INSTANTIATE_TEST_SUITE_P(
    Controls, PadTable,
    testing::Values(PadCase{"d-pad up", false, SDL_CONTROLLER_BUTTON_DPAD_UP, 0, 104},
                    PadCase{"d-pad down", false, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0, 98},
                    PadCase{"d-pad left", false, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, 100},
                    PadCase{"d-pad right", false, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, 102},
                    PadCase{"right shoulder", false, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0, 103},
                    PadCase{"left shoulder", false, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, 97},
                    PadCase{"Back", false, SDL_CONTROLLER_BUTTON_BACK, 0, 27},
                    PadCase{"A: no command", false, SDL_CONTROLLER_BUTTON_A, 0, 0},
                    PadCase{"stick up", true, SDL_CONTROLLER_AXIS_LEFTY, -30000, 104},
                    PadCase{"stick down", true, SDL_CONTROLLER_AXIS_LEFTY, 30000, 98},
                    PadCase{"stick left", true, SDL_CONTROLLER_AXIS_LEFTX, -30000, 100},
                    PadCase{"stick right", true, SDL_CONTROLLER_AXIS_LEFTX, 30000, 102},
                    PadCase{"stick up a little: nothing", true, SDL_CONTROLLER_AXIS_LEFTY, -8000,
                            0},
                    PadCase{"right stick: nothing", true, SDL_CONTROLLER_AXIS_RIGHTY, -30000, 0},
                    PadCase{"right trigger", true, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767, 103},
                    PadCase{"left trigger", true, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, 97},
                    PadCase{"left trigger below half: nothing", true,
                            SDL_CONTROLLER_AXIS_TRIGGERLEFT, -1000, 0}));

// A pad pulled out while held stops the walk, and is dropped.
TEST_F(PadTable, APadPulledOutWhileHeldStops) {
    Set({"d-pad up", false, SDL_CONTROLLER_BUTTON_DPAD_UP, 0, 104}, true);
    SDL_JoystickClose(Joystick);
    Joystick = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(Device), 0) << SDL_GetError();
    Device = -1;
    Pump();
    EXPECT_EQ(Pads->Count(), 0U);
    EXPECT_EQ(Pad.State.View.LastKey, 101);
}

// The display variables set empty (to SDL and Xlib as good as unset) while
// it lives, so that no message box can wait for a click.
class NoDisplayVariables {
  public:
    NoDisplayVariables() {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
            const char* value = SDL_getenv(name);
            Saved[name] = value != nullptr ? value : "";
            SDL_setenv(name, "", 1);
        }
    }
    ~NoDisplayVariables() {
        for (const auto& [name, value] : Saved) {
            SDL_setenv(name.c_str(), value.c_str(), 1);
        }
    }
    NoDisplayVariables(const NoDisplayVariables&) = delete;
    NoDisplayVariables& operator=(const NoDisplayVariables&) = delete;

  private:
    std::map<std::string, std::string> Saved;
};

// The program a step at a time, as the page runs it from the browser's
// timers: each step asks for a wait of at most one tick, and the close box
// ends it. Without a display, the start-up message goes to stdout instead of
// a box that would wait for a click; on Windows it would always be a box.
TEST(Form1Run, WaitsAtMostATickBetweenStepsAndEndsAtTheCloseBox) {
#ifdef _WIN32
    GTEST_SKIP() << "the start-up message would wait in a message box";
#endif
    const NoDisplayVariables noDisplay;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    const ScratchFolder folder;
    Form1Options options;
    options.LevelFileName = folder.Write("t.dat", SquareAheadLevel());
    int status = -1;
    std::unique_ptr<Form1Run> run = Form1Run::Start(options, status);
    ASSERT_TRUE(run);
    EXPECT_EQ(status, 0);
    const auto tick = static_cast<std::uint32_t>(TickSeconds * 1000);
    for (int step = 0; step < 25; ++step) {
        const auto wait = run->Step();
        ASSERT_TRUE(wait.has_value());
        ASSERT_LE(*wait, tick) << "step " << step;
        SDL_Delay(*wait);
    }
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1) << SDL_GetError();
    EXPECT_FALSE(run->Step().has_value());
}

// A start that fails ends before its first tick with RunForm1's status, and
// leaves SDL as it found it, so the next start works.
TEST(Form1Run, AStartThatFailsGivesTheProgramsStatus) {
#ifdef _WIN32
    GTEST_SKIP() << "the failure would wait in a message box";
#endif
    const NoDisplayVariables noDisplay;
    const ScratchFolder folder;
    const std::string level = folder.Write("t.dat", SquareAheadLevel());
    struct StartCase {
        std::string Level;
        int Scale;
        int Status;
    };
    for (const StartCase& c : {StartCase{folder.Path.string() + "/none.dat", 1, 1},
                               StartCase{folder.Write("bad.dat", "x\n"), 1, 1},
                               StartCase{level, LargestScale, 2}, StartCase{level, 1, 0}}) {
        // Each start that names no driver puts its own list in at this priority.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
        Form1Options options;
        options.LevelFileName = c.Level;
        options.Scale = c.Scale;
        int status = -1;
        const std::unique_ptr<Form1Run> run = Form1Run::Start(options, status);
        EXPECT_EQ(status, c.Status) << c.Level << " at scale " << c.Scale;
        EXPECT_EQ(run != nullptr, c.Status == 0) << c.Level;
    }
}

}  // namespace

#include "shell/Form1.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "motion/Step.h"
#include "shell/Form1Window.h"
#include "shell/Gamepads.h"
#include "shell/Keys.h"
#include "shell/SdlPlatform.h"
#include "shell/WindowIcon.h"
#include "world/LoadLevel.h"

namespace {

// Reports a failure that ends the program: an error box where one can be
// shown, and always the same line on stderr.
void ShowFailure(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", ProgramName, message.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, ProgramName, message.c_str(), nullptr);
}

// Runs ticks every TickSeconds against deadlines on this one thread, handling
// events while waiting, until the program is ended. pads is null without
// --gamepad.
void RunEventLoop(Module1& state, SdlPlatform& platform, Form1Window& form, KeyMode keys,
                  Gamepads* pads) {
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const auto period = static_cast<Uint64>(static_cast<double>(frequency) * TickSeconds);
    Uint64 next = SDL_GetPerformanceCounter() + period;

    const auto handle = [&](const SDL_Event& event) {
        switch (event.type) {
            case SDL_KEYDOWN:  // auto-repeats included: each one is a step
                Form_KeyDown(state, platform, VirtualKeyCode(event.key.keysym, keys),
                             ShiftState(event.key.keysym.mod));
                if (!platform.Ended()) {
                    form.PresentView();
                }
                break;
            case SDL_QUIT:  // the close box: ends the program as Esc does
                platform.EndProgram();
                break;
            case SDL_WINDOWEVENT:
                // A full screen's window may be given its size after it shows.
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                    form.PaintAll();
                }
                break;
            default:
                // A pad's control, through the same step as a key.
                if (pads == nullptr) {
                    break;
                }
                if (const auto code = pads->Handle(event)) {
                    Form_KeyDown(state, platform, *code, 0);
                    if (!platform.Ended()) {
                        form.PresentView();
                    }
                }
                break;
        }
    };

    while (!platform.Ended()) {
        const Uint64 now = SDL_GetPerformanceCounter();
        if (now >= next) {
            Timer1_Timer(state, platform);
            if (platform.Ended()) {
                break;
            }
            form.PresentView();
            // The next deadline is fixed by the last one, so waking late never
            // slows the rate; but a tick missed by a whole period is dropped
            // rather than caught up in a burst.
            next += period;
            const Uint64 after = SDL_GetPerformanceCounter();
            if (next <= after) {
                next = after + period;
            }
        } else {
            // Sleep to just after the deadline (SDL sleeps in whole ms). Not
            // SDL_WaitEventTimeout: on X11 it wakes itself with an event sent
            // to our window through a second connection, and when Esc ends
            // such a wait that event can reach the server after the window is
            // destroyed; Xlib then reports BadWindow at SDL_Quit and ends the
            // program with status 1.
            SDL_Delay(static_cast<Uint32>(((next - now) * 1000 + frequency - 1) / frequency));
        }
        // Every event that came meanwhile, after every tick and every sleep,
        // so a slow machine never leaves the keys unread.
        SDL_Event event;
        while (!platform.Ended() && SDL_PollEvent(&event) != 0) {
            handle(event);
        }
    }
}

}  // namespace

std::string StartupText(const Form1Options& options) {
    std::string text(options.Arrows ? StartupMessageWithArrows : StartupMessage);
    if (options.Gamepad) {
        const std::size_t end = text.find("\tEsc - Exit");
        text.insert(end, std::string(StartupGamepadLines) + "\r");
    }
    return text;
}

bool Form_Load(Module1& state, PlatformServices& platform, const Form1Options& options,
               std::string& failure) {
    platform.ShowMessage(StartupText(options));
    state.View.MoveStep = MoveStepStart;
    state.View.TurnStep = TurnStepStart;
    state.View.EyeHeight = EyeHeightStart;
    state.View.LevelFileName = options.LevelFileName;
    if (const auto error = LoadLevel(state)) {
        failure = error->Message;
        return false;
    }
    state.Frame.RateStart = platform.Seconds();
    state.Frame.RateFrames = 0;
    return true;
}

void Timer1_Timer(Module1& state, PlatformServices& platform) {
    Picture1_KeyDown(state, platform, state.View.LastKey, 0);
}

void Form_KeyDown(Module1& state, PlatformServices& platform, std::int16_t keyCode,
                  std::int16_t shift) {
    Picture1_KeyDown(state, platform, keyCode, shift);
}

int LargestScaleFitting(int width, int height) {
    return std::clamp(std::min(width / FormWidth, height / FormHeight), 0, LargestScale);
}

namespace {

// A scale above 1 must fit the display's usable area, known once the video
// system runs; refused before any window opens.
bool ScaleFits(int scale) {
    SDL_Rect usable{};
    if (scale == 1 || SDL_GetDisplayUsableBounds(0, &usable) != 0) {
        return true;
    }
    const int largest = LargestScaleFitting(usable.w, usable.h);
    if (scale <= largest) {
        return true;
    }
    std::fprintf(stderr,
                 "%s: --scale %d makes a window of %d x %d pixels, larger than the screen's "
                 "%d x %d; the largest scale that fits is %d\n",
                 ProgramName, scale, FormWidth * scale, FormHeight * scale, usable.w, usable.h,
                 largest);
    return false;
}

// Whether a video driver was named on purpose, by the SDL_VIDEODRIVER
// variable or SDL's hint (SDL reads the one through the other). Asked before
// SDL starts.
bool VideoDriverNamed() {
    const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return named != nullptr && *named != '\0';
}

bool IsSet(const char* variable) {
    const char* value = SDL_getenv(variable);
    return value != nullptr && *value != '\0';
}

// The drivers SDL may try when none is named: those that show a window. Left
// to itself, SDL falls back to a driver that shows nothing (offscreen, dummy)
// where no display can be reached, and the program would run unseen until
// killed. Wayland is left out where no compositor can be named, since its
// library then prints a complaint of its own on stderr.
std::string WindowDrivers() {
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string driver = SDL_GetVideoDriver(i);
        if (driver == "offscreen" || driver == "dummy" || driver == "evdev" ||
            (driver == "wayland" && !IsSet("WAYLAND_DISPLAY") && !IsSet("XDG_RUNTIME_DIR"))) {
            continue;
        }
        drivers += (drivers.empty() ? "" : ",") + driver;
    }
    return drivers;
}

// What is missing when no driver that shows a window could start.
std::string NoDisplay() {
    std::string named;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        if (IsSet(variable)) {
            named +=
                std::string(named.empty() ? "" : " and ") + variable + "=" + SDL_getenv(variable);
        }
    }
    if (named.empty()) {
        return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set, and the window needs one";
    }
    return "cannot reach the display of " + named + " (" + SDL_GetError() +
           "), and the window needs one";
}

// The scale of a full screen, with the display's bounds: the largest the
// display holds, and 1 on a display smaller than the client area (which then
// shows its middle).
int FullscreenScale(SDL_Rect& bounds) {
    if (SDL_GetDisplayBounds(0, &bounds) != 0) {
        bounds = {0, 0, FormWidth, FormHeight};
    }
    return std::max(LargestScaleFitting(bounds.w, bounds.h), 1);
}

}  // namespace

int RunForm1(const Form1Options& options) {
    // Without framebuffer acceleration SDL hands our pixels straight to the
    // X server, which costs far less at 100 frames a second than a GL
    // renderer doing the same copy.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // On Windows: our pixels are the screen's, not stretched and blurred by
    // the system at 125 % or 150 % scaling. Other systems ignore it.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    const bool driverNamed = VideoDriverNamed();
    if (!driverNamed) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, WindowDrivers().c_str(), SDL_HINT_OVERRIDE);
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        if (driverNamed) {
            ShowFailure(std::string("cannot start the video system: ") + SDL_GetError());
        } else {
            // Not in a box: there is nowhere to show one.
            std::fprintf(stderr, "%s: %s\n", ProgramName, NoDisplay().c_str());
        }
        return 1;
    }
    if (!ScaleFits(options.Scale)) {
        SDL_Quit();
        return 2;
    }
    int scale = options.Scale;
    SDL_Rect size{0, 0, FormWidth * scale, FormHeight * scale};
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (options.Fullscreen) {
        scale = FullscreenScale(size);
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    SDL_Window* window = SDL_CreateWindow("B", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          size.w, size.h, flags);
    if (window == nullptr) {
        ShowFailure(std::string("cannot create the window: ") + SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SetWindowIcon(window);
    std::string failure;
    std::unique_ptr<SdlPlatform> platform = SdlPlatform::Create(window, failure);
    auto state = std::make_unique<Module1>();
    // Started before the message, so the first frame waits for nothing; where
    // pads cannot be opened the program runs as without them.
    std::unique_ptr<Gamepads> pads;
    if (options.Gamepad) {
        pads = std::make_unique<Gamepads>();
    }
    int status = 0;
    if (!platform || !Form_Load(*state, *platform, options, failure)) {
        ShowFailure(failure);
        status = 1;
    } else {
        Form1Window form(window, *platform, scale);
        SDL_ShowWindow(window);
        form.PaintAll();
        RunEventLoop(*state, *platform, form,
                     options.Arrows ? KeyMode::KeypadAndArrows : KeyMode::Keypad, pads.get());
    }
    pads.reset();
    platform.reset();
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}

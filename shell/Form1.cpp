#include "shell/Form1.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

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

// Everything a started program runs on, made in this order and ended in the
// reverse one by the destructor.
struct Form1Run::Parts {
    SDL_Window* Window = nullptr;
    std::unique_ptr<SdlPlatform> Platform;
    std::unique_ptr<Module1> State;
    // Null without --gamepad.
    std::unique_ptr<Gamepads> Pads;
    std::unique_ptr<Form1Window> Form;
    KeyMode Keys = KeyMode::Keypad;
    // The tick's deadlines on SDL's performance counter.
    Uint64 Frequency = 0;
    Uint64 Period = 0;
    Uint64 Next = 0;

    ~Parts() {
        Form.reset();
        Pads.reset();
        Platform.reset();
        if (Window != nullptr) {
            SDL_DestroyWindow(Window);
        }
        SDL_Quit();
    }

    void Handle(const SDL_Event& event) {
        switch (event.type) {
            case SDL_KEYDOWN:  // auto-repeats included: each one is a step
                Form_KeyDown(*State, *Platform, VirtualKeyCode(event.key.keysym, Keys),
                             ShiftState(event.key.keysym.mod));
                if (!Platform->Ended()) {
                    Form->PresentView();
                }
                break;
            case SDL_QUIT:  // the close box: ends the program as Esc does
                Platform->EndProgram();
                break;
            case SDL_WINDOWEVENT:
                // A full screen's window may be given its size after it shows.
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                    Form->PaintAll();
                }
                break;
            default:
                // A pad's control, through the same step as a key.
                if (Pads == nullptr) {
                    break;
                }
                if (const auto code = Pads->Handle(event)) {
                    Form_KeyDown(*State, *Platform, *code, 0);
                    if (!Platform->Ended()) {
                        Form->PresentView();
                    }
                }
                break;
        }
    }

    // Every event that came meanwhile, after every tick and every wait, so a
    // slow machine never leaves the keys unread.
    void HandleEvents() {
        SDL_Event event;
        while (!Platform->Ended() && SDL_PollEvent(&event) != 0) {
            Handle(event);
        }
    }
};

std::unique_ptr<Form1Run> Form1Run::Start(const Form1Options& options, int& status) {
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
        status = 1;
        return nullptr;
    }
    // From here on, what was made is ended by run's destructor.
    std::unique_ptr<Form1Run> run(new Form1Run);
    Parts& p = *run->P;
    if (!ScaleFits(options.Scale)) {
        status = 2;
        return nullptr;
    }
    int scale = options.Scale;
    SDL_Rect size{0, 0, FormWidth * scale, FormHeight * scale};
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (options.Fullscreen) {
        scale = FullscreenScale(size);
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    p.Window = SDL_CreateWindow("B", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.w,
                                size.h, flags);
    if (p.Window == nullptr) {
        ShowFailure(std::string("cannot create the window: ") + SDL_GetError());
        status = 1;
        return nullptr;
    }
    SetWindowIcon(p.Window);
    std::string failure;
    p.Platform = SdlPlatform::Create(p.Window, failure);
    p.State = std::make_unique<Module1>();
    // Started before the message, so the first frame waits for nothing; where
    // pads cannot be opened the program runs as without them.
    if (options.Gamepad) {
        p.Pads = std::make_unique<Gamepads>();
    }
    if (!p.Platform || !Form_Load(*p.State, *p.Platform, options, failure)) {
        ShowFailure(failure);
        status = 1;
        return nullptr;
    }
    p.Form = std::make_unique<Form1Window>(p.Window, *p.Platform, scale);
    p.Keys = options.Arrows ? KeyMode::KeypadAndArrows : KeyMode::Keypad;
    SDL_ShowWindow(p.Window);
    p.Form->PaintAll();
    p.Frequency = SDL_GetPerformanceFrequency();
    p.Period = static_cast<Uint64>(static_cast<double>(p.Frequency) * TickSeconds);
    p.Next = SDL_GetPerformanceCounter() + p.Period;
    status = 0;
    return run;
}

Form1Run::Form1Run() : P(std::make_unique<Parts>()) {}

Form1Run::~Form1Run() = default;

std::optional<std::uint32_t> Form1Run::Step() {
    Parts& p = *P;
    p.HandleEvents();
    if (p.Platform->Ended()) {
        return std::nullopt;
    }
    if (SDL_GetPerformanceCounter() >= p.Next) {
        Timer1_Timer(*p.State, *p.Platform);
        if (p.Platform->Ended()) {
            return std::nullopt;
        }
        p.Form->PresentView();
        // The next deadline is fixed by the last one, so waking late never
        // slows the rate; but a tick missed by a whole period is dropped
        // rather than caught up in a burst.
        p.Next += p.Period;
        const Uint64 after = SDL_GetPerformanceCounter();
        if (p.Next <= after) {
            p.Next = after + p.Period;
        }
        p.HandleEvents();
        if (p.Platform->Ended()) {
            return std::nullopt;
        }
    }
    // To just after the deadline, in the whole ms a wait takes.
    const Uint64 now = SDL_GetPerformanceCounter();
    if (now >= p.Next) {
        return 0;
    }
    return static_cast<std::uint32_t>(((p.Next - now) * 1000 + p.Frequency - 1) / p.Frequency);
}

int RunForm1(const Form1Options& options) {
    int status = 0;
    const std::unique_ptr<Form1Run> run = Form1Run::Start(options, status);
    if (!run) {
        return status;
    }
    // Not SDL_WaitEventTimeout: on X11 it wakes itself with an event sent to
    // our window through a second connection, and when Esc ends such a wait
    // that event can reach the server after the window is destroyed; Xlib
    // then reports BadWindow at SDL_Quit and ends the program with status 1.
    while (const auto wait = run->Step()) {
        if (*wait > 0) {
            SDL_Delay(*wait);
        }
    }
    return 0;
}

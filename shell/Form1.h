// The program's window: start-up, the 10 ms tick and key routing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "render/Platform.h"
#include "world/Module1.h"

// The start-up message in the program's own characters: CR (13) ends a line,
// TAB (9) indents, and there is no LF.
inline constexpr std::string_view StartupMessage =
    "Author:\r\tDalmerin\rControl:\r\tNum1 - Down\r\tNum7 - Up\r\tNum2 - Back\r"
    "\tNum8 - Forward\r\tNum4 - Left\r\tNum6 - Right\r\tEsc - Exit\r\tOther - Stop";

// The same with the keys --arrows adds, after the keypad's.
inline constexpr std::string_view StartupMessageWithArrows =
    "Author:\r\tDalmerin\rControl:\r\tNum1 - Down\r\tNum7 - Up\r\tNum2 - Back\r"
    "\tNum8 - Forward\r\tNum4 - Left\r\tNum6 - Right\r"
    "\tPgDn - Down\r\tPgUp - Up\r\tDown - Back\r\tUp - Forward\r\tLeft - Left\r"
    "\tRight - Right\r\tEsc - Exit\r\tOther - Stop";

// The pad's controls --gamepad adds, after the keypad's lines and the arrows'
// (PadKeys says what each name stands for).
inline constexpr std::string_view StartupGamepadLines =
    "\tPad LB/LT - Down\r\tPad RB/RT - Up\r\tPad Down - Back\r\tPad Up - Forward\r"
    "\tPad Left - Left\r\tPad Right - Right\r\tPad Back - Exit";

// What the command line may change; the defaults are the plain program.
struct Form1Options {
    // The level walked, relative to the working directory or absolute.
    std::string LevelFileName = LevelFileNameStart;
    // Arrow and page keys steer too (see KeyMode).
    bool Arrows = false;
    // Game pads steer too (see Gamepads).
    bool Gamepad = false;
    // The window shown this many times larger, each pixel a Scale x Scale
    // block; what is drawn stays 400 x 400.
    int Scale = 1;
    // The window fills the screen, black, with the client area at the largest
    // scale that fits, centred; never with a Scale of its own.
    bool Fullscreen = false;
};
inline constexpr int LargestScale = 8;

// Client area of the window, and where the 400 x 400 view sits in it: the view
// control is placed at (24, 24) and has a 2-pixel border.
inline constexpr int FormWidth = 454;
inline constexpr int FormHeight = 464;
inline constexpr int PictureLeft = 24;
inline constexpr int PictureTop = 24;
inline constexpr int PictureBorder = 2;
inline constexpr int ViewLeft = PictureLeft + PictureBorder;
inline constexpr int ViewTop = PictureTop + PictureBorder;

// The tick period, in seconds.
inline constexpr double TickSeconds = 0.010;

// The start-up message for options: StartupMessage, with the keys --arrows
// and the controls --gamepad add.
std::string StartupText(const Form1Options& options);

// Start-up, before the window is shown: the message, the view state (the
// level named by options), the level, the rate clock. Returns false, with the
// reason in failure, when the level cannot be loaded.
bool Form_Load(Module1& state, PlatformServices& platform, const Form1Options& options,
               std::string& failure);

// The tick: replays the last key.
void Timer1_Timer(Module1& state, PlatformServices& platform);

// The window's key-down: forwards to the view's handler unchanged.
void Form_KeyDown(Module1& state, PlatformServices& platform, std::int16_t keyCode,
                  std::int16_t shift);

// The largest scale whose window fits in width x height pixels, or 0.
int LargestScaleFitting(int width, int height);

// A started program: its window shown, its level loaded, its ticks due every
// TickSeconds. The desktop runs it to its end in RunForm1, sleeping between
// steps; a page calls Step from the browser's timers instead, so that the
// browser has its thread back between ticks.
class Form1Run {
  public:
    // Starts the program as RunForm1 does. Returns null, with the exit
    // status RunForm1 would return in status, when it ends before its first
    // tick; status is 0 otherwise.
    static std::unique_ptr<Form1Run> Start(const Form1Options& options, int& status);
    // Closes the window and ends SDL: at most one Form1Run may exist at once.
    ~Form1Run();
    Form1Run(const Form1Run&) = delete;
    Form1Run& operator=(const Form1Run&) = delete;

    // Handles the events that came, runs the tick when it is due and then
    // the events once more. Returns how many milliseconds to wait before the
    // next call (0: call again at once), or nothing once the program has
    // ended (Esc or the close box); then only the destructor is left.
    std::optional<std::uint32_t> Step();

  private:
    Form1Run();
    struct Parts;
    std::unique_ptr<Parts> P;
};

// Runs the program; returns its exit status: 0 after Esc or the close box, 1
// when there is no display, the level cannot be loaded or SDL fails, 2 when
// options.Scale makes a window larger than the screen.
int RunForm1(const Form1Options& options = {});

// The simulated desktop that host tests build scenes on. It stands in for
// the window system, the shell and the file system, behaving as Windows does
// for everything the program relies on.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace pallix::sim {

// Throws away every window, script and record, and starts a fresh desktop
// whose drive C: is a new, empty host folder.
void Reset();

struct WindowSpec {
  std::string class_name;
  std::string text;
  Hwnd parent;        // set for a child window
  Hwnd owner;         // a top-level window's owner
  bool popup = true;  // dialogs and message boxes are pop-ups: GetParent gives the owner
  Rect rect;          // screen pixels
  bool visible = true;
  bool enabled = true;
  Colorref fill = Rgb(255, 255, 255);  // colour of every pixel at creation
};

// Adds a window at the top of the Z order among top-level windows, or at the
// bottom of its siblings for a child window (as CreateWindow places them).
Hwnd AddWindow(const WindowSpec& spec);
void DestroyWindow(Hwnd window);  // with its descendants
void SetWindowText(Hwnd window, std::string_view text);
void MoveWindow(Hwnd window, const Rect& rect);
void BringToTop(Hwnd window);

// What a BM_CLICK does to a button of another program (ours dispatch to the
// event sink). Called after the click is counted.
void OnClick(Hwnd button, std::function<void()> action);
int ClickCount(Hwnd button);

// Pixels of a window's whole-window device context.
Colorref PixelAt(Hwnd window, int x, int y);
void SetPixelAt(Hwnd window, int x, int y, Colorref color);

void SetCursor(Point screen_point);
Hwnd Capture();
void SetActiveWindow(Hwnd window);

// Our own windows and controls: the event sink behind a control, and a
// control looked up by its id.
Hwnd ControlById(Hwnd parent, int control_id);
// Clicks one of our own controls as the user would (only if it is visible
// and enabled).
void UserClick(Hwnd control);
// Types into one of our text or combo boxes.
void UserType(Hwnd control, std::string_view text);

// Message boxes. Each box takes the next scripted answer; with no script left
// it is answered with its first button. `while_open` runs while the box is up,
// as timer ticks and other events do under a real modal box.
struct ShownBox {
  Hwnd owner;
  std::string text;
  std::string caption;
  unsigned style = 0;
  int answer = 0;
};
void ScriptAnswer(int answer, std::function<void()> while_open = {});
const std::vector<ShownBox>& MessageBoxes();

// The virtual clock. Advance fires each timer due in the interval, in order,
// one tick per due time; a timer's next tick is due a period after the tick
// started.
std::uint64_t Now();
void Advance(std::uint64_t milliseconds);
bool TimerActive(Hwnd window, std::uintptr_t timer_id);

// Work queued for the next yield to the message loop.
void Post(std::function<void()> work);
int YieldCount();

// Shell and program starts, recorded instead of run.
struct ShellExecuteCall {
  Hwnd window;
  std::string operation;  // empty for a null operation
  bool null_operation = false;
  std::string file;
  std::string parameters;
  std::string directory;
  int show = 0;
};
const std::vector<ShellExecuteCall>& ShellExecutes();

// The running program's facts.
void SetAppPath(std::string path);
void SetTwipsPerPixel(double x, double y);
void SetStringTable(std::vector<std::pair<unsigned, std::string>> strings);

// Files. A Windows path "X:\a\b" names HostRoot('X') + "/a/b" on the host;
// any other path is taken as a host path.
std::string HostRoot(char drive);
std::string HostPath(std::string_view windows_path);

// Makes the next profile call fail as an unreachable platform function would.
struct PlatformFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
void FailNextProfileCall();
// Used by the profile functions: throws PlatformFailure once after
// FailNextProfileCall.
void CheckProfileFault();

}  // namespace pallix::sim

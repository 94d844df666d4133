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

#include "platform/shell32.h"
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
// The handle value the next new window gets (Windows hands out values up to
// the full 32 bits on a long-running desktop).
void SetNextHandle(std::uint32_t value);
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

// Menus: each popup takes the next scripted choice (0: closed without a
// choice); the shown popups are recorded.
struct ShownPopup {
  Hmenu menu;
  Hwnd owner;
  Point at;
  Hwnd foreground;  // the foreground window while the menu was open
};
void ScriptMenuChoice(int item_id, std::function<void()> while_open = {});
const std::vector<ShownPopup>& Popups();
// Captions of a menu's items, separators as "-".
std::vector<std::string> MenuCaptions(Hmenu menu);

// The notification area.
struct TrayIcon {
  Hwnd window;
  std::uint32_t id = 0;
  std::uint32_t callback_message = 0;
  int icon_resource = 0;
  std::string tip;
};
// Icons now in the notification area.
std::vector<TrayIcon> TrayIcons();
// Every call, with its message and the record exactly as passed.
struct NotifyCall {
  std::uint32_t message = 0;
  NotifyIconRecord record;
};
const std::vector<NotifyCall>& NotifyCalls();
// Without a notification area, adding an icon fails.
void SetTrayAvailable(bool available);
// The shell starts again: its notification area comes back empty, and every
// top-level window of ours hears "TaskbarCreated".
void RestartShell();
// The icon's mouse events as the shell reports them to the icon's window.
void TrayMouse(std::uint32_t mouse_message);

// Our main window, as the user or the system works it.
void UserClickBackground(Hwnd window);
void UserDblClickBackground(Hwnd window);
// A close request; returns true when the program refused it.
bool RequestClose(Hwnd window, int reason);
bool IsTopmost(Hwnd window);
Hwnd Foreground();
struct WindowPosCall {
  Hwnd window;
  std::intptr_t insert_after = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  unsigned flags = 0;
};
const std::vector<WindowPosCall>& WindowPosCalls();
// Captions of a window's window menu; it starts as Windows makes it.
std::vector<std::string> SystemMenuCaptions(Hwnd window);
int DrawMenuBarCount(Hwnd window);

// Looks of our controls.
struct Font {
  std::string face;
  int points = 0;
  bool bold = false;
  bool italic = false;
};
Font FontOf(Hwnd control);
std::string ToolTipOf(Hwnd control);
int CustomPointerOf(Hwnd window);

// Programs started with a command line, in order.
const std::vector<std::string>& StartedPrograms();

// EndProcess in the simulation: nothing after it may run, so it throws.
struct ProcessEnded {};

// The running program's facts.
void SetAppPath(std::string path);
void SetTwipsPerPixel(double x, double y);
void SetStringTable(std::vector<std::pair<unsigned, std::string>> strings);

// Files. A Windows path "X:\a\b" names HostRoot('X') + "/a/b" on the host;
// any other path is taken as a host path.
std::string HostRoot(char drive);
std::string HostPath(std::string_view windows_path);
// Hidden and system marks, which a host file system does not keep.
void SetFileAttributes(std::string_view windows_path, std::uint32_t attributes);
std::uint32_t FileAttributesOf(std::string_view windows_path);

// Makes the next profile call fail as an unreachable platform function would.
struct PlatformFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
void FailNextProfileCall();
// Used by the profile functions: throws PlatformFailure once after
// FailNextProfileCall.
void CheckProfileFault();

}  // namespace pallix::sim

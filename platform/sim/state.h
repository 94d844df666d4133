// The simulated desktop's state, shared by the sim's implementation files.
// Tests use sim.h; nothing outside platform/sim/ includes this.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/toolkit.h"

namespace pallix::sim::detail {

struct Window {
  Hwnd handle;
  std::string class_name;
  std::string text;
  bool child = false;  // WS_CHILD: `parent` is its parent window
  Hwnd parent;         // for a top-level window, the desktop
  Hwnd owner;
  bool popup = true;
  Rect rect;
  bool visible = true;
  bool enabled = true;
  Colorref fill;
  std::unordered_map<std::uint64_t, Colorref> painted;  // (y << 32 | x) -> colour
  std::vector<Hwnd> children;                           // Z order, top first

  // Foreign buttons: what a click does.
  std::function<void()> on_click;
  int clicks = 0;

  // Our own windows and controls.
  EventSink* sink = nullptr;  // set on our main window
  bool ours = false;
  ControlKind kind = ControlKind::kLabel;
  int control_id = 0;
  std::vector<std::string> items;
  int selected = -1;
  bool option_value = false;
  Colorref back_color = Rgb(192, 192, 192);
  Colorref fore_color = Rgb(0, 0, 0);
  sim::Font font;
  std::string tooltip;
  int picture = 0;
  int custom_pointer = 0;
  bool uses_custom_pointer = false;
  bool topmost = false;
  Hmenu system_menu;
  int draw_menu_bar_count = 0;
  std::uint32_t tray_callback = 0;  // set on our notification-icon window
};

struct MenuItem {
  int id = 0;
  std::string caption;  // "-" for a separator
  bool separator = false;
  bool checked = false;
};

struct Menu {
  std::vector<MenuItem> items;
};

struct Timer {
  Hwnd window;
  std::uintptr_t id = 0;
  unsigned period = 0;
  std::uint64_t due = 0;
};

struct ScriptedAnswer {
  int answer = 0;
  std::function<void()> while_open;
};

struct State {
  std::map<std::uint32_t, Window> windows;
  std::uint32_t next_handle = 0x10020;
  Hwnd desktop;

  std::deque<ScriptedAnswer> answers;
  std::vector<ShownBox> boxes;

  std::uint64_t now = 0;
  std::vector<Timer> timers;
  std::deque<std::function<void()>> posted;
  int yields = 0;

  std::vector<ShellExecuteCall> shell_executes;

  std::string app_path = "C:\\pallix";
  double twips_per_pixel_x = 15.0;
  double twips_per_pixel_y = 15.0;
  std::vector<std::pair<unsigned, std::string>> strings;

  std::map<char, std::string> drives;  // upper-case letter -> host folder
  bool fail_next_profile_call = false;

  Hwnd main_window;
  Hwnd foreground;
  Point cursor;

  std::map<std::uintptr_t, Menu> menus;
  std::uintptr_t next_menu = 0x5000;
  std::deque<ScriptedAnswer> menu_choices;
  std::vector<ShownPopup> popups;

  bool tray_available = true;
  std::vector<TrayIcon> tray_icons;
  std::vector<NotifyCall> notify_calls;

  std::vector<WindowPosCall> window_pos_calls;
  std::vector<std::string> started_programs;
  std::map<std::string, std::uint32_t> file_attributes;  // by host path
  Hwnd capture;
  Hwnd active;
};

State& S();
Window* Find(Hwnd window);

}  // namespace pallix::sim::detail

namespace pallix::sim {
// Clears windows, scripts, records and the clock; the files stay.
void ResetDesktop();
}  // namespace pallix::sim

namespace pallix::sim::detail {}  // namespace pallix::sim::detail

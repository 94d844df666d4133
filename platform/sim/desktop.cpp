// The simulated window system: user32, gdi32, the shell's ShellExecuteA and
// the toolkit, over an in-memory desktop.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <utility>

#include "platform/gdi32.h"
#include "platform/shell32.h"
#include "platform/sim/sim.h"
#include "platform/sim/state.h"
#include "platform/toolkit.h"
#include "platform/user32.h"

namespace pallix::sim::detail {

State& S() {
  static State state;
  return state;
}

Window* Find(Hwnd window) {
  if (!window) return nullptr;
  auto it = S().windows.find(window.value);
  return it == S().windows.end() ? nullptr : &it->second;
}

}  // namespace pallix::sim::detail

namespace pallix {
namespace {

using sim::detail::Find;
using sim::detail::S;
using sim::detail::Window;

// Windows compares class names and window titles without regard to case.
// Besides ASCII, the Western code page folds its accented letters.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return c;
  }
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Copies as WM_GETTEXT and GetWindowTextA do: at most size - 1 characters
// and a terminating NUL; the count copied is returned.
int CopyText(std::string_view text, char* buffer, std::int64_t size) {
  if (!buffer || size <= 0) return 0;
  std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

// Our main window, which receives the events of its controls.
EventSink* SinkOf(Hwnd window) {
  for (Window* w = Find(window); w; w = w->child ? Find(w->parent) : nullptr) {
    if (w->sink) return w->sink;
  }
  return nullptr;
}

void Unlink(Window& w) {
  if (Window* parent = Find(w.parent)) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w.handle), siblings.end());
  }
}

void DestroyTree(Hwnd window) {
  Window* w = Find(window);
  if (!w) return;
  std::vector<Hwnd> children = w->children;
  for (Hwnd child : children) DestroyTree(child);
  Unlink(*w);
  auto& timers = S().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const sim::detail::Timer& t) { return t.window == window; }),
               timers.end());
  if (S().capture == window) S().capture = Hwnd{};
  if (S().active == window) S().active = Hwnd{};
  if (S().main_window == window) S().main_window = Hwnd{};
  S().windows.erase(window.value);
}

Hwnd NewWindow(Window w, bool at_top) {
  auto& s = S();
  w.handle = Hwnd{s.next_handle};
  s.next_handle += 2;
  Window* parent = Find(w.parent);
  if (parent) {
    auto& siblings = parent->children;
    siblings.insert(at_top ? siblings.begin() : siblings.end(), w.handle);
  }
  Hwnd handle = w.handle;
  s.windows.emplace(handle.value, std::move(w));
  return handle;
}

bool Contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// A click as the button itself handles it: a disabled button ignores it.
void DeliverClick(Window& w) {
  if (!w.enabled) return;
  if (w.ours) {
    if (w.kind == ControlKind::kOptionButton) {
      // Option buttons of one window form one exclusive group.
      if (Window* parent = Find(w.parent)) {
        for (Hwnd sibling : parent->children) {
          Window* s = Find(sibling);
          if (s && s->ours && s->kind == ControlKind::kOptionButton) s->option_value = false;
        }
      }
      w.option_value = true;
    }
    int id = w.control_id;
    if (EventSink* sink = SinkOf(w.handle)) sink->OnCommand(id);
    return;
  }
  ++w.clicks;
  if (w.on_click) {
    auto action = w.on_click;  // the action may destroy the window
    action();
  }
}

void FireTimer(const sim::detail::Timer& timer) {
  if (EventSink* sink = SinkOf(timer.window)) sink->OnTimer(timer.id);
}

// Fires every timer that is due by `until`, earliest first.
void RunTimersUntil(std::uint64_t until) {
  auto& s = S();
  for (;;) {
    auto it = std::min_element(s.timers.begin(), s.timers.end(),
                               [](const auto& a, const auto& b) { return a.due < b.due; });
    if (it == s.timers.end() || it->due > until) return;
    if (it->due > s.now) s.now = it->due;
    it->due = s.now + it->period;
    sim::detail::Timer fired = *it;
    FireTimer(fired);
  }
}

}  // namespace

// ---------------------------------------------------------------- user32

Hwnd FindWindowExA(Hwnd parent, Hwnd child_after, const char* class_name, const char* window_name) {
  // An empty class name names no registered class, so nothing matches it.
  if (class_name && !*class_name) return Hwnd{};
  Window* p = Find(parent ? parent : S().desktop);
  if (!p) return Hwnd{};
  bool started = !child_after;
  for (Hwnd h : p->children) {
    if (!started) {
      started = (h == child_after);
      continue;
    }
    const Window* w = Find(h);
    if (!w) continue;
    if (class_name && !EqualNoCase(w->class_name, class_name)) continue;
    if (window_name && !EqualNoCase(w->text, window_name)) continue;
    return h;
  }
  return Hwnd{};
}

Hwnd FindWindowA(const char* class_name, const char* window_name) {
  return FindWindowExA(Hwnd{}, Hwnd{}, class_name, window_name);
}

std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                           std::intptr_t lparam) {
  Window* w = Find(window);
  if (!w) return 0;
  switch (message) {
    case kWmGetText:
      return CopyText(w->text, reinterpret_cast<char*>(lparam), static_cast<std::int64_t>(wparam));
    case kBmClick:
      if (EqualNoCase(w->class_name, "Button")) DeliverClick(*w);
      return 0;
    default:
      return 0;
  }
}

int GetWindowTextA(Hwnd window, char* buffer, int max_count) {
  Window* w = Find(window);
  if (!w) {
    if (buffer && max_count > 0) buffer[0] = '\0';
    return 0;
  }
  return CopyText(w->text, buffer, max_count);
}

int GetClassNameA(Hwnd window, char* buffer, int max_count) {
  Window* w = Find(window);
  if (!w) {
    if (buffer && max_count > 0) buffer[0] = '\0';
    return 0;
  }
  return CopyText(w->class_name, buffer, max_count);
}

Hwnd GetParent(Hwnd window) {
  Window* w = Find(window);
  if (!w) return Hwnd{};
  if (w->child) return w->parent;
  return w->popup ? w->owner : Hwnd{};
}

Hwnd GetWindow(Hwnd window, unsigned command) {
  Window* w = Find(window);
  if (!w) return Hwnd{};
  if (command == kGwChild) return w->children.empty() ? Hwnd{} : w->children.front();
  if (command == kGwHwndNext) {
    Window* p = Find(w->parent);
    if (!p) return Hwnd{};
    auto it = std::find(p->children.begin(), p->children.end(), window);
    if (it == p->children.end() || ++it == p->children.end()) return Hwnd{};
    return *it;
  }
  return Hwnd{};
}

Hwnd GetDesktopWindow() {
  return S().desktop;
}

bool IsWindow(Hwnd window) {
  return Find(window) != nullptr;
}

bool GetCursorPos(Point* point) {
  if (!point) return false;
  *point = S().cursor;
  return true;
}

Hwnd WindowFromPoint(Point point) {
  Window* desktop = Find(S().desktop);
  if (!desktop) return Hwnd{};
  // Hidden windows are passed over; a disabled one gives the point to the
  // window it lies in. Nothing at all there: the desktop itself.
  Hwnd found = S().desktop;
  const std::vector<Hwnd>* level = &desktop->children;
  for (;;) {
    Window* hit = nullptr;
    for (Hwnd h : *level) {
      Window* w = Find(h);
      if (w && w->visible && Contains(w->rect, point)) {
        hit = w;
        break;
      }
    }
    if (!hit || !hit->enabled) return found;
    found = hit->handle;
    level = &hit->children;
  }
}

Hwnd SetCapture(Hwnd window) {
  return std::exchange(S().capture, window);
}

bool ReleaseCapture() {
  S().capture = Hwnd{};
  return true;
}

bool GetWindowRect(Hwnd window, Rect* rect) {
  Window* w = Find(window);
  if (!w || !rect) return false;
  *rect = w->rect;
  return true;
}

Hwnd GetActiveWindow() {
  return S().active;
}

// ----------------------------------------------------------------- gdi32

Hdc GetWindowDC(Hwnd window) {
  return Find(window) ? Hdc{window.value} : Hdc{};
}

int ReleaseDC(Hwnd window, Hdc dc) {
  return (Find(window) && dc.value == window.value) ? 1 : 0;
}

namespace {
Window* InPixels(Hdc dc, int x, int y) {
  Window* w = Find(Hwnd{static_cast<std::uint32_t>(dc.value)});
  if (!w) return nullptr;
  if (x < 0 || y < 0 || x >= w->rect.right - w->rect.left || y >= w->rect.bottom - w->rect.top)
    return nullptr;
  return w;
}
std::uint64_t PixelKey(int x, int y) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32) |
         static_cast<std::uint32_t>(x);
}
}  // namespace

Colorref GetPixel(Hdc dc, int x, int y) {
  Window* w = InPixels(dc, x, y);
  if (!w) return kClrInvalid;
  auto it = w->painted.find(PixelKey(x, y));
  return it == w->painted.end() ? w->fill : it->second;
}

Colorref SetPixel(Hdc dc, int x, int y, Colorref color) {
  Window* w = InPixels(dc, x, y);
  if (!w) return kClrInvalid;
  w->painted[PixelKey(x, y)] = color;
  return color;
}

// ---------------------------------------------------------------- shell32

std::intptr_t ShellExecuteA(Hwnd window, const char* operation, const char* file,
                            const char* parameters, const char* directory, int show_command) {
  sim::ShellExecuteCall call;
  call.window = window;
  call.null_operation = operation == nullptr;
  call.operation = operation ? operation : "";
  call.file = file ? file : "";
  call.parameters = parameters ? parameters : "";
  call.directory = directory ? directory : "";
  call.show = show_command;
  S().shell_executes.push_back(std::move(call));
  return 42;  // above 32: success, as ShellExecute reports it
}

// ---------------------------------------------------------------- toolkit

Hwnd CreateMainWindow(const char* caption, const Rect& bounds, EventSink& sink) {
  Window w;
  w.class_name = "PallixMain";
  w.text = caption ? caption : "";
  w.parent = S().desktop;
  w.popup = false;
  w.rect = bounds;
  w.visible = false;
  w.fill = Rgb(192, 192, 192);
  w.sink = &sink;
  w.ours = true;
  Hwnd handle = NewWindow(std::move(w), /*at_top=*/true);
  if (!S().main_window) S().main_window = handle;
  return handle;
}

Hwnd CreateControl(Hwnd parent, ControlKind kind, int control_id, const char* text,
                   const Rect& bounds) {
  Window* p = Find(parent);
  if (!p) return Hwnd{};
  Window w;
  switch (kind) {
    case ControlKind::kLabel:
    case ControlKind::kPictureBox:
    case ControlKind::kShape:
      w.class_name = "Static";
      break;
    case ControlKind::kTextBox:
      w.class_name = "Edit";
      break;
    case ControlKind::kButton:
    case ControlKind::kColouredButton:
    case ControlKind::kOptionButton:
      w.class_name = "Button";
      break;
    case ControlKind::kComboBox:
      w.class_name = "ComboBox";
      break;
    case ControlKind::kListBox:
      w.class_name = "ListBox";
      break;
  }
  w.text = text ? text : "";
  w.child = true;
  w.parent = parent;
  // Child rectangles are kept in screen pixels, as GetWindowRect reports them.
  w.rect = Rect{p->rect.left + bounds.left, p->rect.top + bounds.top, p->rect.left + bounds.right,
                p->rect.top + bounds.bottom};
  w.ours = true;
  w.kind = kind;
  w.control_id = control_id;
  return NewWindow(std::move(w), /*at_top=*/false);
}

void SetCaption(Hwnd control, std::string_view text) {
  if (Window* w = Find(control)) w->text = std::string(text);
}
std::string GetCaption(Hwnd control) {
  Window* w = Find(control);
  return w ? w->text : std::string();
}
void SetVisible(Hwnd control, bool visible) {
  Window* w = Find(control);
  if (!w) return;
  bool was_visible = std::exchange(w->visible, visible);
  if (w->child) return;
  // Showing a top-level window activates it, hiding it deactivates it.
  auto& s = S();
  if (visible != was_visible && w->sink) w->sink->OnShowWindow(visible);
  if (visible && !was_visible) {
    s.active = s.foreground = control;
    if (w->sink) w->sink->OnActivate();
  } else if (!visible && s.active == control) {
    s.active = Hwnd{};
    if (s.foreground == control) s.foreground = Hwnd{};
  }
}
bool IsVisible(Hwnd control) {
  Window* w = Find(control);
  return w && w->visible;
}
void SetEnabled(Hwnd control, bool enabled) {
  if (Window* w = Find(control)) w->enabled = enabled;
}
bool IsEnabled(Hwnd control) {
  Window* w = Find(control);
  return w && w->enabled;
}
void SetBackColor(Hwnd control, Colorref color) {
  if (Window* w = Find(control)) w->back_color = color;
}
Colorref GetBackColor(Hwnd control) {
  Window* w = Find(control);
  return w ? w->back_color : Colorref{};
}
void SetForeColor(Hwnd control, Colorref color) {
  if (Window* w = Find(control)) w->fore_color = color;
}
Colorref GetForeColor(Hwnd control) {
  Window* w = Find(control);
  return w ? w->fore_color : Colorref{};
}

void ListClear(Hwnd control) {
  if (Window* w = Find(control)) {
    w->items.clear();
    w->selected = -1;
  }
}
void ListAddItem(Hwnd control, std::string_view item) {
  if (Window* w = Find(control)) w->items.emplace_back(item);
}
int ListCount(Hwnd control) {
  Window* w = Find(control);
  return w ? static_cast<int>(w->items.size()) : 0;
}
std::string ListItem(Hwnd control, int index) {
  Window* w = Find(control);
  if (!w || index < 0 || index >= static_cast<int>(w->items.size())) return {};
  return w->items[static_cast<std::size_t>(index)];
}
void ListSelect(Hwnd control, int index) {
  Window* w = Find(control);
  if (!w || index < 0 || index >= static_cast<int>(w->items.size())) return;
  w->selected = index;
  if (w->kind == ControlKind::kComboBox) w->text = w->items[static_cast<std::size_t>(index)];
}

void SetOptionValue(Hwnd option, bool value) {
  if (Window* w = Find(option)) w->option_value = value;
}
bool GetOptionValue(Hwnd option) {
  Window* w = Find(option);
  return w && w->option_value;
}

int MsgBox(std::string_view prompt, unsigned style, std::string_view title) {
  auto& s = S();
  // Owned by the main window once it is on the screen, as on Windows.
  Window* main = Find(s.main_window);
  Hwnd owner = main && main->visible ? s.main_window : Hwnd{};
  sim::ShownBox box{owner, std::string(prompt), std::string(title), style, 0};
  sim::detail::ScriptedAnswer scripted;
  if (!s.answers.empty()) {
    scripted = std::move(s.answers.front());
    s.answers.pop_front();
  } else {
    // Unscripted boxes take their first button, as Enter would.
    switch (style & 0xF) {
      case 2:
        scripted.answer = 3;
        break;  // Abort
      case 3:
      case 4:
        scripted.answer = kIdYes;
        break;
      case 5:
        scripted.answer = 4;
        break;  // Retry
      default:
        scripted.answer = kIdOk;
        break;
    }
  }
  box.answer = scripted.answer;
  std::size_t index = s.boxes.size();
  s.boxes.push_back(std::move(box));
  if (scripted.while_open) scripted.while_open();
  // Closing the box gives the activation back to its owner, hidden or not.
  if (Window* w = Find(owner)) {
    s.active = owner;
    if (w->sink) w->sink->OnActivate();
  }
  return s.boxes[index].answer;
}

bool SetTimer(Hwnd window, std::uintptr_t timer_id, unsigned milliseconds) {
  if (!Find(window)) return false;
  auto& s = S();
  for (auto& t : s.timers) {
    if (t.window == window && t.id == timer_id) {
      t.period = milliseconds;
      t.due = s.now + milliseconds;
      return true;
    }
  }
  s.timers.push_back(sim::detail::Timer{window, timer_id, milliseconds, s.now + milliseconds});
  return true;
}

bool KillTimer(Hwnd window, std::uintptr_t timer_id) {
  auto& timers = S().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const sim::detail::Timer& t) {
    return t.window == window && t.id == timer_id;
  });
  if (it == timers.end()) return false;
  timers.erase(it);
  return true;
}

void DoEvents() {
  auto& s = S();
  ++s.yields;
  // Work posted while we run is handled in this same yield, as a message
  // posted during DoEvents would be; a bound keeps a runaway poster finite.
  for (int handled = 0; !s.posted.empty() && handled < 10000; ++handled) {
    auto work = std::move(s.posted.front());
    s.posted.pop_front();
    work();
  }
  RunTimersUntil(s.now);
}

int RunMessageLoop() {
  return 0;
}

std::string AppPath() {
  return S().app_path;
}
double TwipsPerPixelX() {
  return S().twips_per_pixel_x;
}
double TwipsPerPixelY() {
  return S().twips_per_pixel_y;
}

std::optional<std::string> LoadResString(unsigned id) {
  for (const auto& [number, text] : S().strings) {
    if (number == id) return text;
  }
  return std::nullopt;
}

// ------------------------------------------------------- window menus

namespace {

sim::detail::Menu& DefaultSystemMenu(sim::detail::Menu& menu) {
  menu.items.clear();
  for (const char* caption :
       {"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "-", "&Close\tAlt+F4"}) {
    sim::detail::MenuItem item;
    item.caption = caption;
    item.separator = caption[0] == '-';
    menu.items.push_back(item);
  }
  return menu;
}

sim::detail::Menu* FindMenu(Hmenu menu) {
  auto it = S().menus.find(menu.value);
  return it == S().menus.end() ? nullptr : &it->second;
}

sim::detail::MenuItem* FindItem(Hmenu menu, int item_id) {
  sim::detail::Menu* m = FindMenu(menu);
  if (!m) return nullptr;
  for (auto& item : m->items) {
    if (!item.separator && item.id == item_id) return &item;
  }
  return nullptr;
}

Hmenu NewMenu() {
  Hmenu handle{S().next_menu++};
  S().menus[handle.value] = sim::detail::Menu{};
  return handle;
}

}  // namespace

Hmenu GetSystemMenu(Hwnd window, bool revert) {
  Window* w = Find(window);
  if (!w) return Hmenu{};
  if (!w->system_menu) w->system_menu = NewMenu();
  if (revert || FindMenu(w->system_menu)->items.empty()) {
    DefaultSystemMenu(*FindMenu(w->system_menu));
    if (revert) return Hmenu{};
  }
  return w->system_menu;
}

int GetMenuItemCount(Hmenu menu) {
  sim::detail::Menu* m = FindMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

bool RemoveMenu(Hmenu menu, unsigned position, unsigned flags) {
  sim::detail::Menu* m = FindMenu(menu);
  if (!m) return false;
  auto& items = m->items;
  if (flags & kMfByPosition) {
    if (position >= items.size()) return false;
    items.erase(items.begin() + position);
    return true;
  }
  for (auto it = items.begin(); it != items.end(); ++it) {
    if (!it->separator && it->id == static_cast<int>(position)) {
      items.erase(it);
      return true;
    }
  }
  return false;
}

bool DrawMenuBar(Hwnd window) {
  Window* w = Find(window);
  if (!w) return false;
  ++w->draw_menu_bar_count;
  return true;
}

bool SetWindowPos(Hwnd window, std::intptr_t insert_after, int x, int y, int cx, int cy,
                  unsigned flags) {
  auto& s = S();
  s.window_pos_calls.push_back(sim::WindowPosCall{window, insert_after, x, y, cx, cy, flags});
  Window* w = Find(window);
  if (!w) return false;
  w->rect = Rect{x, y, x + cx, y + cy};
  if (insert_after == kHwndTopmost) w->topmost = true;
  if (insert_after == kHwndNoTopmost) w->topmost = false;
  if (insert_after == kHwndTopmost || insert_after == kHwndNoTopmost) sim::BringToTop(window);
  s.active = s.foreground = window;  // flags 0: the window is activated
  return true;
}

Hmenu CreatePopupMenu() {
  return NewMenu();
}

void AppendMenuItem(Hmenu menu, int item_id, std::string_view caption) {
  if (sim::detail::Menu* m = FindMenu(menu)) {
    m->items.push_back(sim::detail::MenuItem{item_id, std::string(caption), false, false});
  }
}

void AppendMenuSeparator(Hmenu menu) {
  if (sim::detail::Menu* m = FindMenu(menu)) {
    m->items.push_back(sim::detail::MenuItem{0, "-", true, false});
  }
}

void SetMenuItemChecked(Hmenu menu, int item_id, bool checked) {
  if (sim::detail::MenuItem* item = FindItem(menu, item_id)) item->checked = checked;
}

bool IsMenuItemChecked(Hmenu menu, int item_id) {
  sim::detail::MenuItem* item = FindItem(menu, item_id);
  return item && item->checked;
}

void SetMenuItemCaption(Hmenu menu, int item_id, std::string_view caption) {
  if (sim::detail::MenuItem* item = FindItem(menu, item_id)) item->caption = std::string(caption);
}

std::string GetMenuItemCaption(Hmenu menu, int item_id) {
  sim::detail::MenuItem* item = FindItem(menu, item_id);
  return item ? item->caption : std::string();
}

void PopupMenu(Hmenu menu, Hwnd owner) {
  auto& s = S();
  s.popups.push_back(sim::ShownPopup{menu, owner, s.cursor, s.foreground});
  sim::detail::ScriptedAnswer choice;
  if (!s.menu_choices.empty()) {
    choice = std::move(s.menu_choices.front());
    s.menu_choices.pop_front();
  }
  if (choice.while_open) choice.while_open();
  if (choice.answer && FindItem(menu, choice.answer)) {
    if (EventSink* sink = SinkOf(owner)) sink->OnCommand(choice.answer);
  }
}

void SetFont(Hwnd control, const char* face, int points, bool bold, bool italic) {
  if (Window* w = Find(control)) w->font = sim::Font{face ? face : "", points, bold, italic};
}

void SetToolTip(Hwnd control, std::string_view text) {
  if (Window* w = Find(control)) w->tooltip = std::string(text);
}

void SetPicture(Hwnd control, int resource_id) {
  if (Window* w = Find(control)) w->picture = resource_id;
}

int GetPicture(Hwnd control) {
  Window* w = Find(control);
  return w ? w->picture : 0;
}

void SetCustomPointer(Hwnd window, int cursor_resource_id) {
  if (Window* w = Find(window)) w->custom_pointer = cursor_resource_id;
}

void UseCustomPointer(Hwnd window, bool custom) {
  if (Window* w = Find(window)) w->uses_custom_pointer = custom;
}

bool UsesCustomPointer(Hwnd window) {
  Window* w = Find(window);
  return w && w->uses_custom_pointer;
}

// ------------------------------------------------------------ scene setup

namespace sim {

Hwnd AddWindow(const WindowSpec& spec) {
  Window w;
  w.class_name = spec.class_name;
  w.text = spec.text;
  w.child = static_cast<bool>(spec.parent);
  w.parent = spec.parent ? spec.parent : S().desktop;
  w.owner = spec.owner;
  w.popup = spec.popup;
  w.rect = spec.rect;
  w.visible = spec.visible;
  w.enabled = spec.enabled;
  w.fill = spec.fill;
  return NewWindow(std::move(w), /*at_top=*/!spec.parent);
}

void DestroyWindow(Hwnd window) {
  if (window != S().desktop) DestroyTree(window);
}

void SetNextHandle(std::uint32_t value) {
  S().next_handle = value;
}

void SetWindowText(Hwnd window, std::string_view text) {
  if (Window* w = Find(window)) w->text = std::string(text);
}

void MoveWindow(Hwnd window, const Rect& rect) {
  if (Window* w = Find(window)) w->rect = rect;
}

void BringToTop(Hwnd window) {
  Window* w = Find(window);
  if (!w) return;
  Window* p = Find(w->parent);
  if (!p) return;
  auto& siblings = p->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  siblings.insert(siblings.begin(), window);
}

void OnClick(Hwnd button, std::function<void()> action) {
  if (Window* w = Find(button)) w->on_click = std::move(action);
}

int ClickCount(Hwnd button) {
  Window* w = Find(button);
  return w ? w->clicks : 0;
}

Colorref PixelAt(Hwnd window, int x, int y) {
  return GetPixel(Hdc{window.value}, x, y);
}

void SetPixelAt(Hwnd window, int x, int y, Colorref color) {
  SetPixel(Hdc{window.value}, x, y, color);
}

void SetCursor(Point screen_point) {
  S().cursor = screen_point;
}
Hwnd Capture() {
  return S().capture;
}
void SetActiveWindow(Hwnd window) {
  S().active = window;
}

void UserClick(Hwnd control) {
  Window* w = Find(control);
  if (w && w->visible) DeliverClick(*w);
}

void UserType(Hwnd control, std::string_view text) {
  Window* w = Find(control);
  if (w && w->visible && w->enabled) w->text = std::string(text);
}

void ScriptMenuChoice(int item_id, std::function<void()> while_open) {
  S().menu_choices.push_back(detail::ScriptedAnswer{item_id, std::move(while_open)});
}

const std::vector<ShownPopup>& Popups() {
  return S().popups;
}

std::vector<std::string> MenuCaptions(Hmenu menu) {
  std::vector<std::string> captions;
  if (auto* m = FindMenu(menu)) {
    for (const auto& item : m->items) captions.push_back(item.caption);
  }
  return captions;
}

void UserClickBackground(Hwnd window) {
  if (EventSink* sink = SinkOf(window)) sink->OnBackgroundClick();
}

void UserDblClickBackground(Hwnd window) {
  if (EventSink* sink = SinkOf(window)) sink->OnBackgroundDblClick();
}

bool RequestClose(Hwnd window, int reason) {
  EventSink* sink = SinkOf(window);
  if (!sink) return false;
  if (sink->OnQueryClose(reason)) return true;
  sink->OnDestroy();
  DestroyTree(window);
  return false;
}

bool IsTopmost(Hwnd window) {
  Window* w = Find(window);
  return w && w->topmost;
}

Hwnd Foreground() {
  return S().foreground;
}

const std::vector<WindowPosCall>& WindowPosCalls() {
  return S().window_pos_calls;
}

std::vector<std::string> SystemMenuCaptions(Hwnd window) {
  Window* w = Find(window);
  if (!w) return {};
  return MenuCaptions(GetSystemMenu(window, false));
}

int DrawMenuBarCount(Hwnd window) {
  Window* w = Find(window);
  return w ? w->draw_menu_bar_count : 0;
}

Font FontOf(Hwnd control) {
  Window* w = Find(control);
  return w ? w->font : Font{};
}

std::string ToolTipOf(Hwnd control) {
  Window* w = Find(control);
  return w ? w->tooltip : std::string();
}

int CustomPointerOf(Hwnd window) {
  Window* w = Find(window);
  return w ? w->custom_pointer : 0;
}

void ScriptAnswer(int answer, std::function<void()> while_open) {
  S().answers.push_back(detail::ScriptedAnswer{answer, std::move(while_open)});
}

const std::vector<ShownBox>& MessageBoxes() {
  return S().boxes;
}

std::uint64_t Now() {
  return S().now;
}

void Advance(std::uint64_t milliseconds) {
  std::uint64_t until = S().now + milliseconds;
  RunTimersUntil(until);
  if (S().now < until) S().now = until;
}

bool TimerActive(Hwnd window, std::uintptr_t timer_id) {
  for (const auto& t : S().timers) {
    if (t.window == window && t.id == timer_id) return true;
  }
  return false;
}

void Post(std::function<void()> work) {
  S().posted.push_back(std::move(work));
}
int YieldCount() {
  return S().yields;
}

const std::vector<ShellExecuteCall>& ShellExecutes() {
  return S().shell_executes;
}

void SetAppPath(std::string path) {
  // A program's folder exists: it holds the program.
  std::error_code ignored;
  std::filesystem::create_directories(HostPath(path), ignored);
  S().app_path = std::move(path);
}

void SetTwipsPerPixel(double x, double y) {
  S().twips_per_pixel_x = x;
  S().twips_per_pixel_y = y;
}

void SetStringTable(std::vector<std::pair<unsigned, std::string>> strings) {
  S().strings = std::move(strings);
}

void ResetDesktop() {
  auto& s = S();
  auto drives = std::move(s.drives);
  s = sim::detail::State();
  s.drives = std::move(drives);
  Window desktop;
  desktop.class_name = "#32769";
  desktop.rect = Rect{0, 0, 1280, 1024};
  desktop.popup = false;
  s.desktop = NewWindow(std::move(desktop), true);
}

}  // namespace sim
}  // namespace pallix

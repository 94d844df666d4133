// The window toolkit: our own windows and controls, message boxes, timers,
// yielding, and facts about the running program. Everything runs on the one
// user-interface thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace pallix {

// Receives what happens to our own windows. The platform decodes its messages
// and calls one of these; the owner of the window dispatches to the named
// handler.
class EventSink {
 public:
  // A button of ours was clicked (by the user or by BM_CLICK), or a menu item
  // with this id was chosen.
  virtual void OnCommand(int control_id) = 0;
  virtual void OnTimer(std::uintptr_t timer_id) = 0;
  // The notification icon's callback: the mouse message of the event.
  virtual void OnTrayMessage(std::uint32_t /*mouse_message*/) {}
  // The shell started again (the notification area is new and empty).
  virtual void OnTaskbarCreated() {}
  // The main window was shown or hidden, and became the active window.
  virtual void OnShowWindow(bool /*shown*/) {}
  virtual void OnActivate() {}
  // A click or double-click on the main window's background.
  virtual void OnBackgroundClick() {}
  virtual void OnBackgroundDblClick() {}
  // Something asks the main window to close; return true to refuse.
  virtual bool OnQueryClose(int /*reason*/) { return false; }
  // The main window is going away after all.
  virtual void OnDestroy() {}

 protected:
  ~EventSink() = default;
};

enum class ControlKind {
  kLabel,
  kTextBox,
  kButton,
  kColouredButton,  // draws its own background colour
  kOptionButton,
  kComboBox,  // editable text with a drop-down list
  kListBox,
  kPictureBox,
  kShape,
};

// Why a close request came, as the program's close handler is told.
inline constexpr int kCloseFromMenu = 0;     // the window menu's Close, Alt+F4
inline constexpr int kCloseFromCode = 1;     // the program itself
inline constexpr int kCloseFromSession = 2;  // log-off or shut-down
inline constexpr int kCloseFromTaskManager = 3;

// The program's title, used by every message box that has none of its own.
inline constexpr const char* kAppTitle = "Pallix";

Hwnd CreateMainWindow(const char* caption, const Rect& bounds, EventSink& sink);
Hwnd CreateControl(Hwnd parent, ControlKind kind, int control_id, const char* text,
                   const Rect& bounds);

void SetCaption(Hwnd control, std::string_view text);
std::string GetCaption(Hwnd control);
void SetVisible(Hwnd control, bool visible);
bool IsVisible(Hwnd control);
void SetEnabled(Hwnd control, bool enabled);
bool IsEnabled(Hwnd control);
void SetBackColor(Hwnd control, Colorref color);
Colorref GetBackColor(Hwnd control);
void SetForeColor(Hwnd control, Colorref color);
Colorref GetForeColor(Hwnd control);

// Items of a list box or of a combo box's drop-down list.
void ListClear(Hwnd control);
void ListAddItem(Hwnd control, std::string_view item);
int ListCount(Hwnd control);
std::string ListItem(Hwnd control, int index);
// Selects an item; a combo box's text becomes that item.
void ListSelect(Hwnd control, int index);

void SetOptionValue(Hwnd option, bool value);
bool GetOptionValue(Hwnd option);

// Text look: face name, size in points, bold, italic.
void SetFont(Hwnd control, const char* face, int points, bool bold, bool italic);
// A tooltip shown when the pointer rests on the control.
void SetToolTip(Hwnd control, std::string_view text);

// Pictures by resource id (0 for none): a picture box's picture, and the
// main window's own mouse pointer while it is set to its custom image.
void SetPicture(Hwnd control, int resource_id);
int GetPicture(Hwnd control);
void SetCustomPointer(Hwnd window, int cursor_resource_id);
void UseCustomPointer(Hwnd window, bool custom);
bool UsesCustomPointer(Hwnd window);

// Popup menus. Item ids are reported through the owner's event sink.
Hmenu CreatePopupMenu();
void AppendMenuItem(Hmenu menu, int item_id, std::string_view caption);
void AppendMenuSeparator(Hmenu menu);
void SetMenuItemChecked(Hmenu menu, int item_id, bool checked);
bool IsMenuItemChecked(Hmenu menu, int item_id);
void SetMenuItemCaption(Hmenu menu, int item_id, std::string_view caption);
std::string GetMenuItemCaption(Hmenu menu, int item_id);
// Shows the menu at the pointer, left-aligned; returns once it is closed,
// after the chosen item's command has reached the owner's event sink.
void PopupMenu(Hmenu menu, Hwnd owner);

// A window of ours that receives the notification icon's callback message
// and hands it to the sink as OnTrayMessage. It is never on the screen.
Hwnd CreateTrayWindow(EventSink& sink, std::uint32_t callback_message);

// A modal message box, owned by our main window once it exists so that the
// window waits for the answer. Returns the answer (kIdOk, kIdYes, ...).
// Timers and other events are handled while it is open, as Windows does.
int MsgBox(std::string_view prompt, unsigned style, std::string_view title);

bool SetTimer(Hwnd window, std::uintptr_t timer_id, unsigned milliseconds);
bool KillTimer(Hwnd window, std::uintptr_t timer_id);

// Handles every event waiting for the program, then returns.
void DoEvents();

// Runs the message loop until the process ends.
int RunMessageLoop();

// Starts a program from a command line in a normal window that takes the
// focus, without waiting for it.
void Shell(std::string_view command_line);

// Ends the process at once: no further event runs.
[[noreturn]] void EndProcess();

// The folder of the running executable, as Windows writes it: no trailing
// backslash, except at the root of a drive ("C:\").
std::string AppPath();

double TwipsPerPixelX();
double TwipsPerPixelY();

// A text of the program's own string table, if it has one by that number.
std::optional<std::string> LoadResString(unsigned id);

}  // namespace pallix

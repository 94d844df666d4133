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

// The folder of the running executable, as Windows writes it: no trailing
// backslash, except at the root of a drive ("C:\").
std::string AppPath();

double TwipsPerPixelX();
double TwipsPerPixelY();

// A text of the program's own string table, if it has one by that number.
std::optional<std::string> LoadResString(unsigned id);

}  // namespace pallix

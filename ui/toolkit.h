// The window toolkit: our own main window and its controls, message boxes,
// yielding, and facts about the running program. Everything runs on the one
// user-interface thread. Other programs' windows, files and the shell are
// reached through the Windows API itself, not through here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pallix {

// Receives what happens to our own windows. The thin window procedure
// decodes each message and calls one of these; the owner of the window
// dispatches to the named handler.
class EventSink {
 public:
  // A button of ours was clicked (by the user or by BM_CLICK), or a menu item
  // with this id was chosen.
  virtual void OnCommand(int control_id) = 0;
  virtual void OnTimer(UINT_PTR timer_id) = 0;
  // The notification icon's callback: the mouse message of the event.
  virtual void OnTrayMessage(UINT /*mouse_message*/) {}
  // The shell started again (the notification area is new and empty).
  virtual void OnTaskbarCreated() {}
  // Another start of Pallix asks this one to show its window.
  virtual void OnOpenRequest() {}
  // The main window was shown or hidden; it became the active window.
  virtual void OnShowWindow(bool /*shown*/) {}
  virtual void OnActivate() {}
  // The main window is shown and already the active window (no WM_ACTIVATE
  // comes for that), reported once the showing is complete.
  virtual void OnShownWhileActive() {}
  // A click or double-click on the main window's background.
  virtual void OnBackgroundClick() {}
  virtual void OnBackgroundDblClick() {}
  // A mouse button went down, up or down again (WM_MOUSEMOVE to
  // WM_MBUTTONDBLCLK), or the mouse moved, over a picture box
  // (or anywhere while it holds the capture); or the box lost the mouse
  // capture (WM_CAPTURECHANGED). The point is in the picture box's client
  // coordinates.
  virtual void OnPictureMouse(int /*control_id*/, UINT /*message*/, POINT /*at*/) {}
  // A table: a key went down in it; its selection changed; the tip for a
  // row that the pointer rests on (empty: none).
  virtual void OnTableKey(int /*control_id*/, WORD /*key*/) {}
  virtual void OnTableSelection(int /*control_id*/) {}
  virtual std::string OnTableTip(int /*control_id*/, int /*row*/) { return {}; }
  // A double-click on a table's row (-1: below the rows).
  virtual void OnTableDblClick(int /*control_id*/, int /*row*/) {}
  // The user double-clicked the divider at the right of a table's column.
  virtual void OnTableDividerDblClick(int /*control_id*/, int /*column*/) {}
  // The main window's client area has a new size (the user resized or
  // maximised it, or it was restored), in pixels.
  virtual void OnResize(int /*width*/, int /*height*/) {}
  // Something asks the main window to close; return true to refuse.
  virtual bool OnQueryClose(int /*reason*/) { return false; }
  // The main window is going away after all.
  virtual void OnDestroy() {}

 protected:
  ~EventSink() = default;
};

enum class ControlKind {
  kLabel,
  kCentredLabel,
  kTextBox,
  kButton,
  kColouredButton,  // draws its own background colour
  kOptionButton,
  kCheckBox,
  kComboBox,  // editable text with a drop-down list
  kListBox,
  kTable,  // rows and columns with a header, one row selected at a time
  kPictureBox,
  kShape,
};

// Why a close request came, as the program's close handler is told.
inline constexpr int kCloseFromMenu = 0;     // the window menu's Close, Alt+F4
inline constexpr int kCloseFromCode = 1;     // the program itself
inline constexpr int kCloseFromSession = 2;  // log-off or shut-down

// The program's title, used by every message box that has none of its own.
inline constexpr const char* kAppTitle = "Pallix";

// The main window's class, by which another start of Pallix finds it, and
// the message by which it asks the window to show itself.
inline constexpr const char* kMainWindowClass = "PallixMain";
UINT OpenRequestMessage();

// The main window, hidden, with the given client area on the screen. The
// user can make it larger, never smaller than it is created. Its state lives
// with the window and goes when the window is destroyed.
HWND CreateMainWindow(const char* caption, const RECT& client, EventSink& sink);
// Another window of ours beside the main one, hidden, made as the main
// window is (its controls, events and keys alike). Enter presses the
// focused button, or else the button `default_id`; Esc is the command
// IDCANCEL. Closed, it is destroyed, and the program goes on.
HWND CreateSecondaryWindow(const char* caption, const RECT& client, EventSink& sink,
                           int default_id);
HWND CreateControl(HWND parent, ControlKind kind, int control_id, const char* text,
                   const RECT& bounds);

void SetCaption(HWND control, std::string_view text);
// A label's caption on its one line: in the user-interface font, or in the
// largest smaller size of it that fits when the text is wider than the
// label.
void SetCaptionFitting(HWND label, std::string_view text);
std::string GetCaption(HWND control);
// A control's own visibility, whether or not its parent is shown.
void SetVisible(HWND control, bool visible);
bool IsVisible(HWND control);
void SetBackColor(HWND control, COLORREF color);
COLORREF GetBackColor(HWND control);
void SetForeColor(HWND control, COLORREF color);
COLORREF GetForeColor(HWND control);

// Items of a list box or of a combo box's drop-down list.
void ListClear(HWND control);
void ListAddItem(HWND control, std::string_view item);
int ListCount(HWND control);
std::string ListItem(HWND control, int index);
// Selects an item; a combo box's text becomes that item.
void ListSelect(HWND control, int index);

// A table's columns: caption and weight. The columns share the table's
// width in proportion to their weights, filling it.
void TableColumns(HWND table, const std::vector<std::pair<std::string, int>>& columns);
// The columns brought to the table's width as it is now. Only the change of
// width since they were last brought to it is shared out by weight, so a
// width the user gave a column stays, and grows or shrinks by its share.
void TableFitColumns(HWND table);
// One column as wide as the widest of its texts, its caption included.
void TableFitColumn(HWND table, int column);
// Column widths after the room for them changed by `change` pixels: the
// change shared in proportion to `weights`, to the pixel; a column does not
// shrink below `least` (a narrower one does not shrink), and what it cannot
// give is taken from the others.
std::vector<int> ShareWidth(std::vector<int> widths, const std::vector<int>& weights, int change,
                            int least);
// Replaces every row; the texts of each row in column order.
void TableSetRows(HWND table, const std::vector<std::vector<std::string>>& rows);
// Changes one cell, and repaints it only when its text is new.
void TableSetCell(HWND table, int row, int column, std::string_view text);
std::string TableCell(HWND table, int row, int column);
// One row put in before `row` (the row count: at the end), its texts in
// column order, with a number of the caller's that stays with it; one row
// taken out; the number of a row (0 when there is no such row).
void TableInsertRow(HWND table, int row, const std::vector<std::string>& cells, std::uint64_t key);
void TableDeleteRow(HWND table, int row);
std::uint64_t TableRowKey(HWND table, int row);
int TableRowCount(HWND table);
// The selected row, or -1.
int TableSelected(HWND table);
void TableSelect(HWND table, int row);

void SetOptionValue(HWND option, bool value);
bool GetOptionValue(HWND option);
// A check box stands alone: ticking it changes no other control.
void SetCheckValue(HWND check, bool value);
bool GetCheckValue(HWND check);

// Text look: face name, size in points, bold, italic.
void SetFont(HWND control, const char* face, int points, bool bold, bool italic);
// A tooltip shown when the pointer rests on the control.
void SetToolTip(HWND control, std::string_view text);

// Pictures by resource id (0 for none): a picture box's picture, and the
// main window's own mouse pointer while it is set to its custom image.
void SetPicture(HWND control, int resource_id);
int GetPicture(HWND control);
void SetCustomPointer(HWND window, int cursor_resource_id);
void UseCustomPointer(HWND window, bool custom);

// A menu item's caption, by command id.
void SetMenuItemCaption(HMENU menu, int item_id, std::string_view caption);
std::string GetMenuItemCaption(HMENU menu, int item_id);
// Shows the menu at the pointer, left-aligned; returns once it is closed,
// after the chosen item's command has reached the owner's event sink.
void PopupMenu(HMENU menu, HWND owner);

// A window of ours that receives the notification icon's callback message
// and hands it to the sink as OnTrayMessage. It is never on the screen.
HWND CreateTrayWindow(EventSink& sink, UINT callback_message);

// A modal message box, owned by our main window while it is visible, so
// that the window waits for the answer. Returns the answer (IDOK, IDYES...).
// Timers and other events are handled while it is open, as Windows does.
int MsgBox(std::string_view prompt, UINT style, std::string_view title);

// Handles every event waiting for the program, then returns.
void DoEvents();

// Runs the message loop until the main window is destroyed.
int RunMessageLoop();

// Work the message loop does between messages: after each batch of them,
// and, for as long as the work returns true, again every millisecond with
// no message at all (a window timer that short fires 10 ms late or worse).
// Returning false puts the loop back to sleep until the next message; one
// registered work at a time, none when empty.
void SetIdleWork(std::function<bool()> work);
// Runs the registered work once, as the loop would; whether it wants to run
// again within a millisecond. False with none registered.
bool DoIdleWork();
// Wakes a loop asleep in its wait, so that the work runs soon: for a
// change the loop cannot see, such as a window event's callback, which
// Windows runs inside the wait without handing the loop a message.
void WakeIdleWork();

// The folder of the running executable, as Windows writes it: no trailing
// backslash, except at the root of a drive ("C:\").
std::string AppPath();

double TwipsPerPixelX();
double TwipsPerPixelY();

// A text of the program's own string table, if it has one by that number.
std::optional<std::string> LoadResString(unsigned id);

// Windows' own words for an error number, without the line break that ends
// them.
std::string SystemErrorText(DWORD error);

}  // namespace pallix

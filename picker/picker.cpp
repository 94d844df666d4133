#include "picker/picker.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "ui/toolkit.h"
#include "watch/dialog_buttons.h"
#include "watch/dialog_message.h"
#include "watch/dialog_program.h"

namespace pallix {
namespace {

constexpr COLORREF kWarningColour = RGB(255, 0, 0);

std::string WithoutLeadingSpaces(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

// Whether a title counts as a Rhinoceros window's: its first ten characters,
// case significant, nothing trimmed.
bool BeginsWithRhinoceros(std::string_view title) {
  return title.starts_with("Rhinoceros");
}

// Whether a window the pick was let go over is one Add could store: not the
// desktop, and not the main window or what it owns (its tooltip, the boxes
// shown while it is up), the only windows of this program a pick can reach.
bool Capturable(HWND root, HWND form) {
  if (!root || root == ::GetDesktopWindow() || root == ::GetShellWindow()) return false;
  for (HWND own = root; own; own = ::GetWindow(own, GW_OWNER)) {
    if (own == form) return false;
  }
  char name[16];
  int n = ::GetClassNameA(root, name, sizeof name);
  std::string_view window_class(name, n > 0 ? static_cast<std::size_t>(n) : 0);
  return window_class != "WorkerW" && window_class != "Progman";
}

}  // namespace

std::string WindowText(HWND window, bool* cut) {
  if (cut) *cut = false;
  if (!window) return {};
  // One character more than is kept tells whether there was more.
  char buffer[kWindowTextMax + 2] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied)) {
    return {};
  }
  if (cut) *cut = copied > kWindowTextMax;
  return std::string(buffer, std::min<std::size_t>(copied, kWindowTextMax));
}

SeenDialog ReadDialogKey(HWND dialog, const ClickedDialog* clicking) {
  SeenDialog seen;
  // Another program's title is read from the window system, not asked of
  // the program, which may be busy.
  char title[kWindowTextMax + 2] = {};
  int n = ::GetWindowTextA(dialog, title, sizeof title);
  seen.title = WithoutLeadingSpaces(
      std::string_view(title, std::min<std::size_t>(n > 0 ? n : 0, kWindowTextMax)));
  seen.window_class = ClassName(dialog);
  if (clicking) {
    seen.program = ProgramFileName(clicking->process);
    seen.message = MessagePrefill(clicking->message);
  } else {
    seen.program = WindowProgram(dialog);
    seen.message = MessagePrefill(DialogMessage(dialog));
  }
  return seen;
}

SeenDialog ReadSeenDialog(HWND dialog, SeenDialog key) {
  SeenDialog seen = std::move(key);
  seen.title = WithoutLeadingSpaces(WindowText(dialog, &seen.title_cut));
  seen.title_beyond_ansi = !AnsiHoldsText(dialog);
  for (HWND button : DialogButtons(dialog)) {
    LONG style = ::GetWindowLongA(button, GWL_STYLE);
    seen.buttons.push_back({ControlText(button), !AnsiHoldsText(button),
                            HasEarlierTwin(dialog, button),
                            (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON});
  }
  return seen;
}

std::string HandleCaption(HWND window) {
  char text[16];
  std::snprintf(text, sizeof text, "%X",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

void Picker::ClearChooser() {
  for (int i = 0; i < 3; ++i) {
    SetVisible(chooser_.controls.cmd1[i], false);
    SetVisible(chooser_.controls.Op1[i], false);
    SetCaption(chooser_.controls.cmd1[i], "");
  }
  chooser_.button_count = 0;
  chooser_.beyond_ansi = {};
  chooser_.offered = {};
  chooser_.twin = {};
  picked_program_.clear();
  SetVisible(c_.Check1, false);
}

void Picker::Picture2_MouseDown() {
  SetVisible(c_.Label3, false);
  ClearChooser();
  UseCustomPointer(c_.form, true);
  // The cursor image seems to leave the box with the pointer.
  SetPicture(c_.Picture2, 0);
  picking_ = true;
  ::SetCapture(c_.Picture2);
}

void Picker::Picture2_MouseMove() {
  if (!picking_) return;
  POINT at{};
  ::GetCursorPos(&at);
  HWND found = ::WindowFromPoint(at);
  if (outline_.outlined_hwnd && outline_.outlined_hwnd != found) {
    remove_outline(outline_, outline_.outlined_hwnd);
  }
  picked_window_ = found;
  SetCaption(c_.form, HandleCaption(picked_window_));
  SetCaption(c_.Text1, WithoutLeadingSpaces(WindowText(picked_window_, &picked_title_cut_)));
  // Redrawn only when the window under the pointer changes: each frame costs
  // a pixel operation per edge and the pointer moves many times a second.
  if (outline_.outlined_hwnd != picked_window_) draw_outline(outline_, picked_window_);
}

void Picker::EndPick() {
  picking_ = false;
  SetPicture(c_.Picture2, c_.picker_cursor);
  UseCustomPointer(c_.form, false);
  ::ReleaseCapture();
}

void Picker::Picture2_MouseUp() {
  // The pick ends with the release: movement handled during the scan's
  // yields no longer changes what was captured.
  picking_ = false;
  ListClear(chooser_.controls.List1);
  // A release over a button or a text belongs to the dialog round it: the
  // monitor finds dialogs, and the button tells which one to press.
  HWND released = picked_window_;
  HWND root = released ? ::GetAncestor(released, GA_ROOT) : nullptr;
  if (!root) root = released;
  if (!Capturable(root, c_.form)) {
    picked_window_ = nullptr;
    picked_class_.clear();
    for (HWND cleared : {c_.Text1, c_.Text6, c_.Text4}) SetCaption(cleared, "");
    EndPick();
    return;
  }
  picked_window_ = root;
  SetCaption(c_.form, HandleCaption(root));
  SetCaption(c_.Text1, WithoutLeadingSpaces(WindowText(root, &picked_title_cut_)));
  title_beyond_ansi_ = !AnsiHoldsText(root);
  chooser_.released = released;
  ScanPickedWindow(picked_window_, chooser_);
  SetCaption(c_.Text6, MessagePrefill(DialogMessage(picked_window_)));
  ShowProgram(WindowProgram(picked_window_));
  HWND parent = ::GetParent(picked_window_);
  std::string tested = WindowText(parent);
  picked_class_ = ClassName(picked_window_);
  SetCaption(c_.Text2, WithoutLeadingSpaces(tested));
  if (!BeginsWithRhinoceros(tested)) {
    tested = WindowText(::GetParent(parent));
    SetCaption(c_.Text2, WithoutLeadingSpaces(tested) + " level2 ");
  }
  EndPick();
  SetCaption(c_.Text4, picked_class_);
  // The button let go over would not be the one pressed: that outweighs the
  // warning about the dialog's owner.
  const char* warning = chooser_.twin[chooser_.chosen]  ? kTwinCaptionMessage
                        : !BeginsWithRhinoceros(tested) ? kNoRhinocerosMessage
                                                        : nullptr;
  if (warning) {
    SetCaptionFitting(c_.Label3, warning);
    SetForeColor(c_.Label3, kWarningColour);  // Add may have left its confirmation's colour
    SetVisible(c_.Label3, true);
  }
}

void Picker::ShowProgram(std::string program) {
  picked_program_ = std::move(program);
  bool known = !picked_program_.empty();
  SetCaption(c_.Check1, known ? kOnlyFromCaption + picked_program_ : kProgramUnknownCaption);
  SetCheckValue(c_.Check1, known);
  ::EnableWindow(c_.Check1, known);
  SetVisible(c_.Check1, true);
}

void Picker::TeachFrom(const SeenDialog& dialog) {
  // A pick in progress would put its own window in place of the record's.
  if (picking_) return;
  ClearChooser();
  ListClear(chooser_.controls.List1);
  picked_window_ = nullptr;
  const ScanControls& c = chooser_.controls;
  std::vector<std::size_t> offered = OfferedButtons(dialog);
  for (std::size_t i = 0; i < offered.size(); ++i) {
    const SeenButton& button = dialog.buttons[offered[i]];
    SetCaption(c.cmd1[i], button.caption);
    SetVisible(c.cmd1[i], true);
    SetVisible(c.Op1[i], true);
    chooser_.beyond_ansi[i] = button.beyond_ansi;
    chooser_.twin[i] = button.twin;
  }
  chooser_.button_count =
      static_cast<std::int16_t>(std::min<std::size_t>(dialog.buttons.size(), INT16_MAX));
  chooser_.chosen = 0;
  if (!offered.empty()) SetOptionValue(c.Op1[0], true);
  SetCaption(c_.Text1, dialog.title);
  picked_title_cut_ = dialog.title_cut;
  title_beyond_ansi_ = dialog.title_beyond_ansi;
  SetCaption(c_.Text6, dialog.message);
  picked_class_ = dialog.window_class;
  SetCaption(c_.Text4, picked_class_);
  SetCaption(c_.Text2, "");
  ShowProgram(dialog.program);
}

void Picker::Picture2_LostCapture() {
  // Releasing the capture at the end of a pick comes here too, after the
  // pick has ended.
  if (!picking_) return;
  // Nothing was let go over anything: the pick ends as a cancel, without a
  // scan, and the chooser keeps what the press left in it. Nothing is
  // captured then: an Add would otherwise join the title last pointed at to
  // the class of an earlier capture.
  picking_ = false;
  picked_class_.clear();
  if (outline_.outlined_hwnd) {
    remove_outline(outline_, outline_.outlined_hwnd);
    // The frame is gone: the next pick over that window draws it again.
    outline_.outlined_hwnd = nullptr;
  }
  SetPicture(c_.Picture2, c_.picker_cursor);
  UseCustomPointer(c_.form, false);
}

}  // namespace pallix

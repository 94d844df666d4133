// Drag-to-pick: a press on the picker picture captures the mouse; each
// movement names and outlines the window under the pointer; the release
// makes the top-level window it belongs to the captured window, offers its
// buttons (the one under the pointer chosen), shows its message and
// records its class.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "picker/outline.h"
#include "picker/scan.h"
#include "watch/clicked_dialog.h"
#include "watch/recent_dialogs.h"

namespace pallix {

inline constexpr const char* kNoRhinocerosMessage = "Couldn't find parent hwnd Rhinoceros";
inline constexpr const char* kOnlyFromCaption = "Only from ";
// Where Windows keeps the dialog's program from us (a process run as
// administrator): the entry can only answer every program.
inline constexpr const char* kProgramUnknownCaption =
    "Only from its program: Windows does not say which";
// How long the picker waits for a window to give its text.
inline constexpr UINT kTextTimeoutMs = 100;

struct PickerControls {
  HWND form;
  HWND Picture2;
  HWND Text1;
  HWND Text6;   // the captured dialog's message, for the user to shorten
  HWND Check1;  // "Only from <program>": the entry answers that program alone
  HWND Text2;
  HWND Text4;
  HWND Label3;
  int picker_cursor;  // resource id of the picker cursor image
};

// A window's text as the picker reads it: at most kWindowTextMax characters;
// *cut, if given, tells whether the window holds more. A window that does
// not answer within kTextTimeoutMs, or that Windows reports hung, reads as
// the empty text, so it cannot freeze Pallix.
inline constexpr std::size_t kWindowTextMax = 143;
std::string WindowText(HWND window, bool* cut = nullptr);

// Only what tells one dialog from another (its program, title, class and
// message), read from what Windows keeps of it, with no message to the
// dialog's program: cheap enough to come before a click. With `clicking`,
// its program and message are those the monitor read.
SeenDialog ReadDialogKey(HWND dialog, const ClickedDialog* clicking = nullptr);
// A dialog read as a drop on it reads it: its title as "Title" shows it,
// its message as "When it says:" offers it, its program, class and
// pressable buttons, and what Add would refuse of them. The rest is read
// onto `key`, the dialog's key as read just before, so that a dialog seen
// again, known by its key, cannot be told apart from this reading.
SeenDialog ReadSeenDialog(HWND dialog, SeenDialog key);

// The caption the main window shows for a handle: upper-case hexadecimal,
// no prefix, no leading zeros.
std::string HandleCaption(HWND window);

class Picker {
 public:
  // The controls it works on, once the main window has made them.
  void Attach(const PickerControls& controls, const ScanControls& scan) {
    c_ = controls;
    chooser_.controls = scan;
  }

  void Picture2_MouseDown();
  void Picture2_MouseMove();
  void Picture2_MouseUp();
  // The mouse capture went elsewhere (another window took it, Alt+Tab).
  void Picture2_LostCapture();
  // The main window filled as a drop on that dialog would fill it, from
  // what was read of it when it showed: Add then stores it, with every
  // check, though the dialog is gone. The buttons offered are
  // OfferedButtons', the first chosen.
  void TeachFrom(const SeenDialog& dialog);

  HWND picked_window() const { return picked_window_; }
  bool picking() const { return picking_; }
  const std::string& picked_class() const { return picked_class_; }
  // Whether the captured window's title was longer than Text1 shows (during
  // a drag: the title of the window under the pointer).
  bool picked_title_cut() const { return picked_title_cut_; }
  // Whether the captured window's title, or the caption of an offered
  // button, has characters the ANSI code page cannot hold.
  bool title_beyond_ansi() const { return title_beyond_ansi_; }
  const std::array<bool, 3>& captions_beyond_ansi() const { return chooser_.beyond_ansi; }
  // Which offered buttons another button of their caption comes before.
  const std::array<bool, 3>& twins() const { return chooser_.twin; }
  // The captured window's program; empty when Windows does not say.
  const std::string& picked_program() const { return picked_program_; }
  const Outline& outline() const { return outline_; }
  std::int16_t button_count() const { return chooser_.button_count; }

 private:
  void EndPick();
  // The chooser emptied, and nothing captured.
  void ClearChooser();
  // The captured window's program, offered in Check1.
  void ShowProgram(std::string program);

  PickerControls c_{};
  ButtonChooser chooser_{};
  Outline outline_;
  HWND picked_window_ = nullptr;
  bool picking_ = false;
  std::string picked_class_;
  std::string picked_program_;
  bool picked_title_cut_ = false;
  bool title_beyond_ansi_ = false;
};

}  // namespace pallix

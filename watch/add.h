// "Add": stores the captured dialog, with the chosen button, as a new entry
// of the chosen configuration file, if the monitor could ever answer it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "watch/read_ini.h"

namespace pallix {

// Refusals show in red; every Add ends with one of these or the
// confirmation in Label3.
inline constexpr const char* kDuplicateMessage = "Duplicate entry. Item has NOT been added!";
inline constexpr const char* kNothingPickedMessage = "Drag the picker onto a dialog first!";
inline constexpr const char* kTitleCutMessage = "The title is too long to store. NOT added!";
inline constexpr const char* kNotStorableMessage = "Title or button can't be stored. NOT added!";
inline constexpr const char* kMessageNotStorableMessage = "The message can't be stored. NOT added!";
inline constexpr const char* kProgramNotStorableMessage =
    "The program's name can't be stored. NOT added!";
inline constexpr const char* kWriteFailedMessage = "The INI file can't be written. NOT added!";
inline constexpr const char* kTitleBeyondAnsiMessage =
    "The title has characters this system cannot store. NOT added!";
inline constexpr const char* kButtonBeyondAnsiMessage =
    "The button has characters this system cannot store. NOT added!";
// Add works only while monitoring is off.
inline constexpr const char* kAddedMessage = "Added. Answered as soon as monitoring is on.";
// Add's refusal at the limit, naming the number the new entry would have.
std::string TableFullMessage(std::int64_t n);
inline constexpr COLORREF kRefusedColour = RGB(255, 0, 0);
inline constexpr COLORREF kAddedColour = RGB(0, 100, 0);  // dark green

struct AddControls {
  HWND Combo1;  // the chosen file
  HWND Text1;   // the captured title
  HWND Text6;   // the message the dialog must show; empty: any
  std::array<HWND, 3> cmd1;
  std::array<HWND, 3> Op1;
  HWND Label3;
  HWND Check1 = nullptr;  // ticked: the entry answers the captured program alone
};

// What the picker recorded of the captured window when the pick ended.
struct PickedWindow {
  std::string_view picked_class;  // empty: nothing captured, or it was gone
  bool title_cut;
  // Characters the ANSI code page cannot hold, which read as "?": a
  // look-up by that text would never find the window again.
  bool title_beyond_ansi = false;
  std::array<bool, 3> caption_beyond_ansi = {};  // per cmd1
  // The file name of the dialog's program; empty when Windows did not say.
  std::string_view program = {};
  // Per cmd1: another button of that caption comes first in the dialog.
  std::array<bool, 3> twin = {};
};

// Label3 shown with this message in this colour: how Add and Remove answer.
void SayInLabel3(HWND label3, std::string_view message, COLORREF colour);

// After a successful Add the file is loaded into `table` again, as "Read
// ini" loads it, so that the new entry is answered at once.
void Command3_Click(const AddControls& controls, const PickedWindow& picked, WatchTable& table,
                    const ReadIniControls& read_controls);

}  // namespace pallix

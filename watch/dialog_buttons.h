// A button Pallix can press: one definition for what the chooser offers,
// what Add stores and what the monitor presses, so that what is offered is
// what gets pressed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pallix {

// A window of the Button class (its name in any case, the class Windows
// says it is built on, or a Windows Forms button), of a kind that pushes,
// with a caption. Group boxes, check boxes and radio buttons answer nothing
// when pressed: they never count.
bool IsDialogButton(HWND window);

// Every such button below the dialog, at any depth, depth first in window
// order: the order the chooser offers them in.
std::vector<HWND> DialogButtons(HWND dialog);

struct ButtonLookup {
  HWND button = nullptr;  // the one to press now
  // None to press yet, but the dialog may still be coming up: it is not
  // shown yet, or a button of the caption is hidden or disabled.
  bool not_ready = false;
};

// The first of the dialog's buttons with this caption that is enabled and
// visible, the windows it stands in with it. A disabled button sends no click to its
// dialog on Windows but does under Wine; neither is what the user taught.
ButtonLookup PressableButton(HWND dialog, const std::string& caption);

// Whether the monitor, looking for this button's caption, would come to
// another button first: an earlier one of the dialog's buttons, in the
// order it searches, with the same caption and pressable now. Storing the
// caption would then press that other button.
bool HasEarlierTwin(HWND dialog, HWND button);
inline constexpr const char* kTwinCaptionMessage = "Another button has this caption. NOT added!";

// Whether the system's ANSI code page holds the window's own text: every
// text Pallix stores and looks up is ANSI, and a character it cannot hold
// reads as "?", which finds nothing.
bool AnsiHoldsText(HWND window);

}  // namespace pallix

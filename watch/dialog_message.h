// A dialog's message: what its text controls say, read the one way that
// both the capture and the monitor use, so that a message taught from a
// dialog is found again in the same dialog.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace pallix {

// Texts that are not empty, in the order given, joined by single blanks;
// each line break (CR LF, CR or LF) reads as one blank.
std::string JoinMessage(const std::vector<std::string>& texts);

// The dialog's direct "Static" children, in window order: the controls its
// message is read from.
std::vector<HWND> MessageControls(HWND dialog);

// The texts those controls show now, joined as above, read from what
// Windows keeps of each text, without a message to the dialog's program, so
// that a hung program cannot stop the caller.
std::string ReadMessage(const std::vector<HWND>& controls);

// Both: the message a dialog shows now.
std::string DialogMessage(HWND dialog);

// What the "When it says:" box offers for a message: as much of it as one
// stored value holds, without blanks at its ends.
std::string MessagePrefill(std::string_view message);

}  // namespace pallix

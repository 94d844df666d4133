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

// The texts of the dialog's direct "Static" children, joined as above. A
// window of another program is read from what Windows keeps of its text,
// without a message to it, so that a hung program cannot stop the caller;
// one of this program's own (whose text Windows asks the window for) is
// given a bounded wait.
std::string DialogMessage(HWND dialog);

// What the "When it says:" box offers for a message: as much of it as one
// stored value holds, without blanks at its ends.
std::string MessagePrefill(std::string_view message);

}  // namespace pallix

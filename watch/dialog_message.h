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

// What Windows keeps of a window's text, as ANSI text, read without a
// message to its window, so that a hung program cannot stop the reader.
std::string ControlText(HWND window);

// ANSI text as Windows keeps text, for comparing as Windows compares.
std::wstring WideText(std::string_view text);

// Every window below this one, at any depth, depth first in window order
// (a window before its own children): dialogs nest their controls in
// panels and hosts.
std::vector<HWND> Descendants(HWND window);

// The window's class name; empty when the window is gone.
std::string ClassName(HWND window);

// Class names compared as Windows compares them, without regard to case:
// the whole name, or a part of it (Windows Forms names its controls
// "WindowsForms10.BUTTON.app.0." and a suffix of the program's).
bool ClassNameIs(std::string_view name, std::string_view is);
bool ClassNameHas(std::string_view name, std::string_view part);

// The dialog's "Static" controls and Windows Forms labels, at any depth,
// in that order: the controls its message is read from.
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

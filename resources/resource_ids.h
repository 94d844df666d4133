// Resource numbers of pallix.exe, as pallix.rc assigns them. Plain integers,
// so code on either platform can use them without <windows.h>; pass them
// through MAKEINTRESOURCE where the system wants a resource name.
#pragma once

namespace pallix {

// The main window's class icon, and the one Explorer shows for pallix.exe.
inline constexpr int kIconProgram = 1;
// The notification-area icon, with its own 16-pixel drawing.
inline constexpr int kIconTray = 2;
// What the mouse shows while the user drags the picker onto a dialog.
inline constexpr int kCursorPicker = 3;
inline constexpr int kBitmapLogo = 4;

}  // namespace pallix

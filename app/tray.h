// The notification-area icon, its menu, and showing and hiding the main
// window from them.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <string>

namespace pallix {

inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t kTrayCallbackMessage = 512;  // WM_MOUSEMOVE
inline constexpr const char* kTrayTip = "I am monitoring Rhino's MSGBOXes";
inline constexpr const char* kTrayTipOff = "Pallix is not monitoring";
inline constexpr const char* kOpenCaption = "Open";
inline constexpr const char* kToSysTrayCaption = "To SysTray";

// picture1: the window that receives the icon's messages. Its text is the
// icon's tip, so that the icon added again for a new shell says what it
// said before.
void AddTrayIcon(HWND picture1, int icon_resource);
// The record AddTrayIcon hands the shell.
NOTIFYICONDATAA TrayIconRecord(HWND picture1, int icon_resource);
// The tip says whether Pallix is monitoring, from the moment it changes.
void SetTrayTip(HWND picture1, bool monitoring);
void RemoveTrayIcon(HWND picture1);
// A warning balloon from the icon. The shell shows it and takes it away by
// itself, so the caller does not wait for the user.
void ShowTrayBalloon(HWND picture1, const char* title, const std::string& text);

struct TrayControls {
  HWND form;
  HMENU traymenu;
  int swopen;
};

// The icon's callback. x is the mouse message, handed over as a pointer
// position in twips, the way a picture box reports a mouse move.
void Picture1_MouseMove(const TrayControls& controls, double x);
void swopen_Click(const TrayControls& controls);
// Shows the main window as "Open" does and brings it to the foreground.
void OpenMainWindow(const TrayControls& controls);

// Rounds to the nearest whole number, halves to the even neighbour, held as
// a 16-bit signed value (saturating outside its range).
std::int16_t RoundHalfEven16(double value);

// Puts the window above all others (or takes it out of the topmost group),
// keeping its place and size, and activates it.
void SetFormTopmost(HWND form, bool topmost);

}  // namespace pallix

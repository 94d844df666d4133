#include "app/tray.h"

#include <shellapi.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>

#include "ui/toolkit.h"

namespace pallix {

// The first layout of the record, whatever this shell's newest one is: it
// ends with its 64-byte tip, 88 bytes on 32-bit Windows and 104 here, where
// handles are 8 bytes and aligned.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88));
constexpr std::size_t kTipField = 64;

NOTIFYICONDATAA TrayIconRecord(HWND picture1, int icon_resource) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = picture1;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = static_cast<HICON>(
      ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icon_resource), IMAGE_ICON,
                   ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  // The tip, its NUL, then blanks to the end of the first layout's 64-byte
  // field, as the record has always been filled.
  std::memset(data.szTip, ' ', kTipField);
  int n = ::GetWindowTextA(picture1, data.szTip, kTipField);
  data.szTip[n > 0 ? n : 0] = '\0';
  return data;
}

void AddTrayIcon(HWND picture1, int icon_resource) {
  NOTIFYICONDATAA data = TrayIconRecord(picture1, icon_resource);
  ::Shell_NotifyIconA(NIM_ADD, &data);
}

void SetTrayTip(HWND picture1, bool monitoring) {
  ::SetWindowTextA(picture1, monitoring ? kTrayTip : kTrayTipOff);
  // The same record, of which the shell takes only the tip.
  NOTIFYICONDATAA data = TrayIconRecord(picture1, 0);
  data.uFlags = NIF_TIP;
  ::Shell_NotifyIconA(NIM_MODIFY, &data);
}

void RemoveTrayIcon(HWND picture1) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = picture1;
  data.uID = kTrayIconId;
  ::Shell_NotifyIconA(NIM_DELETE, &data);
}

void ShowTrayBalloon(HWND picture1, const char* title, const std::string& text) {
  NOTIFYICONDATAA data{};
  // The balloon's fields lie beyond the first layout that the icon was
  // added with, so this record goes whole.
  data.cbSize = sizeof data;
  data.hWnd = picture1;
  data.uID = kTrayIconId;
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_WARNING;
  std::snprintf(data.szInfoTitle, sizeof data.szInfoTitle, "%s", title);
  std::snprintf(data.szInfo, sizeof data.szInfo, "%s", text.c_str());
  ::Shell_NotifyIconA(NIM_MODIFY, &data);
}

void Picture1_MouseMove(const TrayControls& c, double x) {
  // Twips back to the mouse message. Rounded, since at some resolutions
  // twips per pixel is not a whole number and the division is not exact.
  long message = std::lround(x / TwipsPerPixelX());
  if (message == WM_RBUTTONDOWN) {
    PopupMenu(c.traymenu, c.form);
  } else if (message == WM_LBUTTONDBLCLK) {
    SetVisible(c.form, !IsVisible(c.form));
    if (IsVisible(c.form)) {
      SetMenuItemCaption(c.traymenu, c.swopen, kToSysTrayCaption);
      SetFormTopmost(c.form, true);
    } else {
      SetMenuItemCaption(c.traymenu, c.swopen, kOpenCaption);
    }
  }
}

void swopen_Click(const TrayControls& c) {
  if (GetMenuItemCaption(c.traymenu, c.swopen) == kOpenCaption) {
    SetVisible(c.form, true);
    SetMenuItemCaption(c.traymenu, c.swopen, kToSysTrayCaption);
  } else {
    SetMenuItemCaption(c.traymenu, c.swopen, kOpenCaption);
    SetVisible(c.form, false);
  }
}

void OpenMainWindow(const TrayControls& c) {
  SetVisible(c.form, true);
  SetMenuItemCaption(c.traymenu, c.swopen, kToSysTrayCaption);
  ::SetForegroundWindow(c.form);
}

std::int16_t RoundHalfEven16(double value) {
  double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  constexpr double kMin = std::numeric_limits<std::int16_t>::min();
  constexpr double kMax = std::numeric_limits<std::int16_t>::max();
  if (!(rounded >= kMin)) return std::numeric_limits<std::int16_t>::min();
  if (rounded > kMax) return std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(rounded);
}

void SetFormTopmost(HWND form, bool topmost) {
  RECT r;
  if (!::GetWindowRect(form, &r)) return;
  // The window's place in twips, turned back into pixels.
  double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  double left = r.left * tx, top = r.top * ty;
  double width = (r.right - r.left) * tx, height = (r.bottom - r.top) * ty;
  ::SetWindowPos(form, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, RoundHalfEven16(left / tx),
                 RoundHalfEven16(top / ty), RoundHalfEven16(width / tx),
                 RoundHalfEven16(height / ty), 0);
}

}  // namespace pallix

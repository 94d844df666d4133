#include "app/tray.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/shell32.h"
#include "platform/toolkit.h"
#include "platform/user32.h"

namespace pallix {

void AddTrayIcon(Hwnd picture1, int icon_resource) {
  NotifyIconRecord record;
  record.window = picture1;
  record.id = kTrayIconId;
  record.flags = kNifMessage | kNifIcon | kNifTip;
  record.callback_message = kTrayCallbackMessage;
  record.icon_resource = icon_resource;
  // The tip, its NUL, then blanks to the end of the field, as the record
  // has always been filled.
  std::memset(record.tip, ' ', sizeof record.tip);
  std::size_t n = std::strlen(kTrayTip);
  std::memcpy(record.tip, kTrayTip, n);
  record.tip[n] = '\0';
  Shell_NotifyIconA(kNimAdd, record);
}

void RemoveTrayIcon(Hwnd picture1) {
  NotifyIconRecord record;
  record.window = picture1;
  record.id = kTrayIconId;
  Shell_NotifyIconA(kNimDelete, record);
}

void Picture1_MouseMove(const TrayControls& c, double x) {
  // Twips back to the mouse message. Rounded, since at some resolutions
  // twips per pixel is not a whole number and the division is not exact.
  long message = std::lround(x / TwipsPerPixelX());
  if (message == kWmRButtonDown) {
    PopupMenu(c.traymenu, c.form);
  } else if (message == kWmLButtonDblClk) {
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

std::int16_t RoundHalfEven16(double value) {
  double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  constexpr double kMin = std::numeric_limits<std::int16_t>::min();
  constexpr double kMax = std::numeric_limits<std::int16_t>::max();
  if (!(rounded >= kMin)) return std::numeric_limits<std::int16_t>::min();
  if (rounded > kMax) return std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(rounded);
}

void SetFormTopmost(Hwnd form, bool topmost) {
  Rect r;
  if (!GetWindowRect(form, &r)) return;
  // The window's place in twips, turned back into pixels.
  double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  double left = r.left * tx, top = r.top * ty;
  double width = (r.right - r.left) * tx, height = (r.bottom - r.top) * ty;
  SetWindowPos(form, topmost ? kHwndTopmost : kHwndNoTopmost, RoundHalfEven16(left / tx),
               RoundHalfEven16(top / ty), RoundHalfEven16(width / tx), RoundHalfEven16(height / ty),
               0);
}

}  // namespace pallix

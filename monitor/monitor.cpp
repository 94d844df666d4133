#include "monitor/monitor.h"

#include <string>

#include "platform/toolkit.h"
#include "platform/user32.h"

namespace pallix {
namespace {

void SwitchOn(const MonitorSwitch& c) {
  SetCaption(c.command2, kDisableCaption);
  SetBackColor(c.command2, kMonitorOnColour);
  SetEnabled(c.command1, false);
  SetEnabled(c.command3, false);
  SetTimer(c.form, kMonitorTimerId, kMonitorPeriodMs);
}

void SwitchOff(const MonitorSwitch& c) {
  KillTimer(c.form, kMonitorTimerId);
  SetCaption(c.command2, kEnableCaption);
  SetBackColor(c.command2, kMonitorOffColour);
  SetEnabled(c.command1, true);
  SetEnabled(c.command3, true);
}

}  // namespace

void Command2_Click(const MonitorSwitch& c) {
  if (GetCaption(c.command2) == kEnableCaption) {
    SwitchOn(c);
    SetMenuItemChecked(c.traymenu, c.swenable, false);
  } else {
    SwitchOff(c);
    SetMenuItemChecked(c.traymenu, c.swenable, true);
  }
}

void swenable_Click(const MonitorSwitch& c) {
  bool checked = !IsMenuItemChecked(c.traymenu, c.swenable);
  SetMenuItemChecked(c.traymenu, c.swenable, checked);
  if (checked) {
    SwitchOff(c);
  } else {
    SwitchOn(c);
  }
}

void DialogMonitor::Monitor_timer_Timer(const WatchTable& table) {
  if (ticking_) return;
  struct Pass {
    bool& flag;
    explicit Pass(bool& f) : flag(f) { flag = true; }
    ~Pass() { flag = false; }
  } pass(ticking_);

  static const std::intptr_t kNothing = 0;
  for (int slot = 1; slot <= kWatchSlots; ++slot) {
    // An empty class names no window class, so an empty slot can match
    // nothing: its lookups are skipped. So is the button lookup when there is
    // no dialog, as no click could follow it.
    if (table.watch_class[slot].empty()) continue;
    Hwnd dialog = FindWindowA(table.watch_class[slot].c_str(), table.watch_title[slot].c_str());
    if (!dialog) continue;
    Hwnd button = FindWindowExA(dialog, Hwnd{}, "Button", table.watch_button[slot].c_str());
    if (!button) continue;
    SendMessageA(button, kBmClick, 0, reinterpret_cast<std::intptr_t>(&kNothing));
    // Other events run here, a "Read ini" among them: the slots after this
    // one are then read from the new table.
    DoEvents();
    DoEvents();
  }
}

}  // namespace pallix

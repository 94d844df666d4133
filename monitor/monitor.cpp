#include "monitor/monitor.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

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
  // Whether any top-level window of a class exists, asked once per class and
  // tick: when none does, every slot of that class would find nothing, and
  // one look-up answers for all of them. The yields after a click let the
  // desktop change, so a click forgets what was learnt.
  std::vector<std::pair<std::string_view, bool>> class_present;
  auto any_of_class = [&](const std::string& window_class) {
    for (const auto& [name, present] : class_present) {
      if (name == window_class) return present;
    }
    bool present = static_cast<bool>(FindWindowA(window_class.c_str(), nullptr));
    class_present.emplace_back(window_class, present);
    return present;
  };
  for (int slot = 1; slot <= kWatchSlots; ++slot) {
    // An empty class names no window class, so an empty slot can match
    // nothing: its lookups are skipped. So is the button lookup when there is
    // no dialog, as no click could follow it.
    const std::string& window_class = table.watch_class[slot];
    if (window_class.empty() || !any_of_class(window_class)) continue;
    Hwnd dialog = FindWindowA(window_class.c_str(), table.watch_title[slot].c_str());
    if (!dialog) continue;
    Hwnd button = FindWindowExA(dialog, Hwnd{}, "Button", table.watch_button[slot].c_str());
    if (!button) continue;
    SendMessageA(button, kBmClick, 0, reinterpret_cast<std::intptr_t>(&kNothing));
    // Other events run here, a "Read ini" among them: the slots after this
    // one are then read from the new table.
    class_present.clear();
    DoEvents();
    DoEvents();
  }
}

}  // namespace pallix

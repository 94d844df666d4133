#include "monitor/monitor.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/tray.h"
#include "ui/toolkit.h"

namespace pallix {
namespace {

void SwitchOn(const MonitorSwitch& c) {
  SetCaption(c.command2, kDisableCaption);
  SetBackColor(c.command2, kMonitorOnColour);
  ::EnableWindow(c.command1, FALSE);
  ::EnableWindow(c.command3, FALSE);
  ::SetTimer(c.form, kMonitorTimerId, kMonitorPeriodMs, nullptr);
  SetTrayTip(c.picture1, true);
}

void SwitchOff(const MonitorSwitch& c) {
  ::KillTimer(c.form, kMonitorTimerId);
  SetCaption(c.command2, kEnableCaption);
  SetBackColor(c.command2, kMonitorOffColour);
  ::EnableWindow(c.command1, TRUE);
  ::EnableWindow(c.command3, TRUE);
  SetTrayTip(c.picture1, false);
}

struct Target {
  HWND dialog = nullptr;
  HWND button = nullptr;  // null: nothing to press in this tick
  ClickMemory::Verdict verdict = ClickMemory::Verdict::kLeave;
};

// The entry's dialog and the button to press in it. The first window of its
// class and title decides, as with a single lookup, except that a window
// given up on hides no newer one of the same title behind it.
Target FindTarget(ClickMemory& memory, const WatchedEntry& entry) {
  Target t;
  while ((t.dialog = ::FindWindowExA(nullptr, t.dialog, entry.window_class.c_str(),
                                     entry.title.c_str()))) {
    t.button = PressableButton(t.dialog, entry.button);
    if (!t.button) return {};
    t.verdict = memory.Decide(t.dialog, t.button, entry);
    if (t.verdict != ClickMemory::Verdict::kLeave) return t;
  }
  return {};
}

// A dialog whose thread hangs must not freeze Pallix: the click gives up
// after a second, and at once when Windows already reports it hung.
AnswerOutcome Click(HWND button) {
  static const LPARAM kNothing = 0;
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(button, BM_CLICK, 0, reinterpret_cast<LPARAM>(&kNothing),
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, kClickTimeoutMs, &ignored)
             ? AnswerOutcome::kAnswered
             : AnswerOutcome::kNotResponding;
}

}  // namespace

void Command2_Click(const MonitorSwitch& c) {
  if (GetCaption(c.command2) == kEnableCaption) {
    SwitchOn(c);
    ::CheckMenuItem(c.traymenu, c.swenable, MF_BYCOMMAND | MF_UNCHECKED);
  } else {
    SwitchOff(c);
    ::CheckMenuItem(c.traymenu, c.swenable, MF_BYCOMMAND | MF_CHECKED);
  }
}

void swenable_Click(const MonitorSwitch& c) {
  bool checked = (::GetMenuState(c.traymenu, c.swenable, MF_BYCOMMAND) & MF_CHECKED) == 0;
  ::CheckMenuItem(c.traymenu, c.swenable, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  if (checked) {
    SwitchOff(c);
  } else {
    SwitchOn(c);
  }
}

void DialogMonitor::Monitor_timer_Timer(const WatchTable& table, AnswerLog* log) {
#ifdef PALLIX_BENCH_WITHOUT_ANSWER_LOG
  // A build of the benchmark's own, timed beside the real program in the
  // same run to show what the log costs an answer (bench/CMakeLists.txt).
  log = nullptr;
#endif
  if (ticking_) return;
  struct Pass {
    bool& flag;
    explicit Pass(bool& f) : flag(f) { flag = true; }
    ~Pass() { flag = false; }
  } pass(ticking_);
  clicked_.NextTick();

  // Whether any top-level window of a class exists, asked once per class and
  // tick: when none does, every slot of that class would find nothing, and
  // one look-up answers for all of them. The yields after a click let the
  // desktop change, so a click forgets what was learnt.
  std::vector<std::pair<std::string_view, bool>> class_present;
  auto any_of_class = [&](const std::string& window_class) {
    for (const auto& [name, present] : class_present) {
      if (name == window_class) return present;
    }
    bool present = ::FindWindowA(window_class.c_str(), nullptr) != nullptr;
    class_present.emplace_back(window_class, present);
    return present;
  };
  for (int slot = 1; slot <= kWatchSlots; ++slot) {
    // An empty class names no window class, so an empty slot can match
    // nothing: its lookups are skipped. So is the button lookup when there is
    // no dialog, as no click could follow it.
    const std::string& window_class = table.watch_class[slot];
    if (window_class.empty() || !any_of_class(window_class)) continue;
    const WatchedEntry entry{table.watch_title[slot], table.watch_button[slot], window_class};
    Target target = FindTarget(clicked_, entry);
    if (!target.button) continue;
    // The dialog's program is opened before the click, the one call the log
    // adds ahead of it: a program that ends as soon as its box is answered
    // can still be named afterwards.
    HANDLE process = nullptr;
    if (log) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(target.dialog, &pid);
      process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    }
    AnswerOutcome outcome = target.verdict == ClickMemory::Verdict::kClick
                                ? Click(target.button)
                                : AnswerOutcome::kNoEffect;
    if (clicked_.Remember(target.dialog, target.button, entry, outcome) && log) {
      log->Record(process, outcome, entry.title, entry.button, entry.window_class);
    }
    if (process) ::CloseHandle(process);
    if (outcome == AnswerOutcome::kNoEffect) continue;
    // Other events run here, a "Read ini" among them: the slots after this
    // one are then read from the new table.
    class_present.clear();
    DoEvents();
    DoEvents();
  }
}

}  // namespace pallix

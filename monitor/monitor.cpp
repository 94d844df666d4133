#include "monitor/monitor.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit.h"
#include "watch/dialog_buttons.h"
#include "watch/dialog_message.h"
#include "watch/dialog_program.h"

namespace pallix {

namespace {

// The title as Windows keeps it, read without a message to the window's
// program, as FindWindowEx reads it.
std::wstring WindowTitle(HWND window) {
  wchar_t title[512];
  int n = ::InternalGetWindowText(window, title, static_cast<int>(std::size(title)));
  return std::wstring(title, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Class names compare as FindWindowEx compares them: case aside.
bool SameClass(const std::string& a, const std::string& b) {
  return SameText(WideText(a), WideText(b));
}

}  // namespace

std::vector<HWND> WholeListing(std::vector<HWND> listed, const std::vector<HWND>& before,
                               const std::function<bool(HWND)>& stands) {
  const std::size_t found = listed.size();
  for (HWND w : before) {
    auto first = listed.begin();
    auto last = first + static_cast<std::ptrdiff_t>(found);
    if (std::find(first, last, w) == last && stands(w)) listed.push_back(w);
  }
  return listed;
}

std::vector<MessageCache::TopLevel>& MessageCache::OfClass(const std::string& window_class) {
  if (auto known = of_class_.find(window_class); known != of_class_.end()) return known->second;
  std::vector<TopLevel>& of_class = of_class_[window_class];
  if (only_) {
    for (const Reported& window : *only_) {
      // Whether each is still there was asked just before the pass: a
      // window gone since has no title to match.
      if (SameClass(window.window_class, window_class)) {
        of_class.push_back(TopLevel{window.hwnd, {}, false});
      }
    }
    return of_class;
  }
  // Windows picks out the windows of the class, comparing it as it compares
  // class names, one call a window: a listing of the whole desktop would
  // cost a call for every window of every program.
  if (window_class.empty()) return of_class;
  std::vector<HWND> listed;
  // A listing cut short by the destruction of the window it went on from
  // starts again, passing over what it has.
  for (int tries = 0; tries < 3; ++tries) {
    for (HWND w = ::FindWindowExA(nullptr, nullptr, window_class.c_str(), nullptr); w;
         w = ::FindWindowExA(nullptr, w, window_class.c_str(), nullptr)) {
      if (std::ranges::find(listed, w) == listed.end()) listed.push_back(w);
    }
    if (listed.empty() || ::IsWindow(listed.back())) break;
  }
  std::vector<HWND>& before = listed_[window_class];
  before = WholeListing(std::move(listed), before, [&](HWND w) {
    return ::IsWindow(w) && SameClass(ClassName(w), window_class);
  });
  for (HWND w : before) of_class.push_back(TopLevel{w, {}, false});
  return of_class;
}

const std::vector<HWND>& MessageCache::Windows(const std::string& window_class,
                                               const std::string& title) {
  std::string key = window_class + '\0' + title;
  if (auto known = windows_.find(key); known != windows_.end()) return known->second;
  std::vector<HWND>& found = windows_[std::move(key)];
  std::wstring wanted = WideText(title);
  for (TopLevel& window : OfClass(window_class)) {
    if (!window.title_read) {
      window.title = WindowTitle(window.hwnd);
      window.title_read = true;
    }
    if (SameText(window.title, wanted)) found.push_back(window.hwnd);
  }
  return found;
}

bool MessageCache::AnyOnlyTitled(const std::wstring& title) {
  if (!only_) return true;
  if (!only_titles_) {
    only_titles_.emplace();
    for (const Reported& window : *only_) only_titles_->push_back(WindowTitle(window.hwnd));
  }
  return std::ranges::any_of(*only_titles_,
                             [&](const std::wstring& t) { return SameText(t, title); });
}

// A dialog's controls are listed again now and then, in case it made new
// ones, and at once when they show no message: it may not have made them
// all when it was first listed.
constexpr std::uint64_t kRelistPasses = 18;  // about a second

const std::string& MessageCache::Of(HWND dialog) {
  for (const auto& [window, message] : read_) {
    if (window == dialog) return message;
  }
  auto known = std::ranges::find(controls_, dialog, &Controls::dialog);
  if (known == controls_.end()) {
    known = controls_.insert(controls_.end(), Controls{dialog, {}, pass_, look_, false});
    known->statics = MessageControls(dialog);
  } else if (pass_ - known->listed >= kRelistPasses) {
    known->statics = MessageControls(dialog);
    known->listed = pass_;
    known->look = look_;
  }
  known->read = true;
  std::string message = ReadMessage(known->statics);
  // Once a look: a new window is looked at many times within one pass, as
  // it makes its controls.
  if (message.empty() && known->look != look_) {
    known->statics = MessageControls(dialog);
    known->listed = pass_;
    known->look = look_;
    message = ReadMessage(known->statics);
  }
  return read_.emplace_back(dialog, std::move(message)).second;
}

const std::string& MessageCache::ProgramOf(HWND dialog) {
  auto known = std::ranges::find(programs_, dialog, &Owner::dialog);
  if (known != programs_.end() && known->look == look_) return known->program;
  // Reading the image's name costs a quarter of a millisecond under Wine,
  // which the tick would pay for every standing dialog of a bound entry.
  DWORD process = 0;
  DWORD thread = ::GetWindowThreadProcessId(dialog, &process);
  if (known == programs_.end()) {
    known = programs_.insert(programs_.end(), Owner{dialog, 0, 0, {}, 0, false});
  }
  // An empty answer is asked again: Windows may not have said yet.
  if (known->process != process || known->thread != thread || known->program.empty()) {
    known->process = process;
    known->thread = thread;
    known->program = thread ? ProcessProgram(process) : std::string();
  }
  known->look = look_;
  known->used = true;
  return known->program;
}

void MessageCache::NextPass() {
  Clear();
  ++pass_;
  std::erase_if(controls_, [](const Controls& c) { return !c.read; });
  for (Controls& c : controls_) c.read = false;
  std::erase_if(programs_, [](const Owner& o) { return !o.used; });
  for (Owner& o : programs_) o.used = false;
}

namespace {

void SwitchOn(const MonitorSwitch& c) {
  SetCaption(c.command2, kDisableCaption);
  SetBackColor(c.command2, kMonitorOnColour);
  ::EnableWindow(c.command1, FALSE);
  ::EnableWindow(c.command3, FALSE);
  ::SetTimer(c.form, kMonitorTimerId, kMonitorPeriodMs, nullptr);
}

void SwitchOff(const MonitorSwitch& c) {
  ::KillTimer(c.form, kMonitorTimerId);
  ::KillTimer(c.form, kLookAgainTimerId);
  SetCaption(c.command2, kEnableCaption);
  SetBackColor(c.command2, kMonitorOffColour);
  ::EnableWindow(c.command1, TRUE);
  ::EnableWindow(c.command3, TRUE);
}

// Set for as long as it lives.
struct ScopedFlag {
  bool& flag;
  explicit ScopedFlag(bool& f) : flag(f) { flag = true; }
  ~ScopedFlag() { flag = false; }
};

struct Target {
  HWND dialog = nullptr;
  HWND button = nullptr;  // null: nothing to press in this tick
  ClickMemory::Verdict verdict = ClickMemory::Verdict::kLeave;
  bool not_ready = false;  // no button, but the dialog may be coming up
};

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

// The entry's dialog and the button to press in it. Among the windows of the
// entry's class and title, those of another program than the entry's, and
// those whose message does not contain the entry's, are passed over
// (programs give all their boxes one title: the message tells them apart);
// the first of the rest decides, as with a single lookup, except that a
// window given up on hides no newer one behind it.
Target FindTarget(ClickMemory& memory, const WatchedEntry& entry, MessageCache& seen) {
  for (HWND dialog : seen.Windows(entry.window_class, entry.title)) {
    // Another program's box of the same title, whatever it asks, is not the
    // one the user taught.
    if (!entry.program.empty() && !ProgramFits(entry.program, seen.ProgramOf(dialog))) continue;
    if (!entry.message.empty() && seen.Of(dialog).find(entry.message) == std::string::npos) {
      continue;
    }
    ButtonLookup found = PressableButton(dialog, entry.button);
    Target t{dialog, found.button};
    if (!t.button) {
      t.not_ready = found.not_ready;
      return t;
    }
    t.verdict = memory.Decide(t.dialog, t.button, entry);
    if (t.verdict != ClickMemory::Verdict::kLeave) return t;
  }
  return {};
}

}  // namespace

bool Command2_Click(const MonitorSwitch& c) {
  bool on = GetCaption(c.command2) == kEnableCaption;
  if (on) {
    SwitchOn(c);
    ::CheckMenuItem(c.traymenu, c.swenable, MF_BYCOMMAND | MF_UNCHECKED);
  } else {
    SwitchOff(c);
    ::CheckMenuItem(c.traymenu, c.swenable, MF_BYCOMMAND | MF_CHECKED);
  }
  return on;
}

bool swenable_Click(const MonitorSwitch& c) {
  bool checked = (::GetMenuState(c.traymenu, c.swenable, MF_BYCOMMAND) & MF_CHECKED) == 0;
  ::CheckMenuItem(c.traymenu, c.swenable, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  if (checked) {
    SwitchOff(c);
  } else {
    SwitchOn(c);
  }
  return !checked;
}

void DialogMonitor::LookAgain_Timer(const WatchTable& table, AnswerLog* log, HWND form) {
  ::KillTimer(form, kLookAgainTimerId);
  // A pass inside its yields sets the timer again when it ends.
  if (ticking_ || waiting_.empty()) return;
  Look(table, log, form, Pass::kLookAgain);
}

void DialogMonitor::Monitor_timer_Timer(const WatchTable& table, AnswerLog* log, HWND form) {
  Look(table, log, form, Pass::kTick);
}

bool DialogMonitor::StartEvents(const WatchTable& table, AnswerLog* log, HWND form) {
  StopEvents();
#ifdef PALLIX_BENCH_WITHOUT_EVENTS
  // A build of the benchmark's own that answers by the tick alone, timed
  // beside the real program in the same run (bench/CMakeLists.txt).
  return false;
#endif
  events_table_ = &table;
  events_log_ = log;
  events_form_ = form;
  WindowEvents::Seen seen = [this](HWND window, DWORD event) { OnWindowEvent(window, event); };
  bool started = start_events_ ? start_events_(events_, std::move(seen)) : events_.Start(seen);
  if (!started) StopEvents();
  return started;
}

void DialogMonitor::StopEvents() {
  events_.Stop();
  events_table_ = nullptr;
  events_log_ = nullptr;
  events_form_ = nullptr;
  new_.clear();
  timed_out_.clear();
}

void DialogMonitor::OnWindowEvent(HWND window, DWORD event) {
  if (!events_table_) return;
  if (std::ranges::any_of(new_, [window](const NewWindow& n) { return n.window.hwnd == window; }))
    return;
  // A new window in a handle once given up on is a new window.
  if (auto old = std::ranges::find(timed_out_, window); old != timed_out_.end()) {
    if (event != EVENT_OBJECT_CREATE) return;
    timed_out_.erase(old);
  }
  char name[256];
  int n = ::GetClassNameA(window, name, static_cast<int>(std::size(name)));
  if (n <= 0) return;
  std::string window_class(name, static_cast<std::size_t>(n));
  const WatchTable& table = *events_table_;
  bool watched = false;
  for (int slot = 1; slot <= table.Count() && !watched; ++slot) {
    watched = !table.watch_class[slot].empty() && SameClass(table.watch_class[slot], window_class);
  }
  if (!watched) return;
  new_.push_back({{window, std::move(window_class)}, clock_ ? clock_() : ::GetTickCount64()});
  // Windows runs this callback inside the message loop's wait, which would
  // otherwise sleep on until the next message.
  if (new_.size() == 1) WakeIdleWork();
  listed_since_look_ = true;
}

namespace {

// A steady clock finer than the tick count, which steps 15.6 ms on Windows.
LONGLONG Microseconds() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * 1000000 + now.QuadPart % frequency * 1000000 / frequency;
}

}  // namespace

bool DialogMonitor::LookAtNewWindows() {
  if (new_.empty() || !events_table_) return false;
  // A pass in its yields: its end comes first.
  if (ticking_) return true;
  const ULONGLONG now = clock_ ? clock_() : ::GetTickCount64();
  std::erase_if(new_, [&](const NewWindow& n) {
    if (now - n.since < kNewWindowMs) return false;
    std::erase_if(timed_out_, [](HWND w) { return !::IsWindow(w); });
    timed_out_.push_back(n.window.hwnd);
    return true;
  });
  if (new_.empty()) return false;
  // The loop comes here after every message, and a flurry of windows sends
  // many: a look a millisecond is enough, but a window just listed is
  // looked at at once.
  const LONGLONG now_us = Microseconds();
  if (!std::exchange(listed_since_look_, false) && now_us - last_look_us_ < kNewWindowLookUs) {
    return true;
  }
  last_look_us_ = now_us;
  std::erase_if(new_, [](const NewWindow& n) { return !::IsWindow(n.window.hwnd); });
  if (new_.empty()) return false;
  Look(*events_table_, events_log_, events_form_, Pass::kNewWindows);
  std::erase_if(new_, [&](const NewWindow& n) {
    return std::ranges::find(clicked_now_, n.window.hwnd) != clicked_now_.end();
  });
  return !new_.empty();
}

const std::wstring& DialogMonitor::WideTitle(const WatchTable& table, int slot) {
  const auto at = static_cast<std::size_t>(slot);
  if (wide_titles_.size() <= at) wide_titles_.resize(at + 1);
  auto& [narrow, wide] = wide_titles_[at];
  if (narrow != table.watch_title[slot]) {
    narrow = table.watch_title[slot];
    wide = WideText(narrow);
  }
  return wide;
}

void DialogMonitor::Look(const WatchTable& table, AnswerLog* log, HWND form, Pass kind) {
#ifdef PALLIX_BENCH_WITHOUT_ANSWER_LOG
  // A build of the benchmark's own, timed beside the real program in the
  // same run to show what the log costs an answer (bench/CMakeLists.txt).
  log = nullptr;
#endif
  if (ticking_) return;
  ScopedFlag pass(ticking_);
  // A look again, and a look at new windows, belong to the tick before
  // them: the click memory counts ticks, and clicks within one are not
  // clicks in a row.
  const bool again = kind == Pass::kLookAgain;
  const bool fresh = kind == Pass::kNewWindows;
  std::vector<WatchedEntry> waited;
  if (kind == Pass::kTick) {
    waiting_.clear();
    clicked_.NextTick();
    looks_ = 0;
    messages_.NextPass();
  } else {
    messages_.Clear();
  }
  if (again) {
    waited = std::exchange(waiting_, {});
    ++looks_;
  }
  // The new windows as they are listed now: the yields after a click may
  // list more, for the next look.
  std::vector<MessageCache::Reported> listed;
  if (fresh) {
    for (const NewWindow& n : new_) listed.push_back(n.window);
  }
  struct Restricted {
    MessageCache& cache;
    ~Restricted() { cache.Only(nullptr); }
  } restricted{messages_};
  if (fresh) messages_.Only(&listed);
  clicked_now_.clear();

  for (int slot = 1; slot <= table.Count(); ++slot) {
    // An empty class names no window class, so an empty slot can match
    // nothing: its lookups are skipped. So is the button lookup when there is
    // no dialog, as no click could follow it.
    const std::string& window_class = table.watch_class[slot];
    if (window_class.empty()) continue;
    if (fresh && !messages_.AnyOnlyTitled(WideTitle(table, slot))) continue;
    const WatchedEntry entry{table.watch_title[slot], table.watch_button[slot], window_class,
                             table.watch_message[slot], table.watch_program[slot]};
    if (again && std::ranges::find(waited, entry) == waited.end()) continue;
    // The windows of a class are asked for once a pass (and again after a
    // click's yields): a class with none skips all of its slots at once.
    if (!messages_.AnyOfClass(window_class)) continue;
    Target target = FindTarget(clicked_, entry, messages_);
    if (!target.button) {
      // A new window not ready yet stays listed: its next look comes sooner
      // than a look again.
      if (target.not_ready && !fresh) waiting_.push_back(entry);
      continue;
    }
    // The dialog's program is opened, and its message read, before the
    // click, the calls the log and the recent dialogs add ahead of it: a
    // program that ends as soon as its box is answered can still be named
    // and quoted afterwards.
    ClickedDialog clicking{target.dialog};
    if (log || before_click_) {
      clicking.message = messages_.Of(target.dialog);
      DWORD pid = 0;
      ::GetWindowThreadProcessId(target.dialog, &pid);
      clicking.process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    }
    if (before_click_ && target.verdict == ClickMemory::Verdict::kClick) {
      before_click_(clicking);
    }
    AnswerOutcome outcome = target.verdict == ClickMemory::Verdict::kClick
                                ? Click(target.button)
                                : AnswerOutcome::kNoEffect;
    clicked_now_.push_back(target.dialog);
    if (clicked_.Remember(target.dialog, target.button, entry, outcome)) {
      if (log) {
        log->Record(clicking.process, outcome, entry.title, entry.button, entry.window_class,
                    clicking.message);
      }
      if (outcome == AnswerOutcome::kAnswered && answered_) answered_(entry, target.dialog);
    }
    if (clicking.process) ::CloseHandle(clicking.process);
    if (outcome == AnswerOutcome::kNoEffect) continue;
    // Other events run here, a "Read ini" among them: the slots after this
    // one are then read from the new table.
    messages_.Clear();
    DoEvents();
    DoEvents();
  }
  // Counted rather than timed: a timer this short fires later than asked
  // on a busy machine, and the next tick looks anyway.
  if (!fresh && form && !waiting_.empty() && looks_ < kLooksAgainPerTick) {
    ::SetTimer(form, kLookAgainTimerId, kLookAgainMs, nullptr);
  }
}

}  // namespace pallix

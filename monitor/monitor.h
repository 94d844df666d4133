// The dialog monitor: while monitoring is on, a 55 ms tick finds each
// watched dialog among the top-level windows and clicks its button, and
// windows that Windows reports as new are looked at every millisecond or so
// until they can be answered, so that most boxes are answered as they show;
// and the switch that turns monitoring on and off from two places that
// always agree.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "monitor/answer_log.h"
#include "monitor/click_memory.h"
#include "watch/clicked_dialog.h"
#include "watch/watch_table.h"
#include "watch/window_events.h"

namespace pallix {

inline constexpr UINT_PTR kMonitorTimerId = 1;
inline constexpr unsigned kMonitorPeriodMs = 55;
// A watched dialog found before its button can be pressed (a box is found
// between its making and its showing) is looked at again this soon, as
// many times as fit in a period, rather than a whole period later.
inline constexpr UINT_PTR kLookAgainTimerId = 2;
inline constexpr unsigned kLookAgainMs = 5;
inline constexpr unsigned kLooksAgainPerTick = kMonitorPeriodMs / kLookAgainMs;
// How long a window reported as new is looked at before the tick alone
// looks after it.
inline constexpr ULONGLONG kNewWindowMs = 1000;
// How often, at most, each of them is looked at.
inline constexpr LONGLONG kNewWindowLookUs = 1000;
// How long a click waits for a dialog that does not answer.
inline constexpr unsigned kClickTimeoutMs = 1000;
inline constexpr COLORREF kMonitorOffColour = 0x80FF80;  // light green
inline constexpr COLORREF kMonitorOnColour = 0x8080FF;   // light red
inline constexpr const char* kEnableCaption = "Enable monitoring";
inline constexpr const char* kDisableCaption = "Disable monitoring";

// Everything the switch changes together.
struct MonitorSwitch {
  HWND form;      // owns Monitor_timer
  HWND command1;  // "Edit ini": locked while on
  HWND command2;  // the switch button: caption and colour
  HWND command3;  // "Add": locked while on
  HMENU traymenu;
  int swenable;  // its check mark means "monitoring is off"
};

// Each returns whether monitoring is now on, for the owner to announce it
// where the switch has no reach (the icon's tip).
bool Command2_Click(const MonitorSwitch& controls);
bool swenable_Click(const MonitorSwitch& controls);

// The top-level windows of a class as a listing found them, made whole with
// those of the last listing that it missed and that `stands` says are still
// windows of that class, after it in their old order. A listing made one
// FindWindowEx at a time, the window found last telling where to go on,
// stops short when that window is destroyed meanwhile, and passes over a
// window raised above it meanwhile: both happen as other boxes close, and a
// window missed for a pass would have its clicks counted from none again.
std::vector<HWND> WholeListing(std::vector<HWND> listed, const std::vector<HWND>& before,
                               const std::function<bool(HWND)>& stands);

// What the monitor has learnt of the desktop: within one pass, the
// top-level windows of each class an entry names, asked of Windows once a
// class, each one's title read once, so that a pass costs the same with one
// entry or a thousand, and only what the windows of those classes cost;
// which of them each class and title names; and the messages and programs
// of the dialogs it read. From pass to pass, which controls of each dialog hold its
// message, as a dialog's controls stay while its texts may change.
class MessageCache {
 public:
  // The top-level windows of that class and title, in the window system's
  // order, as FindWindowEx finds them one by one.
  const std::vector<HWND>& Windows(const std::string& window_class, const std::string& title);
  bool AnyOfClass(const std::string& window_class) { return !OfClass(window_class).empty(); }
  // Whether a window this look is limited to bears that title (always, with
  // no limit): a look at new windows passes over the entries of other titles
  // at the cost of one comparison each, however many entries there are.
  bool AnyOnlyTitled(const std::wstring& title);
  const std::string& Of(HWND dialog);
  // The dialog's program. Its name is asked of Windows once for as long as
  // the window stands; each look only asks which process and thread own the
  // window, so that a handle taken over by another program's window is
  // never taken for the old one.
  const std::string& ProgramOf(HWND dialog);
  // After the yields that follow a click: the desktop may have changed.
  void Clear() {
    ++look_;
    windows_.clear();
    read_.clear();
    of_class_.clear();
    only_titles_.reset();
  }
  // At the start of a pass: the controls of dialogs the last pass did not
  // read are forgotten.
  void NextPass();
  // A window Windows reported, by the class it had then.
  struct Reported {
    HWND hwnd;
    std::string window_class;
  };
  // Until called again with null: the windows of a class are only these
  // (of those still there), in this order, never a listing of the desktop.
  void Only(const std::vector<Reported>* windows) {
    only_ = windows;
    Clear();
  }

 private:
  // A window of a class an entry names, as this pass saw it: its title
  // once, when an entry of its class is looked up.
  struct TopLevel {
    HWND hwnd;
    std::wstring title;
    bool title_read;
  };
  std::vector<TopLevel>& OfClass(const std::string& window_class);
  struct Controls {
    HWND dialog;
    std::vector<HWND> statics;
    std::uint64_t listed;  // the pass that listed them
    std::uint64_t look;    // and the look, within or across passes
    bool read;             // in this pass
  };
  std::unordered_map<std::string, std::vector<TopLevel>> of_class_;
  // By class and title.
  std::unordered_map<std::string, std::vector<HWND>> windows_;
  std::vector<std::pair<HWND, std::string>> read_;
  struct Owner {
    HWND dialog;
    DWORD process;
    DWORD thread;
    std::string program;
    std::uint64_t look;  // the look that last asked who owns the window
    bool used;           // in this pass
  };
  std::vector<Owner> programs_;
  std::vector<Controls> controls_;
  // By class: the windows the last full listing found.
  std::unordered_map<std::string, std::vector<HWND>> listed_;
  std::uint64_t pass_ = 0;
  // Every pass, look at new windows, or look after a click's yields.
  std::uint64_t look_ = 0;
  const std::vector<Reported>* only_ = nullptr;
  std::optional<std::vector<std::wstring>> only_titles_;  // read once a look
};

class DialogMonitor {
 public:
  // Told of each dialog an entry answered, and of its window.
  void OnAnswer(std::function<void(const WatchedEntry&, HWND)> answered) {
    answered_ = std::move(answered);
  }
  // Told of each dialog about to be clicked, while it still stands: a box
  // answered within milliseconds of its making is gone soon after.
  void BeforeClick(std::function<void(const ClickedDialog&)> clicking) {
    before_click_ = std::move(clicking);
  }

  // One pass over the table's slots. A tick that fires while a pass is inside
  // its yields is skipped: the pass in progress owns its slot counter, and
  // the next tick comes one period later anyway. A window is clicked until
  // a click closes it or clicks taken on three passes in a row leave it
  // standing; its clicks get lines in `log`, when there is one, as its
  // ClickMemory decides. With `form`, a pass that found a dialog whose
  // button is not pressable yet has that form's look-again timer set.
  void Monitor_timer_Timer(const WatchTable& table, AnswerLog* log = nullptr, HWND form = nullptr);
  // The look-again timer: a pass over the entries whose dialogs were not
  // ready, counted as part of the tick that found them.
  void LookAgain_Timer(const WatchTable& table, AnswerLog* log, HWND form);

  bool ticking() const { return ticking_; }

  // While monitoring is on: the windows of other programs that are created,
  // shown or renamed, of a class an entry of `table` names, are listed as
  // new, to be looked at by LookAtNewWindows. `table` and `log` must outlive
  // the hook; the table may be loaded again meanwhile. False when Windows
  // refuses the hook: the tick alone answers then.
  bool StartEvents(const WatchTable& table, AnswerLog* log, HWND form);
  void StopEvents();
  bool events_running() const { return events_.running(); }
  // One look at each window listed as new, by the tick's rules, counted as
  // part of the last tick. A window leaves the list once a click was taken
  // on it, once it is gone, and a second after it came. Whether any is left
  // to look at again.
  bool LookAtNewWindows();
  std::size_t new_windows() const { return new_.size(); }
  // For the tests: the hook's start (Windows may refuse it) and the clock
  // that times a new window's second, in milliseconds.
  using EventsStarter = std::function<bool(WindowEvents&, WindowEvents::Seen)>;
  void SetEventsStarter(EventsStarter start) { start_events_ = std::move(start); }
  void SetClock(std::function<ULONGLONG()> clock) { clock_ = std::move(clock); }

 private:
  enum class Pass { kTick, kLookAgain, kNewWindows };
  void Look(const WatchTable& table, AnswerLog* log, HWND form, Pass kind);
  void OnWindowEvent(HWND window, DWORD event);
  // The slot's title as the window system compares it, converted once for
  // as long as the slot holds that title, not at every look.
  const std::wstring& WideTitle(const WatchTable& table, int slot);

  struct NewWindow {
    MessageCache::Reported window;
    ULONGLONG since;
  };
  WindowEvents events_;
  EventsStarter start_events_;
  std::function<ULONGLONG()> clock_;
  const WatchTable* events_table_ = nullptr;
  AnswerLog* events_log_ = nullptr;
  HWND events_form_ = nullptr;
  std::vector<NewWindow> new_;
  // Windows whose second ran out while they stood: the tick looks after
  // them, however often they are renamed (a progress box may be, all along).
  std::vector<HWND> timed_out_;
  // Whether a window was listed since the last look, and when that was.
  bool listed_since_look_ = false;
  LONGLONG last_look_us_ = 0;
  // Dialogs clicked, or given up on, in the pass that runs: off the list.
  std::vector<HWND> clicked_now_;
  std::vector<std::pair<std::string, std::wstring>> wide_titles_;  // by slot

  bool ticking_ = false;
  std::vector<WatchedEntry> waiting_;  // found, with nothing pressable yet
  unsigned looks_ = 0;                 // looks again since the last tick
  ClickMemory clicked_;
  MessageCache messages_;
  std::function<void(const WatchedEntry&, HWND)> answered_;
  std::function<void(const ClickedDialog&)> before_click_;
};

}  // namespace pallix

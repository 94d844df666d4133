// Which button of a watched dialog the monitor presses, and whether it
// presses it again: a click that changed nothing is not repeated on every
// tick for as long as the dialog stays.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "monitor/answer_log.h"

namespace pallix {

// A window still there after this many clicks taken on as many ticks in a
// row is left alone while it stays.
inline constexpr int kClicksWithoutEffect = 3;

// An entry as the memory knows it: by its texts, not its slot, so that a
// reload of the watch lists does not mix up two entries. A copy: events
// that run during a click may replace the watch table.
struct WatchedEntry {
  std::string title;
  std::string button;
  std::string window_class;
  std::string message = {};  // empty: any message
  std::string program = {};  // empty: any program's
  bool operator==(const WatchedEntry&) const = default;
};

class ClickMemory {
 public:
  enum class Verdict {
    kClick,     // press the button
    kNoEffect,  // three clicks changed nothing: say so once, press no more
    kLeave,     // already given up on: nothing at all
  };

  // Called at the start of each pass. What the last pass neither clicked
  // nor left alone is forgotten: a window that is gone, or one that stood
  // a pass without a pressable button and so has changed.
  void NextTick();

  // A window clicked for an entry is not clicked for it again within the
  // same tick, whichever way found it again: the new windows' looks belong
  // to the tick before them.
  Verdict Decide(HWND dialog, HWND button, const WatchedEntry& entry);

  // After a click (or a kNoEffect verdict): whether `outcome` gets a line in
  // the answer log. A window's line is written when its outcome changes, so
  // a hung dialog tried on every tick gets one `not responding`, and a
  // window that stays gets its `answered` and then one `no effect`.
  bool Remember(HWND dialog, HWND button, const WatchedEntry& entry, AnswerOutcome outcome);

 private:
  struct Window {
    Window(HWND d, const WatchedEntry& e) : dialog(d), entry(e) {}
    HWND dialog;
    WatchedEntry entry;
    HWND button = nullptr;
    std::uint64_t seen = 0;                // the last pass that clicked or left it
    std::uint64_t last_taken = 0;          // the last pass whose click it took
    int run = 0;                           // clicks taken on passes in a row
    std::optional<std::uint64_t> clicked;  // the last pass that clicked it
    bool given_up = false;
    std::optional<AnswerOutcome> last_line;
  };
  Window* Find(HWND dialog, const WatchedEntry& entry);

  std::vector<Window> windows_;
  // From one: a window clicked before the first tick (a new window answered
  // as monitoring goes on) has its click counted, as a click in pass 0 would
  // look like none taken.
  std::uint64_t tick_ = 1;
};

}  // namespace pallix

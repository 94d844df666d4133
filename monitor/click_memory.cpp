#include "monitor/click_memory.h"

#include <algorithm>

namespace pallix {

void ClickMemory::NextTick() {
  ++tick_;
  // Forgetting what the last pass did not see keeps the memory to the
  // windows on the desktop now. A window closed between two passes, whose
  // handle value a new window took before the next pass, would be taken for
  // the old one. Waiting a pass before answering a window unseen before
  // would rule that out, but would slow every batch of boxes; instead a run
  // of clicks goes on only when the button's handle matches too, and
  // Windows and Wine both count a handle's reuses in its upper bits, so a
  // value comes back only after thousands of windows.
  std::erase_if(windows_, [&](const Window& w) { return w.seen + 1 < tick_; });
}

ClickMemory::Window* ClickMemory::Find(HWND dialog, const WatchedEntry& entry) {
  auto it = std::ranges::find_if(
      windows_, [&](const Window& w) { return w.dialog == dialog && w.entry == entry; });
  return it == windows_.end() ? nullptr : &*it;
}

ClickMemory::Verdict ClickMemory::Decide(HWND dialog, HWND button, const WatchedEntry& entry) {
  Window* w = Find(dialog, entry);
  if (!w) return Verdict::kClick;
  w->seen = tick_;
  if (w->given_up || w->clicked == tick_) return Verdict::kLeave;
  if (w->button == button && w->run >= kClicksWithoutEffect && w->last_taken + 1 == tick_) {
    w->given_up = true;
    return Verdict::kNoEffect;
  }
  return Verdict::kClick;
}

bool ClickMemory::Remember(HWND dialog, HWND button, const WatchedEntry& entry,
                           AnswerOutcome outcome) {
  Window* w = Find(dialog, entry);
  if (!w) {
    w = &windows_.emplace_back(dialog, entry);
  }
  // A click the program never took is no sign that clicking is useless:
  // it neither counts nor keeps the run going.
  if (outcome == AnswerOutcome::kAnswered && w->last_taken != tick_) {
    bool in_a_row = w->button == button && w->last_taken + 1 == tick_;
    w->run = in_a_row ? w->run + 1 : 1;
    w->last_taken = tick_;
  }
  if (outcome != AnswerOutcome::kNoEffect) w->clicked = tick_;
  w->button = button;
  w->seen = tick_;
  if (w->last_line == outcome) return false;
  w->last_line = outcome;
  return true;
}

}  // namespace pallix

// Noticing the dialogs that open, whoever's they are, while Pallix runs:
// Windows tells of each new top-level window; one that shows with a button
// Pallix could press is read as a drop on it would read it.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "watch/clicked_dialog.h"
#include "watch/window_events.h"

namespace pallix {

// How often a window Windows told of is looked at until it shows with a
// button, and for how long at most: under Wine only its creation is told,
// before it has its title, its controls or its place on the screen.
inline constexpr UINT kNoticeLookMs = 30;
inline constexpr DWORD kNoticeWaitMs = 2000;

// Windows never recorded: those of Pallix's own thread (its windows and
// boxes), those owned by `form`, and the desktop's and the shell's own.
bool NeverNoticed(HWND window, HWND form, DWORD ui_thread);

class DialogNoticer {
 public:
  // `clicking`: what the monitor read of the dialog it is about to click,
  // or null.
  using Noticed = std::function<void(HWND dialog, const ClickedDialog* clicking)>;

  // Listens from now on. `form`'s timer `timer_id` does the looking, and
  // its thread is the one whose windows are Pallix's own. False when
  // Windows refuses the hook.
  bool Start(HWND form, UINT_PTR timer_id, Noticed noticed);
  void Stop();

  // The timer: each window waiting is noticed once it is ready, or given
  // up when gone or after kNoticeWaitMs.
  void Look();
  // The window, if it is a dialog to record and was not yet noticed in
  // this showing, is noticed now. True when it is noticed (now or before).
  // A dialog about to be clicked is taken as it is, as it may already be
  // hiding, and as the monitor found a button in it to press.
  bool Notice(HWND window, const ClickedDialog* clicking = nullptr);

 private:
  void Heard(HWND window);

  struct Waiting {
    HWND window;
    DWORD since;
  };
  WindowEvents events_;
  HWND form_ = nullptr;
  UINT_PTR timer_id_ = 0;
  DWORD ui_thread_ = 0;
  Noticed noticed_;
  std::vector<Waiting> waiting_;
  // Noticed and still there: one showing counts once, however many events
  // it brings.
  std::vector<HWND> noticed_windows_;
  bool timer_ = false;
};

}  // namespace pallix

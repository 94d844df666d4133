#include "picker/notice.h"

#include <algorithm>
#include <string>

#include "watch/dialog_buttons.h"
#include "watch/dialog_message.h"

namespace pallix {

bool NeverNoticed(HWND window, HWND form, DWORD ui_thread) {
  if (!window || window == ::GetDesktopWindow()) return true;
  DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  if (thread == 0 || thread == ui_thread) return true;
  for (HWND owner = ::GetWindow(window, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER)) {
    if (owner == form) return true;
  }
  // The desktop's program draws the desktop, the taskbar and the tray
  // (under Wine, its "Wine System Tray" too) from the shell window's thread.
  HWND shell = ::GetShellWindow();
  if (window == shell || (shell && thread == ::GetWindowThreadProcessId(shell, nullptr))) {
    return true;
  }
  std::string name = ClassName(window);
  for (const char* desktop : {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "Progman", "WorkerW",
                              "#32769", "#32768", "tooltips_class32"}) {
    if (ClassNameIs(name, desktop)) return true;
  }
  return false;
}

bool DialogNoticer::Start(HWND form, UINT_PTR timer_id, Noticed noticed) {
  form_ = form;
  timer_id_ = timer_id;
  ui_thread_ = ::GetCurrentThreadId();
  noticed_ = std::move(noticed);
  return events_.Start([this](HWND window, DWORD) { Heard(window); });
}

void DialogNoticer::Stop() {
  events_.Stop();
  waiting_.clear();
  if (timer_) ::KillTimer(form_, timer_id_);
  timer_ = false;
}

void DialogNoticer::Heard(HWND window) {
  // A window gone frees its handle for another: those gone are forgotten.
  std::erase_if(noticed_windows_, [](HWND w) { return !::IsWindow(w); });
  if (std::ranges::find(noticed_windows_, window) != noticed_windows_.end()) return;
  if (std::ranges::find(waiting_, window, &Waiting::window) != waiting_.end()) return;
  if (NeverNoticed(window, form_, ui_thread_)) return;
  waiting_.push_back({window, ::GetTickCount()});
  // The timer runs only while a window waits: nothing is done while no
  // window opens.
  if (!timer_) timer_ = ::SetTimer(form_, timer_id_, kNoticeLookMs, nullptr) != 0;
}

bool DialogNoticer::Notice(HWND window, const ClickedDialog* clicking) {
  if (std::ranges::find(noticed_windows_, window) != noticed_windows_.end()) return true;
  // A window not shown yet, or without a button yet, may be on its way.
  if (!::IsWindow(window) || NeverNoticed(window, form_, ui_thread_)) return false;
  if (!clicking && (!::IsWindowVisible(window) || DialogButtons(window).empty())) return false;
  noticed_windows_.push_back(window);
  std::erase_if(waiting_, [window](const Waiting& w) { return w.window == window; });
  if (noticed_) noticed_(window, clicking);
  return true;
}

void DialogNoticer::Look() {
  const DWORD now = ::GetTickCount();
  // A copy: noticing runs the caller's code, which may yield.
  std::vector<Waiting> waiting = waiting_;
  for (const Waiting& w : waiting) {
    if (Notice(w.window)) continue;
    if (!::IsWindow(w.window) || now - w.since > kNoticeWaitMs) {
      std::erase_if(waiting_, [&](const Waiting& x) { return x.window == w.window; });
    }
  }
  if (waiting_.empty() && timer_) {
    ::KillTimer(form_, timer_id_);
    timer_ = false;
  }
}

}  // namespace pallix

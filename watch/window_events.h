// Windows' own word that a top-level window came, showed or changed its
// title, as soon as it happens: the way to notice new dialogs that costs
// nothing while no window opens. Both the monitor and what records the
// dialogs Pallix has seen listen here.
#pragma once

#include <windows.h>

#include <functional>

namespace pallix {

class WindowEvents {
 public:
  // A top-level window of another thread was created, shown or renamed
  // (EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE).
  // Under Wine only the creation comes from other processes, before the
  // window has its title and before it shows.
  using Seen = std::function<void(HWND window, DWORD event)>;

  WindowEvents() = default;
  ~WindowEvents() { Stop(); }
  WindowEvents(const WindowEvents&) = delete;
  WindowEvents& operator=(const WindowEvents&) = delete;

  // Hooks the events of every process, out of context: they come through
  // this thread's message loop. False when Windows refuses the hook; then
  // nothing is told. Started again, the old hook goes first.
  bool Start(Seen seen);
  void Stop();
  bool running() const { return hooks_[0] != nullptr; }

 private:
  static void CALLBACK Event(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                             DWORD thread, DWORD time);
  HWINEVENTHOOK hooks_[2] = {};
  Seen seen_;
};

}  // namespace pallix

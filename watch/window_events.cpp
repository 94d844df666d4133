#include "watch/window_events.h"

#include <algorithm>
#include <vector>

namespace pallix {
namespace {

// A hook's callback gets no context of its own: the hooks of this thread
// find their listener here.
struct Listener {
  HWINEVENTHOOK hook;
  WindowEvents* events;
};
std::vector<Listener>& Listeners() {
  static std::vector<Listener> listeners;
  return listeners;
}

}  // namespace

bool WindowEvents::Start(Seen seen) {
  Stop();
  // Two ranges, so that the endless location and focus changes between
  // them never wake this program.
  constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNTHREAD;
  hooks_[0] =
      ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, Event, 0, 0, kFlags);
  hooks_[1] = hooks_[0] ? ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE,
                                            nullptr, Event, 0, 0, kFlags)
                        : nullptr;
  if (!hooks_[1]) {
    Stop();
    return false;
  }
  seen_ = std::move(seen);
  for (HWINEVENTHOOK hook : hooks_) Listeners().push_back({hook, this});
  return true;
}

void WindowEvents::Stop() {
  for (HWINEVENTHOOK& hook : hooks_) {
    if (!hook) continue;
    ::UnhookWinEvent(hook);
    std::erase_if(Listeners(), [hook](const Listener& l) { return l.hook == hook; });
    hook = nullptr;
  }
  seen_ = nullptr;
}

void CALLBACK WindowEvents::Event(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                  LONG child, DWORD, DWORD) {
  if (event == EVENT_OBJECT_DESTROY || object != OBJID_WINDOW || child != CHILDID_SELF || !window) {
    return;
  }
  // Top-level windows only: a dialog's controls come with it.
  if (::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow()) return;
  auto found = std::ranges::find(Listeners(), hook, &Listener::hook);
  if (found == Listeners().end() || !found->events->seen_) return;
  // A copy: the listener may stop the hook from inside.
  Seen seen = found->events->seen_;
  seen(window, event);
}

}  // namespace pallix

// Window events as this process hears them: top-level windows of another
// thread, never their controls, and nothing once the hook is gone.
#include <algorithm>
#include <utility>
#include <vector>

#include "tests/unit/support.h"
#include "ui/toolkit.h"
#include "watch/window_events.h"

namespace pallix {
namespace {

using Heard = std::vector<std::pair<HWND, DWORD>>;

bool HeardOf(const Heard& heard, HWND window) {
  return std::ranges::any_of(heard, [window](const auto& h) { return h.first == window; });
}

// The events come through the message loop, as to the main window's thread.
void PumpUntil(const Heard& heard, HWND window) {
  for (int i = 0; i < 400 && !HeardOf(heard, window); ++i) {
    DoEvents();
    ::Sleep(5);
  }
}

TEST(WindowEvents, TellOfTopLevelWindowsOfOtherThreadsUntilStopped) {
  WindowEvents events;
  Heard heard;
  ASSERT_TRUE(events.Start([&](HWND window, DWORD event) { heard.emplace_back(window, event); }));
  EXPECT_TRUE(events.running());
  {
    test::TestDialog dialog("Events", {"OK"});
    PumpUntil(heard, dialog.hwnd());
    EXPECT_TRUE(std::ranges::find(heard, std::pair{dialog.hwnd(), DWORD{EVENT_OBJECT_CREATE}}) !=
                heard.end());
    EXPECT_FALSE(HeardOf(heard, dialog.button(0)));
  }
  events.Stop();
  EXPECT_FALSE(events.running());
  heard.clear();
  test::TestDialog after("After", {"OK"});
  for (int i = 0; i < 40; ++i) {
    DoEvents();
    ::Sleep(5);
  }
  EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace pallix

// The simulated desktop must answer as Windows does wherever the program
// relies on it; these cases are the ones the program's rules depend on.
#include <cstring>
#include <vector>

#include "platform/gdi32.h"
#include "platform/sim/sim.h"
#include "platform/toolkit.h"
#include "platform/user32.h"
#include "sim_test.h"

namespace pallix {
namespace {

using testing::SimTest;

sim::WindowSpec TopLevel(std::string cls, std::string text) {
  sim::WindowSpec spec;
  spec.class_name = std::move(cls);
  spec.text = std::move(text);
  spec.rect = Rect{100, 100, 400, 300};
  return spec;
}

sim::WindowSpec Child(Hwnd parent, std::string cls, std::string text) {
  sim::WindowSpec spec = TopLevel(std::move(cls), std::move(text));
  spec.parent = parent;
  return spec;
}

using SimFindWindow = SimTest;

TEST_F(SimFindWindow, MatchesClassAndTitleWithoutRegardToCase) {
  Hwnd dialog = sim::AddWindow(TopLevel("#32770", "Save changes"));
  EXPECT_EQ(FindWindowA("#32770", "Save changes"), dialog);
  EXPECT_EQ(FindWindowA("#32770", "SAVE CHANGES"), dialog);
  EXPECT_EQ(FindWindowA("DIALOG", "Save changes"), Hwnd{});
  EXPECT_EQ(FindWindowA("#32770", "Save changes "), Hwnd{});
  EXPECT_EQ(FindWindowA(nullptr, "Save changes"), dialog);
  EXPECT_EQ(FindWindowA("#32770", nullptr), dialog);
}

TEST_F(SimFindWindow, EmptyClassFindsNothingAndEmptyTitleOnlyUntitled) {
  Hwnd untitled = sim::AddWindow(TopLevel("#32770", ""));
  sim::AddWindow(TopLevel("#32770", "Titled"));
  EXPECT_EQ(FindWindowA("", ""), Hwnd{});
  EXPECT_EQ(FindWindowA("", "Titled"), Hwnd{});
  EXPECT_EQ(FindWindowA("#32770", ""), untitled);
}

TEST_F(SimFindWindow, TakesTheTopmostOfSeveralAndFindsHiddenWindows) {
  Hwnd first = sim::AddWindow(TopLevel("#32770", "Twin"));
  Hwnd second = sim::AddWindow(TopLevel("#32770", "Twin"));
  EXPECT_EQ(FindWindowA("#32770", "Twin"), second);  // created later: on top
  sim::BringToTop(first);
  EXPECT_EQ(FindWindowA("#32770", "Twin"), first);

  sim::WindowSpec hidden = TopLevel("Hidden", "x");
  hidden.visible = false;
  Hwnd h = sim::AddWindow(hidden);
  EXPECT_EQ(FindWindowA("Hidden", "x"), h);
}

TEST_F(SimFindWindow, ChildSearchSeesDirectChildrenOnlyAndStartsAfterTheGivenOne) {
  Hwnd dialog = sim::AddWindow(TopLevel("#32770", "D"));
  Hwnd panel = sim::AddWindow(Child(dialog, "Static", ""));
  Hwnd nested = sim::AddWindow(Child(panel, "Button", "&Yes"));
  Hwnd yes1 = sim::AddWindow(Child(dialog, "Button", "&Yes"));
  Hwnd yes2 = sim::AddWindow(Child(dialog, "Button", "&Yes"));
  EXPECT_EQ(FindWindowExA(dialog, Hwnd{}, "Button", "&Yes"), yes1);
  EXPECT_EQ(FindWindowExA(dialog, yes1, "Button", "&Yes"), yes2);
  EXPECT_EQ(FindWindowExA(dialog, yes2, "Button", "&Yes"), Hwnd{});
  EXPECT_EQ(FindWindowExA(panel, Hwnd{}, "button", "&yes"), nested);
  // A parent of 0 searches the top-level windows.
  EXPECT_EQ(FindWindowExA(Hwnd{}, Hwnd{}, "#32770", "D"), dialog);
  // A lookup under no dialog at all finds nothing.
  EXPECT_EQ(FindWindowExA(Hwnd{0x7FFFFFF0u}, Hwnd{}, "Button", "&Yes"), Hwnd{});
}

using SimTree = SimTest;

TEST_F(SimTree, ParentOwnerAndZOrderAsWindowsReportsThem) {
  Hwnd app = sim::AddWindow(TopLevel("Rhino", "Rhinoceros 7"));
  sim::WindowSpec dialog_spec = TopLevel("#32770", "Save");
  dialog_spec.owner = app;
  Hwnd dialog = sim::AddWindow(dialog_spec);
  sim::WindowSpec overlapped = TopLevel("Tool", "t");
  overlapped.owner = app;
  overlapped.popup = false;
  Hwnd tool = sim::AddWindow(overlapped);
  Hwnd a = sim::AddWindow(Child(dialog, "Button", "A"));
  Hwnd b = sim::AddWindow(Child(dialog, "Button", "B"));

  EXPECT_EQ(GetParent(a), dialog);
  EXPECT_EQ(GetParent(dialog), app);  // a pop-up's parent is its owner
  EXPECT_EQ(GetParent(tool), Hwnd{});
  EXPECT_EQ(GetParent(app), Hwnd{});

  // Children in creation order, top-level windows newest first.
  EXPECT_EQ(GetWindow(dialog, kGwChild), a);
  EXPECT_EQ(GetWindow(a, kGwHwndNext), b);
  EXPECT_EQ(GetWindow(b, kGwHwndNext), Hwnd{});
  EXPECT_EQ(GetWindow(GetDesktopWindow(), kGwChild), tool);

  sim::DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_EQ(GetWindow(a, kGwHwndNext), Hwnd{});
}

TEST_F(SimTree, TextRequestsCutToTheBufferAndCountWhatTheyCopied) {
  Hwnd w = sim::AddWindow(TopLevel("C", "Hello world"));
  char buffer[6];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(SendMessageA(w, kWmGetText, sizeof buffer, reinterpret_cast<std::intptr_t>(buffer)), 5);
  EXPECT_STREQ(buffer, "Hello");
  EXPECT_EQ(SendMessageA(w, kWmGetText, 0, reinterpret_cast<std::intptr_t>(buffer)), 0);
  EXPECT_EQ(
      SendMessageA(Hwnd{}, kWmGetText, sizeof buffer, reinterpret_cast<std::intptr_t>(buffer)), 0);
  char cls[255];
  EXPECT_EQ(GetClassNameA(w, cls, sizeof cls), 1);
  EXPECT_STREQ(cls, "C");
  EXPECT_EQ(GetClassNameA(Hwnd{12345}, cls, sizeof cls), 0);
  EXPECT_STREQ(cls, "");
}

using SimClick = SimTest;

TEST_F(SimClick, ButtonClickRunsItsActionOnlyWhenEnabled) {
  Hwnd dialog = sim::AddWindow(TopLevel("#32770", "D"));
  Hwnd ok = sim::AddWindow(Child(dialog, "Button", "OK"));
  sim::WindowSpec off = Child(dialog, "Button", "Off");
  off.enabled = false;
  Hwnd disabled = sim::AddWindow(off);
  Hwnd label = sim::AddWindow(Child(dialog, "Static", "text"));
  sim::OnClick(ok, [&] { sim::DestroyWindow(dialog); });

  SendMessageA(disabled, kBmClick, 0, 0);
  SendMessageA(label, kBmClick, 0, 0);
  EXPECT_EQ(sim::ClickCount(disabled), 0);
  EXPECT_EQ(sim::ClickCount(label), 0);
  SendMessageA(ok, kBmClick, 0, 0);
  EXPECT_FALSE(IsWindow(dialog));
}

struct RecordingSink final : EventSink {
  std::vector<int> commands;
  std::vector<std::uint64_t> ticks;
  std::function<void()> on_tick;
  void OnCommand(int id) override { commands.push_back(id); }
  void OnTimer(std::uintptr_t) override {
    ticks.push_back(sim::Now());
    if (on_tick) on_tick();
  }
};

TEST_F(SimClick, OurOwnControlsReportToTheirWindowAndOptionsAreExclusive) {
  RecordingSink sink;
  Hwnd main = CreateMainWindow("Main", Rect{0, 0, 300, 200}, sink);
  Hwnd button = CreateControl(main, ControlKind::kButton, 7, "Go", Rect{0, 0, 50, 20});
  Hwnd op0 = CreateControl(main, ControlKind::kOptionButton, 8, "", Rect{0, 30, 20, 40});
  Hwnd op1 = CreateControl(main, ControlKind::kOptionButton, 9, "", Rect{30, 30, 50, 40});
  SendMessageA(button, kBmClick, 0, 0);
  sim::UserClick(op0);
  sim::UserClick(op1);
  EXPECT_EQ(sink.commands, (std::vector<int>{7, 8, 9}));
  EXPECT_FALSE(GetOptionValue(op0));
  EXPECT_TRUE(GetOptionValue(op1));
  SetEnabled(button, false);
  sim::UserClick(button);
  EXPECT_EQ(sink.commands.size(), 3u);
}

using SimTime = SimTest;

TEST_F(SimTime, TimersTickEveryPeriodUntilKilled) {
  RecordingSink sink;
  Hwnd main = CreateMainWindow("Main", Rect{0, 0, 300, 200}, sink);
  SetTimer(main, 1, 55);
  sim::Advance(200);
  EXPECT_EQ(sink.ticks, (std::vector<std::uint64_t>{55, 110, 165}));
  KillTimer(main, 1);
  sim::Advance(200);
  EXPECT_EQ(sink.ticks.size(), 3u);
  EXPECT_EQ(sim::Now(), 400u);
}

TEST_F(SimTime, YieldRunsPostedWorkAndDueTimers) {
  RecordingSink sink;
  Hwnd main = CreateMainWindow("Main", Rect{0, 0, 300, 200}, sink);
  SetTimer(main, 1, 55);
  int ran = 0;
  sim::Post([&] { ++ran; });
  DoEvents();
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(sink.ticks.empty());  // not due yet
  // Time passing inside a yield lets a tick in, as a real message loop does.
  sim::Post([] { sim::Advance(60); });
  DoEvents();
  EXPECT_EQ(sink.ticks, (std::vector<std::uint64_t>{55}));
  EXPECT_EQ(sim::YieldCount(), 2);
}

TEST_F(SimTime, MessageBoxesTakeScriptedAnswersElseTheirFirstButton) {
  sim::ScriptAnswer(kIdNo);
  EXPECT_EQ(MsgBox("Create it?", kMbYesNo, "q"), kIdNo);
  EXPECT_EQ(MsgBox("Create it?", kMbYesNo, "q"), kIdYes);
  EXPECT_EQ(MsgBox("Note", kMbOk, "n"), kIdOk);
  ASSERT_EQ(sim::MessageBoxes().size(), 3u);
  EXPECT_EQ(sim::MessageBoxes()[0].answer, kIdNo);
  EXPECT_EQ(sim::MessageBoxes()[2].caption, "n");
}

using SimPixels = SimTest;

TEST_F(SimPixels, WholeWindowPixelsAreClippedToTheWindow) {
  sim::WindowSpec spec = TopLevel("C", "t");
  spec.rect = Rect{-10, -5, 30, 15};  // partly off the screen: 40 x 20
  spec.fill = Rgb(1, 2, 3);
  Hwnd w = sim::AddWindow(spec);
  Hdc dc = GetWindowDC(w);
  ASSERT_TRUE(dc);
  EXPECT_EQ(GetPixel(dc, 0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(SetPixel(dc, 39, 19, Rgb(255, 0, 0)), Rgb(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 39, 19), Rgb(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 40, 0), kClrInvalid);
  EXPECT_EQ(SetPixel(dc, 0, -1, Rgb(255, 0, 0)), kClrInvalid);
  EXPECT_EQ(ReleaseDC(w, dc), 1);
  sim::DestroyWindow(w);
  EXPECT_FALSE(GetWindowDC(w));
}

TEST_F(SimTree, WindowFromPointFindsTheDeepestVisibleWindow) {
  Hwnd dialog = sim::AddWindow(TopLevel("#32770", "D"));  // 100,100 - 400,300
  sim::WindowSpec button = Child(dialog, "Button", "OK");
  button.rect = Rect{150, 150, 200, 180};
  Hwnd ok = sim::AddWindow(button);
  EXPECT_EQ(WindowFromPoint(Point{160, 160}), ok);
  EXPECT_EQ(WindowFromPoint(Point{110, 110}), dialog);
  EXPECT_EQ(WindowFromPoint(Point{10, 10}), GetDesktopWindow());
  SetEnabled(ok, false);
  EXPECT_EQ(WindowFromPoint(Point{160, 160}), dialog);
}

}  // namespace
}  // namespace pallix

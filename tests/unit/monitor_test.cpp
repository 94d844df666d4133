// The dialog monitor and its switch, against real dialogs on the desktop.
// Ticks are mostly run by hand, so that a test knows how many there were.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/tray.h"
#include "monitor/monitor.h"
#include "tests/unit/support.h"

namespace pallix {
namespace {

using test::TestDialog;
using Clicks = std::vector<int>;

class Monitor : public test::FolderTest {
 protected:
  // The program started on a folder whose only file watches these entries
  // (and holds these lines after them), and monitoring switched on. A start
  // in the background switches on by itself.
  void Watch(const std::vector<std::string>& entries, bool on = true, bool background = false,
             const char* more = "") {
    test::WriteFile("w.ini", test::WatchFile(entries) + more);
    test::BoxAnswerer boxes;
    form_.Create();
    form_.Start(background);
    if (on && !background) Press(form_.controls().Command2);
  }
  void Tick() { form_.OnTimer(kMonitorTimerId); }
  // No tick but those the test runs: the new windows' looks alone answer.
  void StopTheTimer() { ::KillTimer(form_.hwnd(), kMonitorTimerId); }
  // The window events come through the message loop; until `count` windows
  // are listed as new, or a deadline.
  bool PumpUntilListed(std::size_t count) {
    for (ULONGLONG end = ::GetTickCount64() + 5000; ::GetTickCount64() < end;) {
      DoEvents();
      if (form_.monitor().new_windows() >= count) return true;
      ::Sleep(1);
    }
    return false;
  }
  // The answer log's lines with this outcome.
  int LogLines(const std::string& outcome) {
    std::string log = test::FileExists("pallix.log") ? test::ReadFile("pallix.log") : "";
    int n = 0;
    for (std::size_t at = 0; (at = log.find('\t' + outcome + '\t', at)) != std::string::npos; ++at)
      ++n;
    return n;
  }
  void Press(HWND button) { ::SendMessageA(button, BM_CLICK, 0, 0); }

  // The settings of the switch and the icon's tip, all agreeing with `on`.
  void ExpectState(bool on) {
    const Form1Controls& c = form_.controls();
    // Only ending a timer tells whether it runs; it is started again.
    bool timer = ::KillTimer(form_.hwnd(), kMonitorTimerId);
    if (timer) ::SetTimer(form_.hwnd(), kMonitorTimerId, kMonitorPeriodMs, nullptr);
    EXPECT_EQ(timer, on);
    EXPECT_EQ(GetCaption(c.Command2), on ? "Disable monitoring" : "Enable monitoring");
    EXPECT_EQ(GetBackColor(c.Command2), on ? RGB(255, 128, 128) : RGB(128, 255, 128));
    for (HWND b : {c.Command1, c.Command3}) EXPECT_EQ(::IsWindowEnabled(b) != FALSE, !on);
    EXPECT_EQ((::GetMenuState(c.traymenu, kIdSwenable, MF_BYCOMMAND) & MF_CHECKED) != 0, !on);
    EXPECT_EQ(GetMenuItemCaption(c.traymenu, kIdSwenable), "Disable");
    EXPECT_STREQ(TrayIconRecord(c.Picture1, 0).szTip,
                 on ? "I am monitoring Rhino's MSGBOXes" : "Pallix is not monitoring");
  }

  Form1 form_;
};

// A dialog that stays open is clicked on three ticks: see tests/wine/clicks.sh.
TEST_F(Monitor, TwoDialogsThatMatchAreAnsweredOneATick) {
  Watch({"Save changes[&Yes]<<#32770>>"});
  // The timer itself answers the other.
  TestDialog first("Save changes", {"&Yes"}), second("Save changes", {"&Yes"});
  first.CloseOnClick(true);
  second.CloseOnClick(true);
  Tick();
  EXPECT_EQ(::IsWindow(first.hwnd()) + ::IsWindow(second.hwnd()), 1);
  for (int i = 0; i < 1000 && (::IsWindow(first.hwnd()) || ::IsWindow(second.hwnd())); ++i) {
    ::Sleep(10);
    DoEvents();
  }
  EXPECT_FALSE(::IsWindow(first.hwnd()) || ::IsWindow(second.hwnd()));
}

TEST_F(Monitor, NeverClicksWhatTheEntryDoesNotNameExactly) {
  Watch({"Save changes[&Yes]<<#32770>>", "No class[OK]", "Plain[DEFAULT]<<#32770>>"});
  TestDialog other_class("Save changes", {"&Yes"}, "PallixOtherClass");
  TestDialog no_class("No class", {"OK"});
  {
    TestDialog plain("Plain", {"OK", "Cancel"});
    for (int i = 0; i < 3; ++i) Tick();
    for (TestDialog* d : {&other_class, &no_class, &plain}) {
      EXPECT_TRUE(d->clicks().empty()) << GetCaption(d->hwnd());
    }
  }
  // DEFAULT is a caption like any other.
  TestDialog with_default("Plain", {"OK", "DEFAULT"});
  Tick();
  EXPECT_EQ(with_default.clicks(), Clicks{101});
}

// Which button, at any depth, enabled and shown: the DialogButtons tests.
TEST_F(Monitor, ADialogNotReadyYetIsLookedAtAgainWithinTheTick) {
  Watch({"Coming[OK]<<#32770>>", "Standing[OK]<<#32770>>"});
  TestDialog coming("Coming", {"OK"}), standing("Standing", {"OK"});
  ::ShowWindow(coming.hwnd(), SW_HIDE);
  auto look_again = [&] {
    // Only ending a timer tells whether it was set.
    bool set = ::KillTimer(form_.hwnd(), kLookAgainTimerId);
    form_.OnTimer(kLookAgainTimerId);
    return set;
  };
  Tick();
  EXPECT_TRUE(look_again());
  EXPECT_TRUE(coming.clicks().empty());
  ::EnableWindow(coming.button(0), FALSE);
  ::ShowWindow(coming.hwnd(), SW_SHOWNA);
  EXPECT_TRUE(look_again());
  EXPECT_TRUE(coming.clicks().empty());
  ::EnableWindow(coming.button(0), TRUE);
  EXPECT_TRUE(look_again());
  EXPECT_EQ(coming.clicks(), Clicks{100});
  // Nothing waits now; the look again pressed only what had waited.
  EXPECT_FALSE(::KillTimer(form_.hwnd(), kLookAgainTimerId));
  EXPECT_EQ(standing.clicks(), Clicks{100});

  // Up to about a tick, then the next tick looks.
  ::ShowWindow(coming.hwnd(), SW_HIDE);
  Tick();
  int looks = 0;
  while (look_again()) ++looks;
  EXPECT_EQ(looks, static_cast<int>(kLooksAgainPerTick));
  // Switched off, nothing more is pressed.
  Tick();
  Press(form_.controls().Command2);
  ::ShowWindow(coming.hwnd(), SW_SHOWNA);
  form_.OnTimer(kLookAgainTimerId);
  EXPECT_EQ(coming.clicks(), Clicks{100});
}

TEST_F(Monitor, AWindowLeftAloneHidesNoNewerOneOfItsTitle) {
  Watch({"Ignores[OK]<<#32770>>"});
  TestDialog stays("Ignores", {"OK"});
  for (int i = 0; i < 5; ++i) Tick();
  ASSERT_EQ(stays.clicks().size(), 3u);
  TestDialog newer("Ignores", {"OK"});
  newer.CloseOnClick(true);
  // Behind it, where a look-up by title finds the older one first.
  ::SetWindowPos(newer.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Tick();
  EXPECT_EQ(newer.clicks(), Clicks{100});
}

TEST_F(Monitor, AnEntryWithAMessageAnswersOnlyTheDialogsOfItsTitleThatSayIt) {
  // One program's title on all its boxes; blanks alone are no message. A
  // text taught from the middle of a message is found there too.
  Watch({"Generic[&No]<<#32770>>", "Generic[&Yes]<<#32770>>", "Plain[OK]<<#32770>>"}, true, false,
        "Message1=Save changes to\r\nMessage2=all objects\r\nMessage3=   \r\n");
  TestDialog save("Generic", {"&Yes", "&No"}), other_case("Generic", {"&Yes", "&No"}),
      unrelated("Generic", {"&Yes", "&No"}), plain("Plain", {"OK"});
  save.Say("Save changes to");
  save.Say("part1.3dm?");
  other_case.Say("save changes to part1.3dm?");
  unrelated.Say("Exit now?");
  // The delete box opens last, above the others: the first of the title.
  TestDialog remove("Generic", {"&Yes", "&No"});
  remove.Say("Delete all objects?");
  Tick();
  EXPECT_EQ(save.clicks(), Clicks{101});
  EXPECT_EQ(remove.clicks(), Clicks{100});
  EXPECT_TRUE(other_case.clicks().empty());
  EXPECT_TRUE(unrelated.clicks().empty());
  EXPECT_EQ(plain.clicks(), Clicks{100});
}

TEST_F(Monitor, AnEntryWithAProgramAnswersOnlyThatProgramsDialogs) {
  // This process is pallix_tests.exe: named in another case, it is named.
  Watch({"Bound[&Yes]<<#32770>>", "Bound[&No]<<#32770>>", "Free[OK]<<#32770>>",
         "Blank[OK]<<#32770>>"},
        true, false, "Program1=notepad.exe\r\nProgram2=PALLIX_Tests.EXE\r\nProgram4=  \r\n");
  TestDialog bound("Bound", {"&Yes", "&No"}), free("Free", {"OK"}), blank("Blank", {"OK"});
  Tick();
  EXPECT_EQ(bound.clicks(), Clicks{101});
  EXPECT_EQ(free.clicks(), Clicks{100});
  EXPECT_EQ(blank.clicks(), Clicks{100});
}

TEST_F(Monitor, ATextMadeAfterTheDialogWasFirstReadIsFoundAtTheNextTick) {
  Watch({"Late[OK]<<#32770>>"}, true, false, "Message1=Ready\r\n");
  TestDialog late("Late", {"OK"});
  Tick();
  EXPECT_TRUE(late.clicks().empty());
  late.Say("Ready to go");
  Tick();
  EXPECT_EQ(late.clicks(), Clicks{100});
}

TEST_F(Monitor, TwoSlotsOnOneDialogClickInSlotOrderWhileItStands) {
  Watch({"Q[&No]<<#32770>>", "Q[&Yes]<<#32770>>"});
  {
    TestDialog stays("Q", {"&Yes", "&No"});
    Tick();
    EXPECT_EQ(stays.clicks(), (Clicks{101, 100}));
  }
  // When the first click closes the dialog, the second slot finds nothing.
  TestDialog closes("Q", {"&Yes", "&No"});
  closes.CloseOnClick(true);
  Tick();
  EXPECT_EQ(closes.clicks(), Clicks{101});
}

TEST_F(Monitor, ADialogOpenedByAnEarlierClickIsAnsweredInTheSameTick) {
  // Slot 1 finds no window of class Late; slot 2's click opens one; slot 3
  // names it and must not go by what slot 1 saw.
  Watch({"Later[OK]<<PallixLate>>", "A[OK]<<#32770>>", "Later[OK]<<PallixLate>>"});
  std::unique_ptr<TestDialog> later;
  TestDialog a("A", {"OK"});
  a.CloseOnClick(true);
  a.on_click = [&] {
    later = std::make_unique<TestDialog>("Later", std::vector<const char*>{"OK"}, "PallixLate");
  };
  Tick();
  ASSERT_TRUE(later);
  EXPECT_EQ(later->clicks(), Clicks{100});
}

TEST_F(Monitor, EventsInTheYieldsRunAndTheTickGoesOnOverWhatTheyLeft) {
  Watch({"A[OK]<<#32770>>", "B[OK]<<#32770>>"});
  TestDialog a("A", {"OK"}), b("B", {"OK"}), c("C", {"OK"});
  bool first = true;
  a.on_click = [&] {
    if (!std::exchange(first, false)) return;
    // A tick falling due now, a reload of a changed file, a switch-off.
    ::PostMessageA(form_.hwnd(), WM_TIMER, kMonitorTimerId, 0);
    test::WriteFile("w.ini", test::WatchFile({"A[OK]<<#32770>>", "C[OK]<<#32770>>"}));
    ::PostMessageA(form_.controls().Command5, BM_CLICK, 0, 0);
    ::PostMessageA(form_.controls().Command2, BM_CLICK, 0, 0);
  };
  // Only the keyboard reaches "Read ini", but monitoring does not lock it.
  ASSERT_TRUE(::IsWindowEnabled(form_.controls().Command5));
  Tick();
  // One pass: the tick that fell due inside it was skipped.
  EXPECT_EQ(a.clicks(), Clicks{100});
  EXPECT_TRUE(b.clicks().empty());
  EXPECT_EQ(c.clicks(), Clicks{100});
  ExpectState(false);
}

TEST_F(Monitor, ABackgroundStartWithSomethingToWatchStaysHiddenAndWatches) {
  Watch({"Save changes[&Yes]<<#32770>>"}, true, true);
  EXPECT_FALSE(IsVisible(form_.hwnd()));
  ExpectState(true);
}

TEST_F(Monitor, ButtonAndMenuItemSwitchTheSameSettingsAndTip) {
  Watch({}, false);
  ExpectState(false);
  // Each turns on what is off and off what is on, whatever the other did;
  // the window events are heard only while it is on.
  bool on = false;
  for (bool menu : {false, true, true, false}) {
    menu ? form_.OnCommand(kIdSwenable) : Press(form_.controls().Command2);
    ExpectState(on = !on);
    EXPECT_EQ(form_.monitor().events_running(), on);
  }
}

TEST_F(Monitor, ANewWindowIsAnsweredAsItComesWithoutATick) {
  // One that stood before the hook is the tick's: a look at the new windows
  // lists no others.
  TestDialog before("Fresh", {"OK"});
  before.Say("Save before?");
  Watch({"Fresh[OK]<<#32770>>"}, true, false, "Message1=Save\r\n");
  StopTheTimer();
  TestDialog other_class("Fresh", {"OK"}, "PallixOtherClass"), silent("Fresh", {"OK"});
  TestDialog fresh("Fresh", {"OK"});
  fresh.Say("Save the file?");
  fresh.CloseOnClick(true);
  // Of the three, the two of the entry's class.
  ASSERT_TRUE(PumpUntilListed(2));
  EXPECT_EQ(form_.monitor().new_windows(), 2u);
  EXPECT_TRUE(DoIdleWork());
  EXPECT_FALSE(::IsWindow(fresh.hwnd()));
  EXPECT_EQ(fresh.clicks(), Clicks{100});
  // Counted and logged as a tick's answer.
  EXPECT_EQ(form_.answers().at(WatchedEntry{"Fresh", "OK", "#32770", "Save"}).answered, 1);
  EXPECT_EQ(LogLines("answered"), 1);
  for (TestDialog* d : {&before, &other_class, &silent}) EXPECT_TRUE(d->clicks().empty());
  // The one with no message stays listed till its second is over.
  EXPECT_EQ(form_.monitor().new_windows(), 1u);
  Tick();
  EXPECT_EQ(before.clicks(), Clicks{100});
  EXPECT_TRUE(silent.clicks().empty());
}

TEST_F(Monitor, AWindowAnsweredAsItCameIsClickedNoMoreThanTheTickAloneWouldClickIt) {
  Watch({"Stays[OK]<<#32770>>"});
  StopTheTimer();
  TestDialog stays("Stays", {"OK"});
  ASSERT_TRUE(PumpUntilListed(1));
  EXPECT_FALSE(DoIdleWork());
  EXPECT_EQ(stays.clicks(), Clicks{100});
  // Off the list once clicked: more looks press nothing.
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(DoIdleWork());
  EXPECT_EQ(stays.clicks().size(), 1u);
  // That click was the tick's: two more ticks click, the third gives up.
  for (int i = 0; i < 4; ++i) Tick();
  EXPECT_EQ(stays.clicks(), (Clicks{100, 100, 100}));
  EXPECT_EQ(LogLines("answered"), 1);
  EXPECT_EQ(LogLines("no effect"), 1);
}

TEST_F(Monitor, ANewWindowsMessageMadeAfterItsFirstLookIsFoundByTheNextLook) {
  Watch({"Late[OK]<<#32770>>"}, true, false, "Message1=Ready\r\n");
  StopTheTimer();
  TestDialog late("Late", {"OK"});
  ASSERT_TRUE(PumpUntilListed(1));
  EXPECT_TRUE(DoIdleWork());
  EXPECT_TRUE(late.clicks().empty());
  late.Say("Ready to go");
  // Past the millisecond that a look waits for, all within one tick.
  ::Sleep(5);
  EXPECT_FALSE(DoIdleWork());
  EXPECT_EQ(late.clicks(), Clicks{100});
}

TEST_F(Monitor, ANewWindowNeverReadyLeavesTheListAfterASecondAndTheTickAnswersItLater) {
  ULONGLONG now = 5000;
  form_.monitor().SetClock([&now] { return now; });
  Watch({"Never[OK]<<#32770>>"});
  StopTheTimer();
  TestDialog never("Never", {"OK"});
  ::EnableWindow(never.button(0), FALSE);
  ASSERT_TRUE(PumpUntilListed(1));
  now += kNewWindowMs - 1;
  EXPECT_TRUE(DoIdleWork());
  EXPECT_EQ(form_.monitor().new_windows(), 1u);
  now += 1;
  EXPECT_FALSE(DoIdleWork());
  EXPECT_EQ(form_.monitor().new_windows(), 0u);
  ::EnableWindow(never.button(0), TRUE);
  EXPECT_FALSE(DoIdleWork());
  EXPECT_TRUE(never.clicks().empty());
  Tick();
  EXPECT_EQ(never.clicks(), Clicks{100});
}

TEST_F(Monitor, AHookWindowsRefusesLeavesTheTickAnswering) {
  form_.monitor().SetEventsStarter([](WindowEvents&, WindowEvents::Seen) { return false; });
  Watch({"Refused[OK]<<#32770>>"});
  ExpectState(true);
  EXPECT_FALSE(form_.monitor().events_running());
  StopTheTimer();
  TestDialog refused("Refused", {"OK"});
  for (int i = 0; i < 20; ++i) {
    DoEvents();
    EXPECT_FALSE(DoIdleWork());
  }
  EXPECT_TRUE(refused.clicks().empty());
  Tick();
  EXPECT_EQ(refused.clicks(), Clicks{100});
}

// The main window's loop, with no main window: the work is done again and
// again while it asks, with no message to wake the loop.
TEST(IdleWork, RunsBetweenMessagesForAsLongAsItAsks) {
  int calls = 0;
  SetIdleWork([&calls] {
    if (++calls < 5) return true;
    ::PostQuitMessage(7);
    return false;
  });
  EXPECT_EQ(RunMessageLoop(), 7);
  EXPECT_EQ(calls, 5);
  SetIdleWork(nullptr);
  EXPECT_FALSE(DoIdleWork());
}

// Listings told by hand, on window handles that need not exist.
TEST(WholeListing, KeepsWhatTheLastListingHadAndThisOneMissedWhileItStands) {
  auto h = [](int n) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(n)); };
  const std::vector<HWND> before{h(1), h(2), h(3), h(4)};
  auto stands = [&](HWND w) { return w != h(3); };
  // Cut short after 1, with 5 new: 2 and 4, still there, are kept after
  // what was found; 3, gone, is not.
  EXPECT_EQ(WholeListing({h(5), h(1)}, before, stands),
            (std::vector<HWND>{h(5), h(1), h(2), h(4)}));
  // A whole listing, 4 raised to the top, is left as it is.
  EXPECT_EQ(WholeListing({h(4), h(1), h(2)}, before, stands),
            (std::vector<HWND>{h(4), h(1), h(2)}));
  EXPECT_TRUE(WholeListing({}, {}, stands).empty());
}

// Passes of the monitor told by hand, on window handles that need not exist.
TEST(ClickMemory, LeavesAWindowAfterThreeTakenClicksInARowUntilItIsGone) {
  using enum AnswerOutcome;
  ClickMemory memory;
  const HWND a = reinterpret_cast<HWND>(0x10), ok = reinterpret_cast<HWND>(0x11),
             other_ok = reinterpret_cast<HWND>(0x12);
  // One pass that finds window a: "click", "no effect" or "leave", and "+"
  // when the outcome gets a line.
  auto pass = [&](HWND button, AnswerOutcome outcome,
                  const WatchedEntry& e = {"Q", "OK", "#32770"}) -> std::string {
    memory.NextTick();
    ClickMemory::Verdict verdict = memory.Decide(a, button, e);
    if (verdict == ClickMemory::Verdict::kLeave) return "leave";
    if (verdict == ClickMemory::Verdict::kNoEffect) outcome = kNoEffect;
    return (outcome == kNoEffect ? "no effect" : "click") +
           std::string(memory.Remember(a, button, e, outcome) ? "+" : "");
  };
  // A click not taken breaks the run and gets its own line; so does the
  // first taken after it. A new button on the same window starts afresh.
  std::vector<std::string> got;
  for (auto outcome : {kAnswered, kAnswered, kNotResponding, kNotResponding, kAnswered}) {
    got.push_back(pass(ok, outcome));
  }
  for (int i = 0; i < 5; ++i) got.push_back(pass(other_ok, kAnswered));
  EXPECT_EQ(got, (std::vector<std::string>{"click+", "click", "click+", "click", "click+", "click",
                                           "click", "click", "no effect+", "leave"}));
  // Another entry on the same window has its own count.
  EXPECT_EQ(pass(ok, kAnswered, {"Q", "&No", "#32770"}), "click+");
  // A window clicked in this pass is left for the rest of it, however it is
  // found again; the next pass clicks it.
  memory.NextTick();
  const WatchedEntry again{"Again", "OK", "#32770"};
  EXPECT_EQ(memory.Decide(a, ok, again), ClickMemory::Verdict::kClick);
  memory.Remember(a, ok, again, kAnswered);
  EXPECT_EQ(memory.Decide(a, ok, again), ClickMemory::Verdict::kLeave);
  memory.NextTick();
  EXPECT_EQ(memory.Decide(a, ok, again), ClickMemory::Verdict::kClick);
  // Two passes that do not see the window: it is forgotten.
  memory.NextTick();
  memory.NextTick();
  EXPECT_EQ(pass(other_ok, kAnswered), "click+");
}

}  // namespace
}  // namespace pallix

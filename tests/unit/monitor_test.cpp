// The dialog monitor and its switch, against dialogs on the simulated desktop.
#include <string>

#include "app/form1.h"
#include "monitor/monitor.h"
#include "platform/sim/sim.h"
#include "platform/toolkit.h"
#include "platform/user32.h"
#include "sim_test.h"

namespace pallix {
namespace {

using testing::SimTest;
using testing::WriteFile;

// A dialog of another program with its buttons as direct children.
struct Dialog {
  Hwnd window;
  std::vector<Hwnd> buttons;
};

Dialog OpenDialog(const std::string& cls, const std::string& title,
                  std::initializer_list<const char*> captions, bool close_on_click = true) {
  sim::WindowSpec spec;
  spec.class_name = cls;
  spec.text = title;
  spec.rect = Rect{300, 300, 600, 450};
  Dialog d{sim::AddWindow(spec), {}};
  for (const char* caption : captions) {
    sim::WindowSpec b;
    b.class_name = "Button";
    b.text = caption;
    b.parent = d.window;
    Hwnd button = sim::AddWindow(b);
    if (close_on_click) sim::OnClick(button, [w = d.window] { sim::DestroyWindow(w); });
    d.buttons.push_back(button);
  }
  return d;
}

class Monitor : public SimTest {
 protected:
  // Loads a watch file through "Read ini" and switches monitoring on with
  // the button, as the user would.
  void Watch(const std::string& entries, int count) {
    WriteFile("C:\\pallix\\w.ini",
              "[WindowTitles]\r\nNum_Windows=" + std::to_string(count) + "\r\n" + entries);
    form_.Create();
    form_.Start();
    SetCaption(form_.controls().Combo1, "w.ini");
    sim::UserClick(form_.controls().Command5);
  }
  void SwitchOnByButton() { sim::UserClick(form_.controls().Command2); }
  void Tick() { sim::Advance(kMonitorPeriodMs); }

  // The six settings of the switch, all of them agreeing with `on`.
  void ExpectState(bool on) {
    const Form1Controls& c = form_.controls();
    EXPECT_EQ(sim::TimerActive(form_.hwnd(), kMonitorTimerId), on);
    EXPECT_EQ(GetCaption(c.Command2), on ? kDisableCaption : kEnableCaption);
    EXPECT_EQ(GetBackColor(c.Command2), on ? kMonitorOnColour : kMonitorOffColour);
    EXPECT_EQ(IsEnabled(c.Command1), !on);
    EXPECT_EQ(IsEnabled(c.Command3), !on);
    EXPECT_EQ(IsMenuItemChecked(c.traymenu, kIdSwenable), !on);
    EXPECT_EQ(GetMenuItemCaption(c.traymenu, kIdSwenable), "Disable");
  }

  Form1 form_;
};

TEST_F(Monitor, ClicksTheStoredButtonOfAWatchedDialogOnEveryTick) {
  Watch("Title1=Save changes[&Yes]<<#32770>>\r\n", 1);
  Dialog d = OpenDialog("#32770", "Save changes", {"&Yes", "&No"}, /*close_on_click=*/false);
  Tick();
  EXPECT_EQ(sim::ClickCount(d.buttons[0]), 0);  // monitoring is off at start
  SwitchOnByButton();
  Tick();
  Tick();
  EXPECT_EQ(sim::ClickCount(d.buttons[0]), 2);
  EXPECT_EQ(sim::ClickCount(d.buttons[1]), 0);
  sim::DestroyWindow(d.window);
  Tick();  // nothing left to click; no harm done
}

TEST_F(Monitor, NeverClicksWhatTheEntryDoesNotNameExactly) {
  Watch(
      "Title1=Save changes[&Yes]<<#32770>>\r\nTitle2=No class[OK]\r\n"
      "Title3=Nested[OK]<<#32770>>\r\nTitle4=Plain[DEFAULT]<<#32770>>\r\n",
      4);
  Dialog other_class = OpenDialog("RhinoDialog", "Save changes", {"&Yes"});
  Dialog no_class = OpenDialog("#32770", "No class", {"OK"});
  Dialog nested = OpenDialog("#32770", "Nested", {});
  sim::WindowSpec panel;
  panel.class_name = "Static";
  panel.parent = nested.window;
  Hwnd inner = sim::AddWindow(panel);
  sim::WindowSpec deep;
  deep.class_name = "Button";
  deep.text = "OK";
  deep.parent = inner;
  Hwnd deep_button = sim::AddWindow(deep);
  Dialog plain = OpenDialog("#32770", "Plain", {"OK", "Cancel"});
  SwitchOnByButton();
  for (int i = 0; i < 5; ++i) Tick();
  EXPECT_EQ(sim::ClickCount(other_class.buttons[0]), 0);
  EXPECT_EQ(sim::ClickCount(no_class.buttons[0]), 0);
  EXPECT_EQ(sim::ClickCount(deep_button), 0);
  EXPECT_EQ(sim::ClickCount(plain.buttons[0]) + sim::ClickCount(plain.buttons[1]), 0);

  // DEFAULT is a caption like any other.
  Dialog with_default = OpenDialog("#32770", "Plain", {"DEFAULT"});
  Tick();
  EXPECT_FALSE(IsWindow(with_default.window));
}

TEST_F(Monitor, TwoMatchingDialogsAreAnsweredOnePerTick) {
  Watch("Title1=Save changes[&Yes]<<#32770>>\r\n", 1);
  Dialog first = OpenDialog("#32770", "Save changes", {"&Yes"});
  Dialog second = OpenDialog("#32770", "Save changes", {"&Yes"});
  SwitchOnByButton();
  Tick();
  EXPECT_TRUE(IsWindow(first.window));  // the topmost one goes first
  EXPECT_FALSE(IsWindow(second.window));
  Tick();
  EXPECT_FALSE(IsWindow(first.window));
}

TEST_F(Monitor, TwoSlotsOnOneDialogClickInSlotOrderWhileItStands) {
  Watch("Title1=Q[&No]<<#32770>>\r\nTitle2=Q[&Yes]<<#32770>>\r\n", 2);
  Dialog stays = OpenDialog("#32770", "Q", {"&Yes", "&No"}, /*close_on_click=*/false);
  std::vector<Hwnd> order;
  sim::OnClick(stays.buttons[0], [&] { order.push_back(stays.buttons[0]); });
  sim::OnClick(stays.buttons[1], [&] { order.push_back(stays.buttons[1]); });
  SwitchOnByButton();
  Tick();
  EXPECT_EQ(order, (std::vector<Hwnd>{stays.buttons[1], stays.buttons[0]}));

  // When the first click closes the dialog, the second slot finds nothing.
  sim::DestroyWindow(stays.window);
  Dialog closes = OpenDialog("#32770", "Q", {"&Yes", "&No"}, /*close_on_click=*/false);
  std::vector<std::string> clicked;
  for (int i = 0; i < 2; ++i) {
    sim::OnClick(closes.buttons[i], [&, i] {
      clicked.push_back(i == 0 ? "&Yes" : "&No");
      sim::DestroyWindow(closes.window);
    });
  }
  Tick();
  EXPECT_EQ(clicked, (std::vector<std::string>{"&No"}));
}

TEST_F(Monitor, ADialogOpenedByAnEarlierClickIsAnsweredInTheSameTick) {
  // Slot 1 finds no window of class Late; slot 2's click opens one; slot 3
  // names it and must not go by what slot 1 saw.
  Watch("Title1=Later[OK]<<Late>>\r\nTitle2=A[OK]<<#32770>>\r\nTitle3=Later[OK]<<Late>>\r\n", 3);
  Dialog a = OpenDialog("#32770", "A", {"OK"});
  Dialog later;
  sim::OnClick(a.buttons[0], [&] {
    sim::DestroyWindow(a.window);
    sim::Post([&] { later = OpenDialog("Late", "Later", {"OK"}); });
  });
  SwitchOnByButton();
  Tick();
  ASSERT_TRUE(later.window);
  EXPECT_FALSE(IsWindow(later.window));
}

TEST_F(Monitor, HandlesAboveTwoToTheThirtyOneAreStillAnswered) {
  Watch("Title1=High[OK]<<#32770>>\r\n", 1);
  sim::SetNextHandle(0x80001000u);
  Dialog d = OpenDialog("#32770", "High", {"OK"});
  ASSERT_GE(d.window.value, 0x80000000u);
  SwitchOnByButton();
  Tick();
  EXPECT_FALSE(IsWindow(d.window));
}

TEST_F(Monitor, ATickArrivingInsideAnotherTicksYieldsIsSkipped) {
  Watch("Title1=A[OK]<<#32770>>\r\nTitle2=B[OK]<<#32770>>\r\n", 2);
  Dialog a = OpenDialog("#32770", "A", {"OK"}, /*close_on_click=*/false);
  Dialog b = OpenDialog("#32770", "B", {"OK"}, /*close_on_click=*/false);
  // Clicking A takes long enough for the next tick to fall due inside the
  // yields that follow the click.
  bool slow = true;
  sim::OnClick(a.buttons[0], [&] {
    if (std::exchange(slow, false)) sim::Post([] { sim::Advance(kMonitorPeriodMs + 5); });
  });
  SwitchOnByButton();
  Tick();
  // One pass: A once, B once. A second pass started inside the yields would
  // have clicked both again and cut the first pass short.
  EXPECT_EQ(sim::ClickCount(a.buttons[0]), 1);
  EXPECT_EQ(sim::ClickCount(b.buttons[0]), 1);
  Tick();
  EXPECT_EQ(sim::ClickCount(a.buttons[0]), 2);
}

TEST_F(Monitor, AReloadDuringTheYieldsIsUsedForTheRemainingSlots) {
  Watch("Title1=A[OK]<<#32770>>\r\nTitle2=B[OK]<<#32770>>\r\n", 2);
  Dialog a = OpenDialog("#32770", "A", {"OK"});
  Dialog b = OpenDialog("#32770", "B", {"OK"});
  Dialog c = OpenDialog("#32770", "C", {"OK"});
  sim::OnClick(a.buttons[0], [&] {
    sim::DestroyWindow(a.window);
    WriteFile(
        "C:\\pallix\\w.ini",
        "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=A[OK]<<#32770>>\r\nTitle2=C[OK]<<#32770>>\r\n");
    sim::Post([&] { sim::UserClick(form_.controls().Command5); });
  });
  SwitchOnByButton();
  // Read ini is locked out while monitoring, except from the keyboard: the
  // button itself stays enabled.
  ASSERT_TRUE(IsEnabled(form_.controls().Command5));
  Tick();
  EXPECT_TRUE(IsWindow(b.window));
  EXPECT_FALSE(IsWindow(c.window));
}

TEST_F(Monitor, SwitchingOffInsideATickLetsThatTickFinish) {
  Watch("Title1=A[OK]<<#32770>>\r\nTitle2=B[OK]<<#32770>>\r\n", 2);
  Dialog a = OpenDialog("#32770", "A", {"OK"});
  Dialog b = OpenDialog("#32770", "B", {"OK"});
  sim::OnClick(a.buttons[0], [&] {
    sim::DestroyWindow(a.window);
    sim::Post([&] { sim::UserClick(form_.controls().Command2); });
  });
  SwitchOnByButton();
  Tick();
  EXPECT_FALSE(IsWindow(b.window));
  ExpectState(false);
  Dialog again = OpenDialog("#32770", "A", {"OK"});
  Tick();
  EXPECT_TRUE(IsWindow(again.window));
}

TEST_F(Monitor, ButtonAndMenuItemSwitchTheSameSixSettings) {
  Watch("", 0);
  ExpectState(false);
  SwitchOnByButton();
  ExpectState(true);
  sim::ScriptMenuChoice(kIdSwenable);
  sim::TrayMouse(kWmRButtonDown);
  ExpectState(false);
  sim::ScriptMenuChoice(kIdSwenable);
  sim::TrayMouse(kWmRButtonDown);
  ExpectState(true);
  SwitchOnByButton();  // the caption now says Disable: this switches off
  ExpectState(false);
}

TEST_F(Monitor, TheMenuSwitchesEvenWhenStartUpDisabledTheButton) {
  Watch("", 0);
  SetEnabled(form_.controls().Command2, false);
  SetEnabled(form_.controls().Command1, false);
  SetEnabled(form_.controls().Command3, false);
  sim::UserClick(form_.controls().Command2);
  EXPECT_FALSE(sim::TimerActive(form_.hwnd(), kMonitorTimerId));
  sim::ScriptMenuChoice(kIdSwenable);
  sim::TrayMouse(kWmRButtonDown);
  EXPECT_TRUE(sim::TimerActive(form_.hwnd(), kMonitorTimerId));
  sim::ScriptMenuChoice(kIdSwenable);
  sim::TrayMouse(kWmRButtonDown);
  ExpectState(false);
  EXPECT_FALSE(IsEnabled(form_.controls().Command2));  // not the switch's to change
}

}  // namespace
}  // namespace pallix

// Start-up, the window's life, the tray icon and its menu, and the file
// chooser, through the main window on the simulated desktop.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/form1.h"
#include "app/maker_links.h"
#include "app/tray.h"
#include "config/chooser.h"
#include "platform/kernel32.h"
#include "platform/sim/sim.h"
#include "platform/toolkit.h"
#include "platform/user32.h"
#include "resources/resource_ids.h"
#include "sim_test.h"
#include "watch/read_ini.h"

namespace pallix {
namespace {

using testing::ReadFile;
using testing::SimTest;
using testing::WriteFile;

constexpr const char* kQuestion =
    "There is no default_px.ini file in the path!\r\nDo you want to create it?";

class Shell : public SimTest {
 protected:
  void Start() {
    form_.Create();
    form_.Start();
  }
  const Form1Controls& c() const { return form_.controls(); }
  std::vector<std::string> ComboItems() const {
    std::vector<std::string> items;
    for (int i = 0; i < ListCount(c().Combo1); ++i) items.push_back(ListItem(c().Combo1, i));
    return items;
  }
  int QuestionsAsked() const {
    int n = 0;
    for (const auto& box : sim::MessageBoxes()) {
      if (box.text == kQuestion) {
        EXPECT_EQ(box.caption, "default_px.ini?");
        EXPECT_EQ(box.style, 4u);
        ++n;
      }
    }
    return n;
  }
  std::string SwopenCaption() const { return GetMenuItemCaption(c().traymenu, kIdSwopen); }

  Form1 form_;
};

TEST_F(Shell, AnEmptyFolderSaysSoThenOffersTheDefaultFileAndYesCreatesIt) {
  sim::ScriptAnswer(kIdOk, [&] { EXPECT_FALSE(IsVisible(form_.hwnd())); });
  sim::ScriptAnswer(kIdYes, [&] { EXPECT_TRUE(IsVisible(form_.hwnd())); });
  Start();
  ASSERT_EQ(sim::MessageBoxes().size(), 2u);
  // The load's message comes before the window is first shown.
  EXPECT_EQ(sim::MessageBoxes()[0].text, kNoWindowsMessage);
  EXPECT_EQ(QuestionsAsked(), 1);
  EXPECT_TRUE(std::filesystem::exists(sim::HostPath("C:\\pallix\\default_px.ini")));
  EXPECT_EQ(ReadFile("C:\\pallix\\default_px.ini"), "");
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"default_px.ini"}));
  EXPECT_EQ(GetCaption(c().Combo1), "default_px.ini");
  EXPECT_FALSE(IsVisible(c().Command4));
  EXPECT_TRUE(IsEnabled(c().Command1) && IsEnabled(c().Command2) && IsEnabled(c().Command3));
  // The tray icon was the first thing added.
  ASSERT_FALSE(sim::NotifyCalls().empty());
  EXPECT_EQ(sim::TrayIcons().size(), 1u);
}

TEST_F(Shell, NoLeavesCreateIniShowingAndAsksAgainOnEachShowing) {
  sim::ScriptAnswer(kIdOk);
  sim::ScriptAnswer(kIdNo);
  Start();
  EXPECT_TRUE(IsVisible(c().Command4));
  EXPECT_FALSE(IsEnabled(c().Command1) || IsEnabled(c().Command2) || IsEnabled(c().Command3));
  EXPECT_EQ(GetCaption(c().Combo1), "Combo1");
  // Hidden and shown again from the tray: asked again.
  sim::UserDblClickBackground(form_.hwnd());
  sim::ScriptAnswer(kIdNo);
  sim::ScriptMenuChoice(kIdSwopen);  // caption "Open": shows
  sim::TrayMouse(kWmRButtonDown);
  EXPECT_EQ(QuestionsAsked(), 2);
  // Switching back from another program is no new showing.
  sim::SetActiveWindow(Hwnd{});
  SetVisible(form_.hwnd(), true);
  EXPECT_EQ(QuestionsAsked(), 2);

  sim::UserClick(c().Command4);
  EXPECT_TRUE(std::filesystem::exists(sim::HostPath("C:\\pallix\\default_px.ini")));
  EXPECT_FALSE(IsVisible(c().Command4));
  EXPECT_TRUE(IsEnabled(c().Command1) && IsEnabled(c().Command2) && IsEnabled(c().Command3));
}

TEST_F(Shell, ExistingFilesAreListedInOrderAndTheFirstIsChosenWithoutAQuestion) {
  WriteFile("C:\\pallix\\default_px.ini", "");
  WriteFile("C:\\pallix\\Beta.INI", "");
  WriteFile("C:\\pallix\\alpha.ini", "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[B]<<C>>\r\n");
  WriteFile("C:\\pallix\\ x.ini", "");
  WriteFile("C:\\pallix\\hidden.ini", "");
  sim::SetFileAttributes("C:\\pallix\\hidden.ini", kFileAttributeHidden);
  WriteFile("C:\\pallix\\system.ini", "");
  sim::SetFileAttributes("C:\\pallix\\system.ini", kFileAttributeSystem);
  std::filesystem::create_directories(sim::HostPath("C:\\pallix\\folder.ini"));
  WriteFile("C:\\pallix\\notes.txt", "");
  Start();
  EXPECT_EQ(ComboItems(),
            (std::vector<std::string>{"x.ini", "alpha.ini", "Beta.INI", "default_px.ini"}));
  EXPECT_EQ(GetCaption(c().Combo1), "x.ini");
  EXPECT_EQ(QuestionsAsked(), 0);
}

TEST_F(Shell, AnotherNameIsEnoughToSkipTheQuestion) {
  WriteFile("C:\\pallix\\alpha.ini", "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[B]<<C>>\r\n");
  Start();
  EXPECT_EQ(QuestionsAsked(), 0);
  EXPECT_TRUE(sim::MessageBoxes().empty());
  EXPECT_EQ(form_.watch().watch_class[1], "C");
  EXPECT_FALSE(std::filesystem::exists(sim::HostPath("C:\\pallix\\default_px.ini")));
}

TEST_F(Shell, CreateIniLeavesAnExistingFileByteForByte) {
  WriteFile("C:\\pallix\\default_px.ini", "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=x\r\n");
  Start();
  sim::UserClick(c().Command4);  // hidden: a user cannot press it
  EXPECT_EQ(ReadFile("C:\\pallix\\default_px.ini"),
            "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=x\r\n");
  FileList file1("*.ini");
  create_ini(file1,
             ChooserControls{c().Combo1, c().Command1, c().Command2, c().Command3, c().Command4});
  EXPECT_EQ(ReadFile("C:\\pallix\\default_px.ini"),
            "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=x\r\n");
  EXPECT_FALSE(IsVisible(c().Command4));
}

TEST_F(Shell, EditIniStartsTheEditorOnTheChosenOrTypedName) {
  sim::SetAppPath("C:\\Tools");
  WriteFile("C:\\Tools\\x.ini", "");
  Start();
  sim::UserClick(c().Command1);
  sim::UserType(c().Combo1, "other.ini");
  sim::UserClick(c().Command1);
  EXPECT_EQ(sim::StartedPrograms(),
            (std::vector<std::string>{"notepad C:\\Tools\\x.ini", "notepad C:\\Tools\\other.ini"}));
}

TEST_F(Shell, EveryCloseRequestButTheProgramsOwnIsRefused) {
  WriteFile("C:\\pallix\\a.ini", "");
  sim::ScriptAnswer(kIdOk);
  Start();
  for (int reason : {kCloseFromMenu, kCloseFromSession, kCloseFromTaskManager, 4, 5}) {
    EXPECT_TRUE(sim::RequestClose(form_.hwnd(), reason)) << reason;
    EXPECT_TRUE(IsVisible(form_.hwnd()));
  }
  SetVisible(form_.hwnd(), false);
  EXPECT_TRUE(sim::RequestClose(form_.hwnd(), kCloseFromMenu));
  EXPECT_FALSE(IsVisible(form_.hwnd()));
  std::int16_t cancel = 0;
  form_.Form_QueryUnload(cancel, kCloseFromCode);
  EXPECT_EQ(cancel, 0);
  // Were the window ever unloaded after all, its icon would not be left
  // behind in the notification area.
  ASSERT_EQ(sim::TrayIcons().size(), 1u);
  EXPECT_FALSE(sim::RequestClose(form_.hwnd(), kCloseFromCode));
  EXPECT_TRUE(sim::TrayIcons().empty());
}

TEST_F(Shell, EachActivationRemovesTheLastItemOfTheWindowMenu) {
  WriteFile("C:\\pallix\\a.ini", "");
  sim::ScriptAnswer(kIdOk);
  Start();
  std::vector<std::string> menu = sim::SystemMenuCaptions(form_.hwnd());
  ASSERT_FALSE(menu.empty());
  EXPECT_EQ(menu.back(), "-");  // Close is gone; the separator above it is last
  EXPECT_EQ(sim::DrawMenuBarCount(form_.hwnd()), 1);
  sim::UserDblClickBackground(form_.hwnd());
  swopen_Click(TrayControls{form_.hwnd(), c().traymenu, kIdSwopen});  // "Open": show
  EXPECT_EQ(sim::SystemMenuCaptions(form_.hwnd()).back(), "Ma&ximize");
}

TEST_F(Shell, ExitRemovesTheIconAndEndsAtOnce) {
  WriteFile("C:\\pallix\\a.ini", "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[B]<<C>>\r\n");
  Start();
  ASSERT_EQ(sim::TrayIcons().size(), 1u);
  sim::ScriptMenuChoice(kIdExit);
  EXPECT_THROW(sim::TrayMouse(kWmRButtonDown), sim::ProcessEnded);
  EXPECT_TRUE(sim::TrayIcons().empty());
  EXPECT_EQ(ReadFile("C:\\pallix\\a.ini"),
            "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[B]<<C>>\r\n");
  EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(Shell, TheIconRecordIsFilledAsTheShellExpectsIt) {
  WriteFile("C:\\pallix\\a.ini", "");
  Start();
  ASSERT_EQ(sim::NotifyCalls().size(), 1u);
  const sim::NotifyCall& add = sim::NotifyCalls()[0];
  EXPECT_EQ(add.message, kNimAdd);
  EXPECT_EQ(add.record.window, c().Picture1);
  EXPECT_EQ(add.record.id, 1u);
  EXPECT_EQ(add.record.flags, 7u);
  EXPECT_EQ(add.record.callback_message, 512u);
  EXPECT_EQ(add.record.icon_resource, kIconTray);
  std::string tip(add.record.tip, sizeof add.record.tip);
  EXPECT_EQ(tip, std::string("I am monitoring Rhino's MSGBOXes") + '\0' + std::string(31, ' '));

  RemoveTrayIcon(c().Picture1);
  const sim::NotifyCall& remove = sim::NotifyCalls().back();
  EXPECT_EQ(remove.message, kNimDelete);
  EXPECT_EQ(remove.record.flags, 0u);
  EXPECT_EQ(remove.record.callback_message, 0u);
  EXPECT_EQ(remove.record.icon_resource, 0);
  EXPECT_EQ(std::string(remove.record.tip, 64), std::string(64, '\0'));
}

TEST_F(Shell, TheIconComesBackWhenTheShellRestarts) {
  WriteFile("C:\\pallix\\a.ini", "");
  sim::SetTrayAvailable(false);  // no notification area yet at start
  Start();
  EXPECT_TRUE(sim::TrayIcons().empty());
  sim::RestartShell();
  ASSERT_EQ(sim::TrayIcons().size(), 1u);
  EXPECT_EQ(sim::TrayIcons()[0].tip, kTrayTip);
  sim::RestartShell();
  EXPECT_EQ(sim::TrayIcons().size(), 1u);
  // The hidden window can be reached through it again.
  sim::UserDblClickBackground(form_.hwnd());
  sim::TrayMouse(kWmLButtonDblClk);
  EXPECT_TRUE(IsVisible(form_.hwnd()));
}

TEST_F(Shell, TheIconOpensTheMenuOnTheRightPressAndTogglesOnTheDoubleClick) {
  WriteFile("C:\\pallix\\a.ini", "");
  Start();
  for (std::uint32_t ignored : {512u, 513u, 514u, 517u, 518u}) sim::TrayMouse(ignored);
  EXPECT_TRUE(sim::Popups().empty());
  EXPECT_TRUE(IsVisible(form_.hwnd()));

  sim::SetCursor(Point{1200, 1000});
  sim::TrayMouse(kWmRButtonDown);
  ASSERT_EQ(sim::Popups().size(), 1u);
  EXPECT_EQ(sim::Popups()[0].at, (Point{1200, 1000}));
  EXPECT_EQ(sim::Popups()[0].foreground, form_.hwnd());
  EXPECT_EQ(sim::MenuCaptions(c().traymenu),
            (std::vector<std::string>{kMakerSiteName, "-", "Disable", "Open", "-", "Exit"}));

  sim::TrayMouse(kWmLButtonDblClk);  // shown: hide
  EXPECT_FALSE(IsVisible(form_.hwnd()));
  EXPECT_EQ(SwopenCaption(), "Open");
  sim::TrayMouse(kWmLButtonDblClk);  // hidden: show on top
  EXPECT_TRUE(IsVisible(form_.hwnd()));
  EXPECT_EQ(SwopenCaption(), "To SysTray");
  EXPECT_TRUE(sim::IsTopmost(form_.hwnd()));
  EXPECT_EQ(sim::Foreground(), form_.hwnd());
  ASSERT_FALSE(sim::WindowPosCalls().empty());
  EXPECT_EQ(sim::WindowPosCalls().back().insert_after, kHwndTopmost);
  EXPECT_EQ(sim::WindowPosCalls().back().flags, 0u);
}

TEST_F(Shell, SwopenFollowsItsCaptionNotTheWindow) {
  WriteFile("C:\\pallix\\a.ini", "");
  Start();
  TrayControls tray{form_.hwnd(), c().traymenu, kIdSwopen};
  swopen_Click(tray);  // "Open" while shown: stays shown
  EXPECT_TRUE(IsVisible(form_.hwnd()));
  EXPECT_EQ(SwopenCaption(), "To SysTray");
  swopen_Click(tray);
  EXPECT_FALSE(IsVisible(form_.hwnd()));
  EXPECT_EQ(SwopenCaption(), "Open");

  swopen_Click(tray);
  sim::UserDblClickBackground(form_.hwnd());  // hides, caption stays
  EXPECT_EQ(SwopenCaption(), "To SysTray");
  swopen_Click(tray);
  EXPECT_FALSE(IsVisible(form_.hwnd()));
  EXPECT_EQ(SwopenCaption(), "Open");
  swopen_Click(tray);
  EXPECT_TRUE(IsVisible(form_.hwnd()));
  EXPECT_TRUE(sim::IsTopmost(form_.hwnd()) == false);  // only the icon makes it topmost
}

TEST_F(Shell, EveryMakerLinkOpensTheSameAddress) {
  WriteFile("C:\\pallix\\a.ini", "");
  Start();
  sim::UserClick(c().Label1);
  sim::UserClick(c().Pic1);
  sim::UserClick(c().Text5);
  sim::ScriptMenuChoice(kIdKorrelcom);
  sim::TrayMouse(kWmRButtonDown);
  ASSERT_EQ(sim::ShellExecutes().size(), 4u);
  for (const auto& call : sim::ShellExecutes()) {
    EXPECT_EQ(call.window, form_.hwnd());
    EXPECT_TRUE(call.null_operation);
    EXPECT_EQ(call.file, kMakerUrl);
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.show, 10);
  }
}

TEST_F(Shell, TheWindowStartsAsDesignedAtEveryResolution) {
  WriteFile("C:\\pallix\\a.ini", "");
  for (double per_pixel : {15.0, 12.0, 10.0}) {
    sim::Reset();
    WriteFile("C:\\pallix\\a.ini", "");
    sim::SetTwipsPerPixel(per_pixel, per_pixel);
    form_ = Form1();
    Start();
    Rect client, command2;
    GetWindowRect(form_.hwnd(), &client);
    GetWindowRect(c().Command2, &command2);
    auto px = [&](int twips) { return static_cast<int>(std::lround(twips / per_pixel)); };
    EXPECT_EQ(client, (Rect{px(3435), px(2610), px(3435 + 4680), px(2610 + 2025)}));
    EXPECT_EQ(command2.left - client.left, px(90));
    EXPECT_EQ(command2.right - client.left, px(90 + 4545));
    EXPECT_EQ(command2.top - client.top, px(1680));
  }
  EXPECT_EQ(GetCaption(form_.hwnd()).rfind("Pallix", 0), 0u);
  EXPECT_NE(GetCaption(form_.hwnd()).find("v0.1"), std::string::npos);
  EXPECT_FALSE(IsVisible(c().Label3));
  EXPECT_EQ(GetForeColor(c().Label3), Rgb(255, 0, 0));
  EXPECT_EQ(GetForeColor(c().Text5), Rgb(0, 0, 255));
  EXPECT_EQ(sim::FontOf(c().Text5).face, "Arial");
  EXPECT_TRUE(sim::FontOf(c().Text5).bold && sim::FontOf(c().Text5).italic);
  EXPECT_FALSE(IsEnabled(c().Text1));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(IsVisible(c().cmd1[i]) || IsVisible(c().Op1[i]));
  EXPECT_FALSE(IsVisible(c().Command4));
  EXPECT_EQ(GetBackColor(c().Command2), Rgb(128, 255, 128));
  EXPECT_EQ(GetPicture(c().Picture2), kCursorPicker);  // armed by the first activation
  EXPECT_EQ(GetPicture(c().Pic1), kBitmapLogo);
  EXPECT_FALSE(sim::ToolTipOf(c().Pic1).empty());
  EXPECT_EQ(sim::CustomPointerOf(form_.hwnd()), kCursorPicker);
  EXPECT_TRUE(IsMenuItemChecked(c().traymenu, kIdSwenable));
}

TEST(RoundHalfEven16, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven16(49.5), 50);
  EXPECT_EQ(RoundHalfEven16(50.5), 50);
  EXPECT_EQ(RoundHalfEven16(51.5), 52);
  EXPECT_EQ(RoundHalfEven16(-0.5), 0);
  EXPECT_EQ(RoundHalfEven16(-1.5), -2);
  EXPECT_EQ(RoundHalfEven16(50.4), 50);
  EXPECT_EQ(RoundHalfEven16(40000.0), 32767);
  EXPECT_EQ(RoundHalfEven16(-40000.0), -32768);
}

}  // namespace
}  // namespace pallix

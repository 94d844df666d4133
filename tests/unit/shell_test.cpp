// Start-up, the window's life, the tray icon and its menu, the file chooser
// and the programs the main window starts.
#include <windows.h>

#include <shellapi.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/form1.h"
#include "app/tray.h"
#include "resources/resource_ids.h"
#include "tests/unit/support.h"

namespace pallix {
namespace {

using test::BoxAnswerer;
using test::FolderPath;
using test::WriteFile;
using Lines = std::vector<std::string>;

constexpr const char* kQuestion =
    "There is no default_px.ini file in the path!\r\nDo you want to create it?";

std::string SelfPath() {
  char self[MAX_PATH];
  return std::string(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
}

class Shell : public test::FolderTest {
 protected:
  void Start(bool background = false) {
    form_.Create();
    form_.Start(background);
  }
  // Starts on a folder whose only file is `file`, empty; in the background,
  // which with nothing to watch is a normal start.
  void StartWith(const char* file) {
    WriteFile(file, "");
    BoxAnswerer boxes;
    Start(true);
  }
  const Form1Controls& c() const { return form_.controls(); }
  bool Shown() const { return IsVisible(form_.hwnd()); }
  std::string Swopen() const { return GetMenuItemCaption(c().traymenu, kIdSwopen); }
  void Press(HWND button) { ::SendMessageA(button, BM_CLICK, 0, 0); }
  void DblClickBackground() { ::SendMessageA(form_.hwnd(), WM_LBUTTONDBLCLK, 0, 0); }
  void ExpectLocked(bool locked) {
    EXPECT_EQ(IsVisible(c().Command4), locked);
    for (HWND b : {c().Command1, c().Command2, c().Command3}) {
      EXPECT_EQ(::IsWindowEnabled(b) == FALSE, locked);
    }
  }
  static int Questions(BoxAnswerer& boxes) {
    int n = 0;
    for (const test::SeenBox& box : boxes.Seen()) n += box.text == kQuestion;
    return n;
  }
  std::vector<UINT> WindowMenu() const {
    std::vector<UINT> ids;
    HMENU menu = ::GetSystemMenu(form_.hwnd(), FALSE);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) ids.push_back(::GetMenuItemID(menu, i));
    return ids;
  }
  // Whether the shell holds our icon.
  bool IconShown() const {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = c().Picture1;
    data.uID = 1;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
  }
  // The command lines the started programs wrote, once there are `n`.
  static Lines Launched(std::size_t n) {
    Lines lines;
    for (int i = 0; i < 1000 && lines.size() < n; ++i, ::Sleep(10)) {
      lines.clear();
      std::string text = test::ReadFile("launched.txt");
      for (std::size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1)) {
        lines.push_back(text.substr(0, text.find_first_of("\r\n")));
      }
    }
    return lines;
  }

  Form1 form_;
};

// The two boxes, and the empty file and free buttons after Yes: the
// package journey.
TEST_F(Shell, YesToTheDefaultFileChoosesItAndTheWindowStartsAsDesigned) {
  BoxAnswerer boxes({"OK", "&Yes"});
  Start();
  EXPECT_EQ(Questions(boxes), 1);
  EXPECT_EQ(test::Items(c().Combo1), Lines{"default_px.ini"});
  EXPECT_EQ(GetCaption(c().Combo1), "default_px.ini");
  EXPECT_EQ(GetCaption(form_.hwnd()).rfind("Pallix", 0), 0u);
  EXPECT_EQ(GetCaption(c().Label3), "Couldn't find parent hwnd Rhinoceros");
  EXPECT_EQ(::GetWindowLongA(c().Label3, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
  EXPECT_FALSE(IsVisible(c().Label3));
  EXPECT_EQ(GetForeColor(c().Label3), RGB(255, 0, 0));
  EXPECT_FALSE(::IsWindowEnabled(c().Text1));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(IsVisible(c().cmd1[i]) || IsVisible(c().Op1[i]));
  EXPECT_EQ(GetPicture(c().Picture2), kCursorPicker);  // armed by the first activation
}

TEST_F(Shell, NoLeavesCreateIniShowingAndAsksAgainOnEachShowing) {
  BoxAnswerer boxes({"OK", "&No"});
  form_.Create();
  std::vector<UINT> window_menu = WindowMenu();
  ASSERT_GE(window_menu.size(), 3u);
  form_.Start();
  EXPECT_EQ(GetCaption(c().Combo1), "Combo1");
  DblClickBackground();
  EXPECT_FALSE(Shown());
  form_.OnCommand(kIdSwopen);  // caption "Open": shows
  EXPECT_EQ(Questions(boxes), 2);
  // Each of the two activations removed the item last at that moment.
  window_menu.resize(window_menu.size() - 2);
  EXPECT_EQ(WindowMenu(), window_menu);
  // Switching back from another window is no new showing.
  test::TestDialog other("Another program", {});
  ASSERT_EQ(::GetActiveWindow(), other.hwnd());
  ::SetActiveWindow(form_.hwnd());
  EXPECT_EQ(Questions(boxes), 2);

  // The menu still switches monitoring, and switching off unlocks what it
  // locks, not the switch button that start-up disabled.
  form_.OnCommand(kIdSwenable);
  EXPECT_EQ(GetCaption(c().Command2), "Disable monitoring");
  form_.OnCommand(kIdSwenable);
  EXPECT_TRUE(::IsWindowEnabled(c().Command1) && ::IsWindowEnabled(c().Command3));
  EXPECT_FALSE(::IsWindowEnabled(c().Command2));

  Press(c().Command4);
  EXPECT_TRUE(test::FileExists("default_px.ini"));
  ExpectLocked(false);
}

TEST_F(Shell, ADefaultFileThatCannotBeMadeIsReportedAndCreateIniStaysShown) {
  ASSERT_TRUE(::CreateDirectoryA(FolderPath("default_px.ini").c_str(), nullptr));
  BoxAnswerer boxes({"OK", "&Yes", "OK"});
  Start();
  ExpectLocked(true);
  Press(c().Command4);
  ExpectLocked(true);
  int reports = 0;
  for (const test::SeenBox& box : boxes.Seen()) {
    reports += box.title == "Pallix" &&
               box.text.rfind("Pallix could not create " + FolderPath("default_px.ini"), 0) == 0;
  }
  EXPECT_EQ(reports, 2);
}

TEST_F(Shell, FilesAreListedWithoutRegardToCaseAndTheFirstIsChosenWithoutAQuestion) {
  ASSERT_EQ(::GetACP(), 1252u);  // the accented names are Windows-1252 bytes
  for (const char* name : {"Zeta.ini", "\304b.ini", "\344a.ini", "alpha.ini", "Beta.INI",
                           "default_px.ini", " x.ini", "hidden.ini", "system.ini", "notes.txt"}) {
    WriteFile(name, "");
  }
  ::SetFileAttributesA(FolderPath("hidden.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesA(FolderPath("system.ini").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(::CreateDirectoryA(FolderPath("folder.ini").c_str(), nullptr));
  BoxAnswerer boxes;
  Start();
  EXPECT_EQ(test::Items(c().Combo1), (Lines{"x.ini", "\344a.ini", "\304b.ini", "alpha.ini",
                                            "Beta.INI", "default_px.ini", "Zeta.ini"}));
  EXPECT_EQ(GetCaption(c().Combo1), "x.ini");
  EXPECT_EQ(Questions(boxes), 0);
}

TEST_F(Shell, AnotherNameSkipsTheQuestionAndCreateIniLeavesAnExistingFileAlone) {
  WriteFile("alpha.ini", "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[B]<<C>>\r\n");
  BoxAnswerer boxes;
  Start();
  EXPECT_TRUE(boxes.Seen().empty());
  EXPECT_EQ(form_.watch().watch_class[1], "C");
  EXPECT_FALSE(test::FileExists("default_px.ini"));

  const std::string kept = "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=x\r\n";
  WriteFile("default_px.ini", kept);
  ::EnableWindow(c().Command1, FALSE);
  form_.OnCommand(kIdCommand4);  // hidden: only the program itself runs it here
  EXPECT_EQ(test::ReadFile("default_px.ini"), kept);
  ExpectLocked(false);
  EXPECT_EQ(test::Items(c().Combo1), (Lines{"alpha.ini", "default_px.ini"}));
  EXPECT_EQ(GetCaption(c().Combo1), "alpha.ini");
}

TEST_F(Shell, EditIniAndTheMakerLinksStartTheEditorAndTheBrowser) {
  ASSERT_TRUE(::CopyFileA(SelfPath().c_str(), FolderPath("notepad.exe").c_str(), FALSE));
  // The test program stands in for the browser while this test runs.
  constexpr const char* kKey = "https\\shell\\open\\command";
  char before[1024] = "";
  LONG size = sizeof before;
  ::RegQueryValueA(HKEY_CLASSES_ROOT, kKey, before, &size);
  std::string command = '"' + SelfPath();
  command += "\" --record %1";
  ASSERT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, kKey, REG_SZ, command.c_str(), 0), ERROR_SUCCESS);
  StartWith("x.ini");
  Press(c().Command1);
  ASSERT_EQ(Launched(1).size(), 1u);  // one at a time, so that their order is known
  SetCaption(c().Combo1, "other.ini");
  Press(c().Command1);
  ASSERT_EQ(Launched(2).size(), 2u);
  for (int link : {kIdLabel1, kIdPic1, kIdText5, kIdKorrelcom}) form_.OnCommand(link);
  Lines lines = Launched(6);
  ::RegSetValueA(HKEY_CLASSES_ROOT, kKey, REG_SZ, before, 0);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "notepad " + AppPath() + "\\x.ini");
  EXPECT_EQ(lines[1], "notepad " + AppPath() + "\\other.ini");
  for (int i = 2; i < 6; ++i) {
    EXPECT_TRUE(lines[i].ends_with(" --record https://korrel.example/pallix/")) << lines[i];
  }
}

// Close requests, shown and hidden, are refused: see tray_and_close.sh.
TEST_F(Shell, TheIconStaysTillTheWindowGoesAndTellsThatMonitoringIsOff) {
  StartWith("a.ini");
  EXPECT_TRUE(Shown() && GetCaption(c().Command2) == "Enable monitoring");
  // The icon, there from the start, comes back for a new shell, and would go
  // with the window were it unloaded after all.
  EXPECT_TRUE(IconShown());
  form_.Form_Unload();
  ASSERT_FALSE(IconShown());
  ::SendMessageA(form_.hwnd(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(IconShown());
  ::DestroyWindow(form_.hwnd());
  EXPECT_FALSE(IconShown());
  NOTIFYICONDATAA record = TrayIconRecord(c().Picture1, kIconTray);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 512u);
  EXPECT_EQ(std::string(record.szTip, 64),
            std::string("Pallix is not monitoring") + '\0' + std::string(39, ' '));
}

TEST_F(Shell, TheTrayShowsAndHidesTheWindowAndItsMenuOpensOnTheRightPress) {
  StartWith("a.ini");
  // Chooses "swopen" (or double-clicks the background) and checks the result.
  auto step = [&](bool background, bool shown, const char* caption) {
    background ? DblClickBackground() : form_.OnCommand(kIdSwopen);
    EXPECT_EQ(Shown(), shown);
    EXPECT_EQ(Swopen(), caption);
  };
  step(false, true, "To SysTray");
  step(false, false, "Open");
  step(false, true, "To SysTray");
  step(true, false, "To SysTray");
  step(false, false, "Open");
  step(false, true, "To SysTray");
  // Only the icon makes the window topmost.
  EXPECT_FALSE(::GetWindowLongA(form_.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Away from the screen's edges, where the menu would open above or left of
  // the pointer (where it opens is the tray journey's). Each menu of this
  // process is answered from another thread: it is counted, then closed
  // with Escape. Keys that choose an item would race the pointer, which the
  // menu opens under: choosing is the monitor journey's, with real clicks.
  ASSERT_TRUE(::SetCursorPos(400, 300));
  std::atomic<int> menus = 0;
  std::atomic<bool> stop{false};
  std::thread answerer([&] {
    for (HWND last = nullptr; !stop; ::Sleep(5)) {
      HWND menu = ::FindWindowA("#32768", nullptr);
      DWORD pid = 0;
      if (menu) ::GetWindowThreadProcessId(menu, &pid);
      if (menu == last || pid != ::GetCurrentProcessId() || !::IsWindowVisible(menu)) continue;
      last = menu;
      ++menus;
      ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
  });
  for (UINT ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_RBUTTONDBLCLK})
    form_.OnTrayMessage(ignored);
  // The shortcut made while the check mark said otherwise: the menu tells
  // the truth when it opens.
  form_.OnCommand(kIdStartup);
  ::CheckMenuItem(c().traymenu, kIdStartup, MF_BYCOMMAND | MF_UNCHECKED);
  form_.OnTrayMessage(WM_RBUTTONDOWN);
  bool startup_checked = ::GetMenuState(c().traymenu, kIdStartup, MF_BYCOMMAND) & MF_CHECKED;
  form_.OnCommand(kIdStartup);
  EXPECT_TRUE(startup_checked);
  stop = true;
  answerer.join();
  EXPECT_EQ(menus.load(), 1);
  Lines items;
  for (UINT i = 0; i < 9; ++i) {
    char text[64] = "";
    items.emplace_back(text, ::GetMenuStringA(c().traymenu, i, text, 64, MF_BYPOSITION));
  }
  EXPECT_EQ(items, (Lines{"korrel.example", "", "Disable", "To SysTray", "Answer log",
                          "Recent dialogs", "Start with Windows", "", "Exit"}));
  EXPECT_EQ(::GetMenuItemCount(c().traymenu), 9);  // separators have no text

  // The icon hides and shows the window (topmost): the tray journey.
  form_.OnTrayMessage(WM_LBUTTONDBLCLK);
  EXPECT_EQ(Swopen(), "Open");
  form_.OnTrayMessage(WM_LBUTTONDBLCLK);
  EXPECT_EQ(Swopen(), "To SysTray");
  EXPECT_EQ(::GetForegroundWindow(), form_.hwnd());
}

TEST(RoundHalfEven16, HalvesGoToTheEvenNeighbourAndTheEndsHold) {
  const std::pair<double, int> cases[] = {{49.5, 50}, {50.5, 50}, {51.5, 52},     {-0.5, 0},
                                          {-1.5, -2}, {50.4, 50}, {40000, 32767}, {-40000, -32768}};
  for (auto [value, want] : cases) EXPECT_EQ(RoundHalfEven16(value), want) << value;
}

}  // namespace
}  // namespace pallix

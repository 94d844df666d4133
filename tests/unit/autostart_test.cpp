// "Start with Windows" against the user's real Startup folder, and the texts
// a start and a shortcut are read from.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/autostart.h"
#include "app/form1.h"
#include "tests/unit/support.h"

namespace pallix {
namespace {

class Autostart : public test::FolderTest {
 protected:
  void SetUp() override {
    FolderTest::SetUp();
    PWSTR folder = nullptr;
    ASSERT_EQ(::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder), S_OK);
    char path[MAX_PATH];
    ::WideCharToMultiByte(CP_ACP, 0, folder, -1, path, MAX_PATH, nullptr, nullptr);
    ::CoTaskMemFree(folder);
    link_ = std::string(path) + "\\Pallix.lnk";
    mine_ = std::string(path) + "\\mine.txt";
    ::DeleteFileA(link_.c_str());
    std::ofstream(mine_) << "the user's own";
    test::WriteFile("a.ini", test::WatchFile({"A[B]<<C>>"}));  // no box at start
    form_.Create();
    form_.Start();
  }
  void TearDown() override {
    std::string kept;
    std::getline(std::ifstream(mine_), kept);
    EXPECT_EQ(kept, "the user's own");
    ::RemoveDirectoryA(link_.c_str());  // left by a failed test, it would fail the next
    ::DeleteFileA(link_.c_str());
    ::DeleteFileA(mine_.c_str());
  }
  // A shortcut as another copy of Pallix, in another folder, left it.
  void LinkElsewhere() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)),
              S_OK);
    link->SetPath("C:\\elsewhere\\pallix.exe");
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    std::wstring path(link_.begin(), link_.end());
    EXPECT_EQ(file->Save(path.c_str(), TRUE), S_OK);
    file->Release();
    link->Release();
    ::CoUninitialize();
  }
  bool Checked() const {
    return ::GetMenuState(form_.controls().traymenu, kIdStartup, MF_BYCOMMAND) & MF_CHECKED;
  }
  // Chooses the item; returns the texts of the boxes it showed.
  std::vector<std::string> Choose() {
    test::BoxAnswerer boxes;
    form_.OnCommand(kIdStartup);
    std::vector<std::string> texts;
    for (const test::SeenBox& box : boxes.Seen()) texts.push_back(box.title + ": " + box.text);
    return texts;
  }

  Form1 form_;
  std::string link_, mine_;
};

TEST_F(Autostart, AShortcutToAnotherCopyOrNoShortcutIsUncheckedAndChoosingReplacesIt) {
  LinkElsewhere();
  ShowStartupCheck(form_.controls().traymenu, kIdStartup);
  EXPECT_FALSE(Checked());
  // The check mark is read back from the shortcut; what that holds, the
  // autostart journey reads from outside.
  EXPECT_TRUE(Choose().empty());
  EXPECT_TRUE(Checked());
  EXPECT_TRUE(Choose().empty());
  EXPECT_FALSE(Checked());

  std::ofstream(link_) << "no shortcut";
  ShowStartupCheck(form_.controls().traymenu, kIdStartup);
  EXPECT_FALSE(Checked());
  EXPECT_TRUE(Choose().empty());
  EXPECT_TRUE(Checked());
}

TEST_F(Autostart, AWriteOrRemovalWindowsRefusesIsReportedAndTheCheckMarkStaysTrue) {
  ASSERT_TRUE(::CreateDirectoryA(link_.c_str(), nullptr));
  std::vector<std::string> boxes = Choose();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Pallix: Pallix could not create " + link_ + ":\r\n", 0), 0u)
      << boxes[0];
  EXPECT_FALSE(Checked());

  ASSERT_TRUE(::RemoveDirectoryA(link_.c_str()));
  ASSERT_TRUE(Choose().empty());
  HANDLE held = ::CreateFileA(link_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  boxes = Choose();
  ::CloseHandle(held);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Pallix: Pallix could not remove " + link_ + ":\r\n", 0), 0u)
      << boxes[0];
  EXPECT_TRUE(Checked());
}

TEST(StartupText, TheSwitchIsFoundInAnySpellingAndTargetsCompareAsWindowsNames) {
  const std::pair<std::vector<std::string>, bool> switches[] = {
      {{"/background"}, true},
      {{"-BackGround"}, true},
      {{"x", "/BACKGROUND", "-background"}, true},
      {{}, false},
      {{"/other"}, false},
      {{"background"}, false},
      {{"/backgrounds"}, false},
      {{"--background"}, false}};
  for (const auto& [args, want] : switches)
    EXPECT_EQ(HasBackgroundSwitch(args), want) << args.size();
  EXPECT_TRUE(IsSameProgram("c:/Tools//PALLIX.exe", "C:\\tools\\pallix.exe"));
  EXPECT_FALSE(IsSameProgram("C:\\other\\pallix.exe", "C:\\tools\\pallix.exe"));
  EXPECT_FALSE(IsSameProgram("", ""));
}

}  // namespace
}  // namespace pallix

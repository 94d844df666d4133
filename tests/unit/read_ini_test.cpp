// "Read ini" through the main window, on the simulated desktop.
#include <filesystem>
#include <random>
#include <string>

#include "app/form1.h"
#include "platform/sim/sim.h"
#include "platform/toolkit.h"
#include "sim_test.h"
#include "watch/read_ini.h"

namespace pallix {
namespace {

using testing::ReadFile;
using testing::SimTest;
using testing::WriteFile;

class ReadIni : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    form_.Create();
    SetCaption(form_.controls().Combo1, "watch.ini");
  }

  void Load(std::string_view file_bytes) {
    WriteFile("C:\\pallix\\watch.ini", file_bytes);
    ClickReadIni();
  }
  void ClickReadIni() { sim::UserClick(form_.controls().Command5); }

  std::vector<std::string> List2() const {
    std::vector<std::string> lines;
    for (int i = 0; i < ListCount(form_.controls().List2); ++i)
      lines.push_back(ListItem(form_.controls().List2, i));
    return lines;
  }
  bool SaidNoWindows() const {
    for (const auto& box : sim::MessageBoxes()) {
      if (box.text == kNoWindowsMessage) {
        EXPECT_EQ(box.caption, "Pallix");
        EXPECT_EQ(box.style, 0x40u);
        return true;
      }
    }
    return false;
  }
  int EntriesIn(const WatchTable& t) const {
    int n = 0;
    for (int i = 0; i <= kWatchSlots; ++i)
      n += !t.watch_title[i].empty() || !t.watch_class[i].empty();
    return n;
  }

  Form1 form_;
};

TEST_F(ReadIni, AFileWithoutEntriesSaysSo) {
  ClickReadIni();  // missing file
  EXPECT_TRUE(SaidNoWindows());
  EXPECT_TRUE(List2().empty());
  EXPECT_EQ(GetCaption(form_.controls().Text3), "0");

  for (const char* bytes : {"", "[WindowTitles]\r\nNum_Windows=0\r\n", "[WindowTitles]\r\n"}) {
    sim::Reset();
    form_ = Form1();
    form_.Create();
    SetCaption(form_.controls().Combo1, "watch.ini");
    Load(bytes);
    EXPECT_TRUE(SaidNoWindows()) << bytes;
    EXPECT_EQ(EntriesIn(form_.watch()), 0);
  }
}

TEST_F(ReadIni, ACountThatIsNotANumberLoadsNothingAndSaysNothing) {
  Load("[WindowTitles]\r\nNum_Windows=\r\nTitle1=A[B]<<C>>\r\n");
  EXPECT_FALSE(SaidNoWindows());
  EXPECT_EQ(GetCaption(form_.controls().Text3), "");
  EXPECT_TRUE(List2().empty());
  EXPECT_EQ(EntriesIn(form_.watch()), 0);

  Load("[WindowTitles]\r\nNum_Windows=-5\r\nTitle1=A[B]<<C>>\r\n");
  EXPECT_FALSE(SaidNoWindows());
  EXPECT_EQ(GetCaption(form_.controls().Text3), "-5");
  EXPECT_EQ(EntriesIn(form_.watch()), 0);
}

TEST_F(ReadIni, EntriesFillTheirSlotsAndTheList) {
  Load(
      "[WindowTitles]\r\nNum_Windows=2x\r\nTitle1=Save changes[&Yes]<<#32770>>\r\n"
      "Title2=A [ B ] << C >>\r\nTitle3=Not[loaded]<<X>>\r\nTitle0=Zero[z]<<Z>>\r\n");
  const WatchTable& t = form_.watch();
  EXPECT_EQ(t.watch_title[1], "Save changes");
  EXPECT_EQ(t.watch_button[1], "&Yes");
  EXPECT_EQ(t.watch_class[1], "#32770");
  EXPECT_EQ(t.watch_title[2], "A ");
  EXPECT_EQ(t.watch_button[2], "B");
  EXPECT_EQ(t.watch_class[2], "C");
  EXPECT_EQ(EntriesIn(t), 2);
  EXPECT_EQ(List2(), (std::vector<std::string>{"Save changes<-->&Yes<-->#32770", "A <-->B<-->C"}));
  EXPECT_EQ(GetCaption(form_.controls().Text3), "2x");
  EXPECT_FALSE(SaidNoWindows());
}

TEST_F(ReadIni, MissingAndMalformedEntriesLeaveEmptyPiecesAndLoadingGoesOn) {
  Load(
      "[WindowTitles]\r\nNum_Windows=5\r\nTitle1=T[B]\r\nTitle2=X<<C>>\r\n"
      "Title4=Broken[B<<C>>\r\nTitle5=Last[OK]<<#32770>>\r\n");
  EXPECT_EQ(List2(), (std::vector<std::string>{"T<-->B<-->", "<--><-->C", "<--><-->", "<--><-->C",
                                               "Last<-->OK<-->#32770"}));
  EXPECT_EQ(form_.watch().watch_title[5], "Last");
}

TEST_F(ReadIni, EachLoadReplacesTheWholeTable) {
  Load(
      "[WindowTitles]\r\nNum_Windows=3\r\nTitle1=A[1]<<C>>\r\nTitle2=B[2]<<C>>\r\n"
      "Title3=C[3]<<C>>\r\n");
  EXPECT_EQ(EntriesIn(form_.watch()), 3);
  Load("[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[1]<<C>>\r\n");
  EXPECT_EQ(EntriesIn(form_.watch()), 1);
  EXPECT_EQ(form_.watch().watch_title[2], "");
  EXPECT_EQ(form_.watch().watch_class[3], "");
  WatchTable first = form_.watch();
  auto lines = List2();
  ClickReadIni();
  EXPECT_EQ(form_.watch().watch_title, first.watch_title);
  EXPECT_EQ(List2(), lines);
}

TEST_F(ReadIni, MoreThanTwentyEntriesLoadsTwentyAndTellsTheUser) {
  std::string file = "[WindowTitles]\r\nNum_Windows=25\r\n";
  for (int i = 1; i <= 25; ++i)
    file += "Title" + std::to_string(i) + "=D" + std::to_string(i) + "[OK]<<#32770>>\r\n";
  Load(file);
  EXPECT_EQ(EntriesIn(form_.watch()), 20);
  EXPECT_EQ(form_.watch().watch_title[20], "D20");
  EXPECT_EQ(List2().size(), 20u);
  ASSERT_EQ(sim::MessageBoxes().size(), 1u);
  EXPECT_EQ(sim::MessageBoxes()[0].text, TooManyEntriesMessage("watch.ini", 25));
  EXPECT_NE(sim::MessageBoxes()[0].text.find("21 to 25 are not watched"), std::string::npos);

  // A count far beyond any file: twenty reads, not four billion.
  Load("[WindowTitles]\r\nNum_Windows=4294967296\r\nTitle1=A[B]<<C>>\r\n");
  EXPECT_EQ(EntriesIn(form_.watch()), 1);
  EXPECT_EQ(List2().size(), 20u);
}

TEST_F(ReadIni, HostileFilesNeitherCrashNorChangeTheFile) {
  std::mt19937 random(7);
  std::string noise(1 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string with_nul =
      std::string("[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[B") + '\0' + "]<<C>>\r\n";
  std::string huge =
      "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=" + std::string(100000, 'x') + "[B]<<C>>\r\n";
  for (const std::string& bytes : {noise, with_nul, huge}) {
    Load(bytes);
    EXPECT_EQ(ReadFile("C:\\pallix\\watch.ini"), bytes);
    EXPECT_LE(form_.watch().watch_title[1].size(), 255u);
  }
  // 255 characters of x reach the reader: no "[" among them.
  EXPECT_EQ(form_.watch().watch_title[1], "");
}

TEST_F(ReadIni, AFolderAnUnreadableFileOrAnEmptyChoiceReadsAsNoEntries) {
  std::filesystem::create_symlink("/nonexistent/pallix", sim::HostPath("C:\\pallix\\gone.ini"));
  SetCaption(form_.controls().Combo1, "gone.ini");
  ClickReadIni();
  EXPECT_TRUE(SaidNoWindows());
  EXPECT_TRUE(std::filesystem::is_symlink(sim::HostPath("C:\\pallix\\gone.ini")));
  std::filesystem::create_directories(sim::HostPath("C:\\pallix\\folder.ini"));
  SetCaption(form_.controls().Combo1, "folder.ini");
  ClickReadIni();
  EXPECT_TRUE(SaidNoWindows());
  SetCaption(form_.controls().Combo1, "");
  ClickReadIni();
  EXPECT_EQ(sim::MessageBoxes().size(), 3u);
}

TEST_F(ReadIni, AtADriveRootTheFileIsFoundWithoutADoubleBackslash) {
  sim::SetAppPath("C:\\");
  WriteFile("C:\\x.ini", "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[B]<<C>>\r\n");
  SetCaption(form_.controls().Combo1, "x.ini");
  ClickReadIni();
  EXPECT_EQ(form_.watch().watch_class[1], "C");
}

TEST_F(ReadIni, AProfileFailureIsReportedAndThenTheProgramGoesOn) {
  WriteFile("C:\\pallix\\watch.ini",
            "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=A[B]<<C>>\r\nTitle2=D[E]<<F>>\r\n");
  ClickReadIni();
  ASSERT_EQ(EntriesIn(form_.watch()), 2);
  sim::FailNextProfileCall();
  ClickReadIni();  // the count read fails: no exception escapes the click
  ASSERT_EQ(sim::MessageBoxes().size(), 1u);
  EXPECT_EQ(sim::MessageBoxes()[0].caption, "ERROR!");
  // Loading stopped where it failed: the table had been emptied.
  EXPECT_EQ(EntriesIn(form_.watch()), 0);
  ClickReadIni();
  EXPECT_EQ(EntriesIn(form_.watch()), 2);
}

}  // namespace
}  // namespace pallix

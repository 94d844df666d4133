// "Read ini" through the main window's button, on files in the program's
// folder.
#include <string>
#include <vector>

#include "app/form1.h"
#include "tests/unit/support.h"

namespace pallix {
namespace {

using test::BoxAnswerer;
using test::SeenBox;

const std::string kOneEntry = test::WatchFile({"A[B]<<C>>"});

class ReadIni : public test::FolderTest {
 protected:
  void SetUp() override {
    FolderTest::SetUp();
    form_.Create();
    Choose("watch.ini");
  }
  void Choose(const char* name) { SetCaption(form_.controls().Combo1, name); }
  // Presses "Read ini"; the boxes it showed, answered.
  std::vector<SeenBox> Click() {
    BoxAnswerer boxes;
    ::SendMessageA(form_.controls().Command5, BM_CLICK, 0, 0);
    return boxes.Seen();
  }
  std::vector<SeenBox> Load(const std::string& bytes) {
    test::WriteFile("watch.ini", bytes);
    return Click();
  }
  int Entries() const {
    int n = 0;
    const WatchTable& t = form_.watch();
    for (int i = 0; i <= t.Count(); ++i)
      n += !t.watch_title[i].empty() || !t.watch_class[i].empty();
    return n;
  }
  std::vector<std::string> List2() const { return test::Rows(form_.controls().List2); }
  std::string Text3() const { return GetCaption(form_.controls().Text3); }

  Form1 form_;
};

TEST_F(ReadIni, NoEntriesEmptiesTheTableAndACountOfZeroSaysSo) {
  ASSERT_TRUE(::CreateDirectoryA(test::FolderPath("folder.ini").c_str(), nullptr));
  // The chosen name, the file's bytes (none: no such file), what Text3 shows;
  // "0" is also what the user is told, in the box the start journeys read.
  // (A missing section or key reads as missing: the IniFiles tests.)
  const char* const cases[][3] = {
      {"missing.ini", nullptr, "0"},
      {"folder.ini", nullptr, "0"},
      {"", nullptr, "0"},
      {"empty.ini", "", "0"},
      {"zero.ini", "[WindowTitles]\r\nNum_Windows=0\r\nTitle1=A[B]<<C>>\r\n", "0"},
      {"blank.ini", "[WindowTitles]\r\nNum_Windows=\r\nTitle1=A[B]<<C>>\r\n", ""},
      {"minus.ini", "[WindowTitles]\r\nNum_Windows=-5\r\nTitle1=A[B]<<C>>\r\n", "-5"}};
  for (const auto& [name, bytes, count] : cases) {
    Choose("watch.ini");
    ASSERT_TRUE(Load(kOneEntry).empty());
    ASSERT_EQ(Entries(), 1);
    if (bytes) test::WriteFile(name, bytes);
    Choose(name);
    std::vector<SeenBox> boxes = Click();
    EXPECT_EQ(Entries(), 0) << name;
    EXPECT_TRUE(List2().empty()) << name;
    EXPECT_EQ(Text3(), count) << name;
    EXPECT_EQ(boxes.size(), std::string(count) == "0" ? 1u : 0u) << name;
    for (const SeenBox& box : boxes) EXPECT_EQ(box.text, kNoWindowsMessage) << name;
  }
}

TEST_F(ReadIni, EntriesOneToTheCountFillTheirSlotsAndTheListAndEachLoadReplacesAll) {
  // Messages and programs: kept whole (brackets and markers are plain text
  // in their own value); blanks alone are none; beside a malformed or
  // missing entry, nothing.
  EXPECT_TRUE(Load("[WindowTitles]\r\nNum_Windows=6x\r\nTitle0=Zero[z]<<Z>>\r\n"
                   "Title1=Save changes[&Yes]<<#32770>>\r\nTitle2=A [ B ] << C >>\r\n"
                   "Title3=T[B]\r\nTitle4=X<<C>>\r\nTitle6=Last[OK]<<#32770>>\r\n"
                   "Title7=Not[loaded]<<X>>\r\nMessage1=Save [x]<<y>> a=b\r\n"
                   "Message2=   \r\nMessage3=m\r\nMessage4=m\r\nMessage5=m\r\n"
                   "Program1= Rhino.EXE \r\nProgram2=  \r\nProgram3=p.exe\r\n")
                  .empty());
  EXPECT_EQ(Text3(), "6x");
  // A line the monitor cannot use is shown as written.
  EXPECT_EQ(List2(), (std::vector<std::string>{"Save changes|Rhino.EXE|Save [x]<<y>> a=b|&Yes|0|",
                                               "A |||B|0|", "T[B]|||(not understood)|0|",
                                               "X<<C>>|||(not understood)|0|",
                                               "|||(not understood)|0|", "Last|||OK|0|"}));
  const WatchTable& t = form_.watch();
  EXPECT_EQ(t.watch_title[1], "Save changes");
  EXPECT_EQ(t.watch_button[1], "&Yes");
  EXPECT_EQ(t.watch_message[1], "Save [x]<<y>> a=b");
  EXPECT_EQ(t.watch_program[1], "Rhino.EXE");
  for (int i = 2; i <= 6; ++i) {
    EXPECT_EQ(t.watch_message[i], "") << i;
    EXPECT_EQ(t.watch_program[i], "") << i;
  }
  EXPECT_EQ(t.watch_class[6], "#32770");
  EXPECT_EQ(Entries(), 5);  // slot 5 had no key; slots 0 and 7 are never read

  ASSERT_TRUE(Load(kOneEntry).empty());
  EXPECT_EQ(List2(), std::vector<std::string>{"A|||B|0|"});
  EXPECT_EQ(Entries(), 1);
}

TEST_F(ReadIni, EntriesPastTheLimitAreNotLoadedAndTheUserIsTold) {
  std::vector<std::string> entries;
  for (int i = 1; i <= kWatchLimit + 2; ++i)
    entries.push_back(std::to_string(i) + "[OK]<<#32770>>");
  std::vector<SeenBox> boxes = Load(test::WatchFile(entries));
  EXPECT_EQ(Entries(), kWatchLimit);
  ASSERT_EQ(List2().size(), 1000u);
  EXPECT_EQ(List2().back(), "1000|||OK|0|");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Pallix");
  EXPECT_NE(boxes[0].text.find("1001 to 1002 are not watched"), std::string::npos);
}

}  // namespace
}  // namespace pallix

// The entries in view with their answers, Remove, and hand edits, through
// the main window's own handlers on files in the program's folder.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/form1.h"
#include "config/config_path.h"
#include "config/file_stamp.h"
#include "tests/unit/support.h"
#include "watch/add.h"
#include "watch/remove.h"

namespace pallix {
namespace {

using test::BoxAnswerer;
using test::TestDialog;
using Lines = std::vector<std::string>;

const std::string kThree =
    "[Other]\r\nKeep=1\r\n[WindowTitles]\r\nNum_Windows=3\r\nTitle1=A[OK]<<#32770>>\r\n"
    "Message1=first\r\nTitle2=B[OK]<<#32770>>\r\nTitle3=C[OK]<<#32770>>\r\nMessage3=third\r\n"
    "Extra=x\r\n";

const std::string kThreeLeft(const char* count, const char* entries) {
  return std::string("[Other]\r\nKeep=1\r\n[WindowTitles]\r\nNum_Windows=") + count + "\r\n" +
         entries + "Extra=x\r\n";
}

TEST(RemoveEntry, TheEntriesAfterMoveUpWithTheirKeysAndEveryOtherByteStays) {
  const std::string long_value(300, 'v');
  // LF ends, a last line without one, comments, blank lines, names in
  // other cases and blanks round them, values as no profile write would
  // leave them, and a second section of the same name (never read).
  const std::string lf =
      "; my list\n[windowtitles]\nnum_windows = 4 ; four\n\n"
      "program1=rhino.exe\nTitle1=A[OK]<<#32770>>\n; B is for backups\n"
      "  TITLE2  = \"  B  \"[OK]<<#32770>>  \nMessage2= " +
      long_value +
      "\n"
      "Program3=cad.exe\nTitle3=\tC[OK]<<#32770>>\n[Other]\nTitle3=not ours\n"
      "[WindowTitles]\nTitle4=hidden\n";
  const std::string lf_tail = "[Other]\nTitle3=not ours\n[WindowTitles]\nTitle4=hidden\n";
  struct Case {
    std::string text;
    int n;
    std::string want;
  };
  const Case cases[] = {
      {kThree, 1,
       kThreeLeft("2", "Title1=B[OK]<<#32770>>\r\nTitle2=C[OK]<<#32770>>\r\nMessage2=third\r\n")},
      {kThree, 2,
       kThreeLeft("2",
                  "Title1=A[OK]<<#32770>>\r\nMessage1=first\r\nTitle2=C[OK]<<#32770>>\r\n"
                  "Message2=third\r\n")},
      {kThree, 3,
       kThreeLeft("2", "Title1=A[OK]<<#32770>>\r\nMessage1=first\r\nTitle2=B[OK]<<#32770>>\r\n")},
      {"[WindowTitles]\r\nNum_Windows=1\r\nProgram1=a.exe\r\nTitle1=A[OK]<<#32770>>", 1,
       "[WindowTitles]\r\nNum_Windows=0\r\n"},
      {lf, 1,
       "; my list\n[windowtitles]\nnum_windows = 3 ; four\n\n; B is for backups\n"
       "  TITLE1  = \"  B  \"[OK]<<#32770>>  \nMessage1= " +
           long_value +
           "\n"
           "Program2=cad.exe\nTitle2=\tC[OK]<<#32770>>\n" +
           lf_tail},
      {lf, 3,
       "; my list\n[windowtitles]\nnum_windows = 3 ; four\n\nprogram1=rhino.exe\n"
       "Title1=A[OK]<<#32770>>\n; B is for backups\n  TITLE2  = \"  B  \"[OK]<<#32770>>  \n"
       "Message2= " +
           long_value + "\n" + lf_tail},
      // A key of a number past the count is no entry of it, and stays.
      {"[WindowTitles]\nNum_Windows = "
       "\"2\"\nTitle1=A\nTitle2=B\nTitle3=C\nTitle2=again\nTitle02=x\n"
       "Num_Windows=9",
       1,
       "[WindowTitles]\nNum_Windows = \"1\"\nTitle1=B\nTitle3=C\nTitle1=again\nTitle02=x\n"
       "Num_Windows=9"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text + " without " + std::to_string(k.n));
    EXPECT_EQ(TextWithoutEntry(k.text, k.n), k.want);
  }

  // As the profile functions read both: the keys of each later number are
  // the old ones of the number after it, and the old last number's are gone.
  auto read = [](const std::string& key) {
    char value[512];
    ::GetPrivateProfileStringA("WindowTitles", key.c_str(), "(none)", value, sizeof value,
                               test::FolderPath("w.ini").c_str());
    return std::string(value);
  };
  for (int n : {1, 2}) {
    test::WriteFile("w.ini", lf);
    std::vector<std::string> before;
    for (int k = 1; k <= 4; ++k) {
      for (const char* key : {"Title", "Message", "Program"}) {
        before.push_back(read(key + std::to_string(k)));
      }
    }
    test::WriteFile("w.ini", *TextWithoutEntry(lf, n));
    EXPECT_EQ(read("Num_Windows"), "3 ; four");
    for (int k = 1; k <= 4; ++k) {
      for (int key = 0; key < 3; ++key) {
        const char* name = std::array{"Title", "Message", "Program"}[key];
        SCOPED_TRACE(name + std::to_string(k));
        std::string want = k < n   ? before[(k - 1) * 3 + key]
                           : k < 4 ? before[k * 3 + key]
                                   : std::string("(none)");
        EXPECT_EQ(read(name + std::to_string(k)), want);
      }
    }
  }
}

TEST(RemoveEntry, RefusesWithoutAUsableCountOrAnEntryOfIt) {
  const std::string entries = "Title1=A\r\nTitle2=B\r\n";
  const std::pair<std::string, int> refused[] = {
      {"[WindowTitles]\r\n" + entries, 1},
      {"[WindowTitles]\r\nNum_Windows=x\r\n" + entries, 1},
      {"[WindowTitles]\r\nNum_Windows\r\n" + entries, 1},
      {"[WindowTitles]\r\nNum_Windows=0\r\n" + entries, 1},
      {"[WindowTitles]\r\nNum_Windows=-2\r\n" + entries, 1},
      {"[WindowTitles]\r\nNum_Windows=2\r\n" + entries, 0},
      {"[WindowTitles]\r\nNum_Windows=2\r\n" + entries, 3},
      {"[WindowTitles]\r\nNum_Windows=1001\r\n" + entries, 1},
      {"[Other]\r\nNum_Windows=2\r\n" + entries, 1},
  };
  for (const auto& [text, n] : refused) {
    EXPECT_EQ(TextWithoutEntry(text, n), std::nullopt) << text << n;
  }
  const std::string thousand = "[WindowTitles]\r\nNum_Windows=1000\r\nTitle1000=Z\r\n";
  EXPECT_EQ(TextWithoutEntry(thousand, 1000), "[WindowTitles]\r\nNum_Windows=999\r\n");
}

TEST(RemoveEntry, AnEntrysValuesAreItsKeysAsWrittenAndAbsentOnesCount) {
  const std::string text =
      "[Other]\r\nTitle2=elsewhere\r\n[WindowTitles]\r\nTitle1=A\r\n title2 = B[OK]<<x>> \r\n"
      "Title2=second\r\nMessage2\r\nPROGRAM2=\r\n";
  EXPECT_EQ(EntryValuesOf(text, 2), (EntryValues{" B[OK]<<x>> ", std::string(), std::string()}));
  EXPECT_EQ(EntryValuesOf(text, 1), (EntryValues{"A", std::nullopt, std::nullopt}));
  EXPECT_EQ(EntryValuesOf(text, 3), EntryValues{});
}

class Entries : public test::FolderTest {
 protected:
  void Start(const std::string& bytes) {
    test::WriteFile("w.ini", bytes);
    BoxAnswerer boxes;
    form_.Create();
    form_.Start();
  }
  const Form1Controls& c() const { return form_.controls(); }
  void Press(HWND button) { ::SendMessageA(button, BM_CLICK, 0, 0); }
  void Tick() { form_.OnTimer(kMonitorTimerId); }
  void CheckFile() { form_.OnTimer(kFileTimerId); }
  Lines Rows() const { return test::Rows(c().List2); }
  // Selects the row and presses "Remove"; the boxes it showed, answered.
  std::vector<test::SeenBox> Remove(int row, const char* answer) {
    TableSelect(c().List2, row);
    BoxAnswerer boxes({answer});
    Press(c().Command6);
    return boxes.Seen();
  }
  void ExpectSaid(const char* message, COLORREF colour) {
    EXPECT_EQ(GetCaption(c().Label3), message);
    EXPECT_EQ(GetForeColor(c().Label3), colour);
  }
  // Answers one dialog of this title with its only button, OK.
  void Answer(const char* title) {
    TestDialog dialog(title, {"OK"});
    dialog.CloseOnClick(true);
    Tick();
    EXPECT_EQ(dialog.clicks(), std::vector<int>{100}) << title;
  }

  Form1 form_;
};

TEST_F(Entries, RemoveAsksThenTakesTheRowAndItsCountsStayWithTheOthers) {
  Start(kThree);
  EXPECT_EQ(Rows(), (Lines{"A||first|OK|0|", "B|||OK|0|", "C||third|OK|0|"}));
  Press(c().Command2);
  TableSelect(c().List2, 1);
  EXPECT_FALSE(::IsWindowEnabled(c().Command6));  // as Add, while monitoring is on
  TestDialog third("C", {"OK"});
  third.Say("the third");
  Tick();
  Press(c().Command2);
  EXPECT_TRUE(::IsWindowEnabled(c().Command6));
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  const std::string last = Rows()[2].substr(Rows()[2].rfind('|') + 1);
  EXPECT_EQ(Rows()[2], "C||third|OK|1|" + last);
  EXPECT_EQ(last, LastAnswerText(form_.answers().begin()->second.last, now));

  std::vector<test::SeenBox> boxes = Remove(1, "&No");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Pallix");
  EXPECT_EQ(boxes[0].text, "Remove the entry for \"B\"?");
  EXPECT_EQ(boxes[0].buttons, (Lines{"&Yes", "&No"}));
  EXPECT_EQ(Rows().size(), 3u);
  Remove(1, "&Yes");
  EXPECT_EQ(Rows(), (Lines{"A||first|OK|0|", "C||third|OK|1|" + last}));
  ExpectSaid(kRemovedMessage, kAddedColour);
  EXPECT_FALSE(::IsWindowEnabled(c().Command6));  // nothing selected after the reload

  // A write Windows refuses loses nothing, and says so.
  const std::string two = test::ReadFile("w.ini");
  HANDLE held = test::HoldForReading("w.ini");
  Remove(0, "&Yes");
  ::CloseHandle(held);
  ExpectSaid(kRemoveFailedMessage, kRefusedColour);
  EXPECT_EQ(test::ReadFile("w.ini"), two);
  EXPECT_EQ(Rows().size(), 2u);
  EXPECT_FALSE(test::FileExists("w.ini.new"));
}

TEST_F(Entries, AHandEditCountsAtOnceWhileMonitoringIsOnOnceItsWriteIsOver) {
  Start(test::WatchFile({"A[OK]<<#32770>>"}));
  Press(c().Command2);
  Answer("A");
  auto boxes = std::make_unique<BoxAnswerer>();  // none expected
  // An editor's save, caught halfway.
  HANDLE writing = ::CreateFileA(test::FolderPath("w.ini").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                 nullptr, CREATE_ALWAYS, 0, nullptr);
  const std::string two = test::WatchFile({"A[OK]<<#32770>>", "Some box[OK]<<#32770>>"});
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(writing, two.data(), static_cast<DWORD>(two.size()), &written, nullptr));
  CheckFile();
  EXPECT_EQ(Rows().size(), 1u);
  ::CloseHandle(writing);
  CheckFile();
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0].substr(0, 9), "A|||OK|1|");
  EXPECT_EQ(Rows()[1], "Some box|||OK|0|");
  EXPECT_TRUE(boxes->Seen().empty());
  boxes.reset();
  Answer("Some box");
}

TEST_F(Entries, EntriesOfOneTitleAreCountedApartByMessageAndProgram) {
  Start(
      "[WindowTitles]\r\nNum_Windows=3\r\nTitle1=G[OK]<<#32770>>\r\nMessage1=first\r\n"
      "Title2=G[OK]<<#32770>>\r\nMessage2=second\r\nTitle3=G[OK]<<#32770>>\r\n"
      "Message3=first\r\nProgram3=other.exe\r\n");
  Press(c().Command2);
  for (const char* says : {"second", "first"}) {
    TestDialog dialog("G", {"OK"});
    dialog.Say(says);
    dialog.CloseOnClick(true);
    Tick();
    EXPECT_EQ(dialog.clicks(), std::vector<int>{100}) << says;
  }
  form_.OnTimer(kCountsTimerId);
  Lines counts;
  for (const std::string& row : Rows()) counts.push_back(row.substr(0, row.rfind('|')));
  EXPECT_EQ(counts, (Lines{"G||first|OK|1", "G||second|OK|1", "G|other.exe|first|OK|0"}));
}

TEST_F(Entries, RemoveChecksTheEntryInTheFileAsItStandsAfterYesAndEditsThatText) {
  const std::string alpha_beta = test::WatchFile({"Alpha[OK]<<#32770>>", "Beta[OK]<<#32770>>"});
  Start(alpha_beta);
  struct Case {
    std::string saved_meanwhile;  // by another program, while the box is open
    const char* said;
    std::string left;
  };
  const std::string beta_alpha = test::WatchFile({"Beta[OK]<<#32770>>", "Alpha[OK]<<#32770>>"});
  const Case cases[] = {
      {beta_alpha, kRemoveChangedMessage, beta_alpha},
      // Entry 1 is still the one asked about: the other program's entry
      // stays.
      {test::WatchFile({"Alpha[OK]<<#32770>>", "Beta[OK]<<#32770>>", "Gamma[OK]<<#32770>>"}),
       kRemovedMessage, test::WatchFile({"Beta[OK]<<#32770>>", "Gamma[OK]<<#32770>>"})},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.said);
    test::WriteFile("w.ini", alpha_beta);
    form_.OnCommand(kIdCommand5);
    ASSERT_EQ(Rows(), (Lines{"Alpha|||OK|0|", "Beta|||OK|0|"}));
    TableSelect(c().List2, 0);
    {
      BoxAnswerer boxes({"&Yes"}, [&] { test::WriteFile("w.ini", k.saved_meanwhile); });
      Press(c().Command6);
      ASSERT_EQ(boxes.Seen().size(), 1u);
      EXPECT_EQ(boxes.Seen()[0].text, "Remove the entry for \"Alpha\"?");
    }
    ExpectSaid(k.said, k.said == kRemovedMessage ? kAddedColour : kRefusedColour);
    EXPECT_EQ(test::ReadFile("w.ini"), k.left);
    EXPECT_FALSE(test::FileExists("w.ini.new"));
  }
}

TEST_F(Entries, AfterRemoveTheTableIsWhatReadingTheFileAgainGives) {
  // Messages, programs, a line that is no entry and one that is missing,
  // all moving up past the removed entry.
  Start(
      "[WindowTitles]\r\nNum_Windows=5 entries\r\nTitle1=A[OK]<<#32770>>\r\n"
      "Program1=a.exe\r\nTitle2=B[OK]<<#32770>>\r\nMessage2=b\r\nTitle3=not an entry\r\n"
      "Message3=m\r\nTitle5=E[&No]<<#32770>>\r\nMessage5=\"  e  \"\r\nProgram5=E.exe\r\n");
  auto table = [this] {
    const WatchTable& t = form_.watch();
    return std::tuple(t.watch_title, t.watch_button, t.watch_class, t.watch_message,
                      t.watch_program, t.understood, t.stored, Rows(), GetCaption(c().Text3));
  };
  Remove(1, "&Yes");
  ExpectSaid(kRemovedMessage, kAddedColour);
  const auto removed = table();
  ASSERT_EQ(std::get<7>(removed).size(), 4u);
  EXPECT_EQ(std::get<8>(removed), "4 entries");
  BoxAnswerer boxes;
  Press(c().Command5);
  EXPECT_EQ(table(), removed);
  // Nothing left for the file check to load.
  EXPECT_EQ(form_.watch().loaded_bytes, test::ReadFile("w.ini"));
}

TEST_F(Entries, DelWhileMonitoringIsOnRemovesNothingAndSaysSo) {
  Start(kThree);
  Press(c().Command2);
  TableSelect(c().List2, 1);
  BoxAnswerer boxes;  // none expected
  form_.OnTableKey(kIdList2, VK_DELETE);
  ExpectSaid(kRemoveWhileMonitoringMessage, kRefusedColour);
  EXPECT_EQ(test::ReadFile("w.ini"), kThree);
  EXPECT_EQ(Rows().size(), 3u);
  EXPECT_TRUE(boxes.Seen().empty());
  Press(c().Command2);
}

TEST_F(Entries, AddAfterEveryEntryWasRemovedWritesTheFirstAgain) {
  Start(test::WatchFile({"A[OK]<<#32770>>", "B[OK]<<#32770>>"}));
  Remove(1, "&Yes");
  Remove(0, "&Yes");
  EXPECT_EQ(test::ReadFile("w.ini"), "[WindowTitles]\r\nNum_Windows=0\r\n");
  EXPECT_TRUE(Rows().empty());
  // As Remove left a file before: the keys of the last numbers emptied.
  const std::string emptied =
      "[WindowTitles]\r\nNum_Windows=0\r\nTitle1=\r\nMessage1=\r\nTitle2=\r\n";
  for (const std::string& file : {test::ReadFile("w.ini"), emptied}) {
    SCOPED_TRACE(file);
    test::WriteFile("w.ini", file);
    SetCaption(c().Text1, "C");
    WatchTable table;
    Command3_Click(AddControls{c().Combo1, c().Text1, c().Text6, c().cmd1, c().Op1, c().Label3},
                   PickedWindow{"#32770", false}, table, ReadIniControls{c().Combo1, c().Text3});
    ExpectSaid(kAddedMessage, kAddedColour);
    const std::string added = test::ReadFile("w.ini");
    EXPECT_NE(added.find("Title1=C[DEFAULT]<<#32770>>\r\n"), std::string::npos) << added;
    EXPECT_NE(added.find("Num_Windows=1\r\n"), std::string::npos) << added;
    EXPECT_EQ(table.Count(), 1);
  }
}

TEST_F(Entries, AHandEditOfTheSameSizeAndWriteTimeIsLoaded) {
  Start(test::WatchFile({"A[OK]<<#32770>>"}));
  const std::string path = test::FolderPath("w.ini");
  // Idle, nothing is read: Windows tells of a change in the folder.
  FolderWatch folder;
  folder.WatchFolderOf(path);
  EXPECT_TRUE(folder.Changed());  // the first look
  ::Sleep(100);
  EXPECT_FALSE(folder.Changed());
  EXPECT_FALSE(folder.Changed());
  CheckFile();

  // The new bytes written over the old, or put in their place by a file
  // beside them, each with the old write time set back.
  auto in_place = [&](const std::string& bytes, const FILETIME& time) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::SetFileTime(file, nullptr, nullptr, &time);
    ::CloseHandle(file);
  };
  auto beside = [&](const std::string& bytes, const FILETIME& time) {
    test::WriteFile("w.ini.part", bytes);
    HANDLE file = ::CreateFileA(test::FolderPath("w.ini.part").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ::SetFileTime(file, nullptr, nullptr, &time);
    ::CloseHandle(file);
    ::MoveFileExA(test::FolderPath("w.ini.part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  };
  struct Case {
    std::function<void(const std::string&, const FILETIME&)> save;
    const char* entry;
    const char* row;
  };
  const Case cases[] = {{in_place, "A[No]<<#32770>>", "A|||No|0|"},
                        {beside, "B[No]<<#32770>>", "B|||No|0|"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.row);
    const FileStamp before = StampOf(path);
    FILETIME time{static_cast<DWORD>(before.write_time),
                  static_cast<DWORD>(before.write_time >> 32)};
    k.save(test::WatchFile({k.entry}), time);
    ASSERT_EQ(StampOf(path), before);
    // The file timer's checks, for as long as Windows may take to tell.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Rows() != Lines{k.row} && std::chrono::steady_clock::now() < deadline) {
      ::Sleep(20);
      CheckFile();
    }
    EXPECT_EQ(Rows(), Lines{k.row});
  }
}

TEST_F(Entries, TwoHundredEntriesAreAllAnsweredAndShownWithTheirCounts) {
  Lines entries;
  for (int i = 1; i <= 200; ++i) entries.push_back("Box " + std::to_string(i) + "[OK]<<#32770>>");
  Start(test::WatchFile({entries[0]}));
  test::WriteFile("w.ini", test::WatchFile(entries));
  CheckFile();
  // Beside the vertical scroll bar that so many rows bring, the columns
  // still fill the list, and it has no horizontal one.
  RECT room{};
  ::GetClientRect(c().List2, &room);
  int widths = 0;
  for (int i = 0; i < Header_GetItemCount(ListView_GetHeader(c().List2)); ++i)
    widths += ListView_GetColumnWidth(c().List2, i);
  EXPECT_EQ(widths, room.right);
  EXPECT_EQ(::GetWindowLongA(c().List2, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL);
  Press(c().Command2);
  for (const char* title : {"Box 21", "Box 25", "Box 200"}) Answer(title);
  ASSERT_EQ(Rows().size(), 200u);
  // The first answer shows at once, the others by the second's end.
  EXPECT_EQ(Rows()[20].substr(0, 13), "Box 21|||OK|1");
  form_.OnTimer(kCountsTimerId);
  EXPECT_EQ(Rows()[24].substr(0, 13), "Box 25|||OK|1");
  EXPECT_EQ(form_.OnTableTip(kIdList2, 199), "Box 200\r\nOK");
  SYSTEMTIME yesterday{2026, 12, 0, 6, 23, 59, 59, 0}, today{2026, 12, 1, 7, 0, 0, 1, 0};
  EXPECT_EQ(LastAnswerText(yesterday, today), "2026-12-06");
  EXPECT_EQ(LastAnswerText(today, today), "00:00:01");
}

}  // namespace
}  // namespace pallix

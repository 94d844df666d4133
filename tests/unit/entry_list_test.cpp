// The entries in view with their answers, Remove, and hand edits, through
// the main window's own handlers on files in the program's folder.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "config/config_path.h"
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

// The count, then "title|message" of keys 1 to the old count, as the file
// gives them back; "-" for a key that is not there.
Lines Stored(int keys) {
  auto read = [](const std::string& key) {
    char value[256];
    ::GetPrivateProfileStringA("WindowTitles", key.c_str(), "-", value, sizeof value,
                               test::FolderPath("w.ini").c_str());
    return std::string(value);
  };
  Lines stored{read("Num_Windows")};
  for (int i = 1; i <= keys; ++i) {
    stored.push_back(read("Title" + std::to_string(i)) + "|" + read("Message" + std::to_string(i)));
  }
  return stored;
}

TEST(RemoveEntry, TheEntriesAfterMoveUpWithTheirMessagesAndNothingElseChanges) {
  struct Case {
    const std::string& file;
    int n;
    Lines want;
  };
  const std::string only = "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=A[OK]<<#32770>>\r\n";
  const Case cases[] = {
      {kThree, 1, {"2", "B[OK]<<#32770>>|", "C[OK]<<#32770>>|third", "|"}},
      {kThree, 2, {"2", "A[OK]<<#32770>>|first", "C[OK]<<#32770>>|third", "|"}},
      {kThree, 3, {"2", "A[OK]<<#32770>>|first", "B[OK]<<#32770>>|-", "|"}},
      {only, 1, {"0", "|-"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.n);
    test::WriteFile("w.ini", k.file);
    ASSERT_TRUE(RemoveEntry(test::FolderPath("w.ini"), k.n));
    EXPECT_EQ(Stored(static_cast<int>(k.want.size()) - 1), k.want);
    std::string after = test::ReadFile("w.ini");
    if (&k.file == &kThree) {
      EXPECT_NE(after.find("[Other]\r\nKeep=1\r\n"), std::string::npos) << after;
      EXPECT_NE(after.find("Extra=x\r\n"), std::string::npos) << after;
    }
    EXPECT_FALSE(test::FileExists("w.ini.new"));
  }
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
  EXPECT_EQ(Rows(), (Lines{"A|first|OK|0|", "B||OK|0|", "C|third|OK|0|"}));
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
  EXPECT_EQ(Rows()[2], "C|third|OK|1|" + last);
  EXPECT_EQ(last, LastAnswerText(form_.answers().begin()->second.last, now));

  std::vector<test::SeenBox> boxes = Remove(1, "&No");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Pallix");
  EXPECT_EQ(boxes[0].text, "Remove the entry for \"B\"?");
  EXPECT_EQ(boxes[0].buttons, (Lines{"&Yes", "&No"}));
  EXPECT_EQ(Rows().size(), 3u);
  Remove(1, "&Yes");
  EXPECT_EQ(Rows(), (Lines{"A|first|OK|0|", "C|third|OK|1|" + last}));
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
  EXPECT_EQ(Rows()[0].substr(0, 8), "A||OK|1|");
  EXPECT_EQ(Rows()[1], "Some box||OK|0|");
  EXPECT_TRUE(boxes->Seen().empty());
  boxes.reset();
  Answer("Some box");
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
  EXPECT_EQ(Rows()[20].substr(0, 12), "Box 21||OK|1");
  form_.OnTimer(kCountsTimerId);
  EXPECT_EQ(Rows()[24].substr(0, 12), "Box 25||OK|1");
  EXPECT_EQ(form_.OnTableTip(kIdList2, 199), "Box 200\r\nOK");
  SYSTEMTIME yesterday{2026, 12, 0, 6, 23, 59, 59, 0}, today{2026, 12, 1, 7, 0, 0, 1, 0};
  EXPECT_EQ(LastAnswerText(yesterday, today), "2026-12-06");
  EXPECT_EQ(LastAnswerText(today, today), "00:00:01");
}

}  // namespace
}  // namespace pallix

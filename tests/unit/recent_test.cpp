// The dialogs Pallix has seen: the record itself, the noticing of other
// threads' dialogs (never Pallix's own), the window that shows them, and a
// teach from a record whose dialog is gone, through Add and its checks.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "app/form1.h"
#include "app/recent_window.h"
#include "picker/picker.h"
#include "tests/unit/support.h"
#include "watch/add.h"
#include "watch/dialog_buttons.h"
#include "watch/recent_dialogs.h"

namespace pallix {
namespace {

using test::ReadFile;
using test::WriteFile;
using Lines = std::vector<std::string>;

HWND Window(std::uintptr_t n) {
  return reinterpret_cast<HWND>(n);
}

SYSTEMTIME At(int minute) {
  return SYSTEMTIME{2026, 12, 2, 8, static_cast<WORD>(minute / 60), static_cast<WORD>(minute % 60),
                    0,    0};
}

SeenDialog Seen(std::string title, std::string message = "", std::string program = "cad.exe",
                std::string window_class = "#32770") {
  return {program, title, window_class, message, false, false, {{"&Yes"}, {"&No"}}};
}

TEST(RecentRecord, TheSameDialogSeenAgainIsOneRecordCountedAndNewest) {
  RecentDialogs recent;
  const std::uint64_t save = recent.Note(Window(1), Seen("Save", "Save it?"), At(1)).id;
  recent.Note(Window(2), Seen("Other"), At(2));
  // The program named in other letters, the class too: the same dialog.
  const DialogRecord& again =
      recent.Note(Window(3), Seen("Save", "Save it?", "CAD.EXE", "#32770"), At(3));
  EXPECT_EQ(again.id, save);
  EXPECT_EQ(again.seen, 2);
  EXPECT_EQ(again.first.wMinute, 1);
  EXPECT_EQ(again.last.wMinute, 3);
  EXPECT_EQ(recent.records().front().dialog.title, "Other");
  // Another message, program or class is another dialog.
  recent.Note(Window(4), Seen("Save", "Save that?"), At(4));
  recent.Note(Window(5), Seen("Save", "Save it?", "draw.exe"), At(5));
  recent.Note(Window(6), Seen("Save", "Save it?", "cad.exe", "Dlg"), At(6));
  recent.Note(Window(7), Seen("Save", "Save it?", ""), At(7));
  EXPECT_EQ(recent.records().size(), 6u);
  EXPECT_EQ(recent.Find(save)->seen, 2);

  // An answer finds its record by either window it showed in.
  EXPECT_TRUE(recent.Answered(Window(1), "&No"));
  EXPECT_EQ(recent.Find(save)->answered, "&No");
  EXPECT_TRUE(recent.Answered(Window(3), "&Yes"));
  EXPECT_EQ(recent.Find(save)->answered, "&Yes");
  EXPECT_FALSE(recent.Answered(Window(99), "&Yes"));

  // Known again by its program, title, class and message alone: counted,
  // the newest, its buttons as last read.
  SeenDialog key = Seen("Save", "Save it?", "CAD.exe");
  key.buttons.clear();
  EXPECT_TRUE(recent.NoteAgain(Window(8), key, At(8)));
  EXPECT_EQ(recent.records().back().id, save);
  EXPECT_EQ(recent.Find(save)->seen, 3);
  EXPECT_EQ(recent.Find(save)->dialog.buttons.size(), 2u);
  EXPECT_TRUE(recent.Answered(Window(8), "&No"));
  EXPECT_FALSE(recent.NoteAgain(Window(9), Seen("Save", "Save all?"), At(9)));
  EXPECT_EQ(recent.records().size(), 6u);
}

TEST(RecentRecord, TheLastHundredAreKeptAndTheOldestGoes) {
  RecentDialogs recent;
  for (int i = 0; i < 105; ++i) {
    char title[16];
    std::snprintf(title, sizeof title, "T%d", i);
    recent.Note(Window(i + 1), Seen(title), At(i));
  }
  ASSERT_EQ(recent.records().size(), RecentDialogs::kKept);
  EXPECT_EQ(recent.records().front().dialog.title, "T5");
  EXPECT_EQ(recent.records().back().dialog.title, "T104");
  // The windows of records gone tell no answer.
  EXPECT_FALSE(recent.Answered(Window(5), "&Yes"));
  EXPECT_TRUE(recent.Answered(Window(6), "&Yes"));
  // The oldest seen again is the newest, and nothing goes.
  recent.Note(Window(200), Seen("T5"), At(200));
  EXPECT_EQ(recent.records().size(), RecentDialogs::kKept);
  EXPECT_EQ(recent.records().front().dialog.title, "T6");
  EXPECT_EQ(recent.records().back().dialog.title, "T5");
  EXPECT_EQ(recent.records().back().seen, 2);
  // One dialog shown in window after window is one record, and only its
  // latest windows are kept to tell an answer by.
  for (int i = 0; i < 1000; ++i) recent.Note(Window(1000 + i), Seen("T5"), At(300));
  EXPECT_EQ(recent.records().back().seen, 1002);
  EXPECT_FALSE(recent.Answered(Window(1000), "&Yes"));
  EXPECT_TRUE(recent.Answered(Window(1999), "&Yes"));
}

TEST(RecentRecord, ATeachOffersThreeButtonsTheDefaultFirstOfMore) {
  auto offered = [](std::vector<SeenButton> buttons) {
    SeenDialog d;
    d.buttons = std::move(buttons);
    return OfferedButtons(d);
  };
  using Indexes = std::vector<std::size_t>;
  EXPECT_EQ(offered({{"A"}, {"B"}}), (Indexes{0, 1}));
  // Three or fewer are offered as a drop offers them, whichever is default.
  EXPECT_EQ(offered({{"A"}, {"B"}, {"C", false, false, true}}), (Indexes{0, 1, 2}));
  EXPECT_EQ(offered({{"A"}, {"B"}, {"C"}, {"D", false, false, true}, {"E"}}), (Indexes{3, 0, 1}));
  EXPECT_EQ(offered({{"A", false, false, true}, {"B"}, {"C"}, {"D"}}), (Indexes{0, 1, 2}));
  EXPECT_EQ(offered({{"A"}, {"B"}, {"C"}, {"D"}}), (Indexes{0, 1, 2}));
}

// A dialog of another thread, as another program's is to Pallix: made
// hidden with its lines and buttons, then shown; it goes with the object.
class OtherDialog {
 public:
  OtherDialog(const std::string& title, const Lines& lines, const Lines& buttons,
              int default_button = -1, HWND owner = nullptr) {
    std::promise<HWND> made;
    std::future<HWND> hwnd = made.get_future();
    thread_ = std::thread([&] {
      HWND w = ::CreateWindowExA(0, "#32770", title.c_str(), WS_POPUP | WS_CAPTION, 100, 100, 420,
                                 160, owner, nullptr, nullptr, nullptr);
      int y = 5;
      for (const std::string& line : lines) {
        ::CreateWindowExA(0, "Static", line.c_str(), WS_CHILD | WS_VISIBLE, 10, y, 390, 20, w,
                          nullptr, nullptr, nullptr);
        y += 22;
      }
      int x = 10;
      for (std::size_t i = 0; i < buttons.size(); ++i, x += 80) {
        DWORD kind = static_cast<int>(i) == default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        ::CreateWindowExA(0, "Button", buttons[i].c_str(), WS_CHILD | WS_VISIBLE | kind, x, 80, 75,
                          28, w, nullptr, nullptr, nullptr);
      }
      ::ShowWindow(w, SW_SHOWNOACTIVATE);
      thread_id_ = ::GetCurrentThreadId();
      made.set_value(w);
      MSG msg;
      while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
      ::DestroyWindow(w);
      done_ = true;
    });
    hwnd_ = hwnd.get();
  }
  ~OtherDialog() { Close(); }
  HWND hwnd() const { return hwnd_; }
  // Gone, as a dialog answered by hand goes.
  void Close() {
    if (!thread_.joinable()) return;
    ::PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
    // Its owner, if it is ours, may be sent a message as it goes.
    while (!done_) {
      DoEvents();
      ::Sleep(1);
    }
    thread_.join();
  }

 private:
  HWND hwnd_ = nullptr;
  std::thread thread_;
  std::atomic<DWORD> thread_id_{0};
  std::atomic<bool> done_{false};
};

// The events come through the main window's message loop.
template <typename Done>
bool PumpUntil(Done done) {
  for (int i = 0; i < 1000 && !done(); ++i) {
    DoEvents();
    ::Sleep(5);
  }
  return done();
}

// The real main window, started on a file with one entry.
class Recent : public test::OneEntryForm {
 protected:
  const std::vector<DialogRecord>& records() const { return form_.recent().records(); }
  // The dialog is recorded, and is the newest record.
  const DialogRecord& Noticed(const std::string& title) {
    EXPECT_TRUE(PumpUntil([&] {
      return !records().empty() && records().back().dialog.title == title;
    })) << title;
    return records().back();
  }
  // Add pressed with this option chosen; what Label3 then says.
  std::string AddWith(int option) {
    SetOptionValue(c().Op1[option], true);
    form_.OnCommand(kIdCommand3);
    return GetCaption(c().Label3);
  }
};

TEST_F(Recent, DialogsOfOtherThreadsAreNoticedOnceAndPallixsOwnNever) {
  // On Pallix's own thread, owned by its main window, or with no button:
  // none is recorded.
  test::TestDialog own("Own window", {"OK"});
  OtherDialog owned("Owned window", {}, {"OK"}, -1, form_.hwnd());
  OtherDialog no_button("No button", {"Just a text"}, {});
  OtherDialog five("Five buttons", {"Choose one.", "Or not."}, {"A", "B", "&C", "D", "E"}, 2);
  const DialogRecord& record = Noticed("Five buttons");
  EXPECT_EQ(records().size(), 1u);
  EXPECT_EQ(record.dialog.window_class, "#32770");
  EXPECT_EQ(record.dialog.program, "pallix_tests.exe");
  EXPECT_EQ(record.dialog.message, "Choose one. Or not.");
  Lines captions;
  for (const SeenButton& b : record.dialog.buttons) captions.push_back(b.caption);
  EXPECT_EQ(captions, (Lines{"A", "B", "&C", "D", "E"}));
  EXPECT_TRUE(record.dialog.buttons[2].is_default);

  // The same dialog again, in a new window, counts on its record; a second
  // look at the first window counts nothing.
  five.Close();
  OtherDialog again("Five buttons", {"Choose one.", "Or not."}, {"A", "B", "&C", "D", "E"}, 2);
  EXPECT_TRUE(PumpUntil([&] { return records().back().seen == 2; }));
  OtherDialog other("Another", {}, {"OK"});
  Noticed("Another");
  EXPECT_EQ(records().size(), 2u);
  EXPECT_EQ(records().front().seen, 2);
}

TEST_F(Recent, ATeachFillsTheCaptureAndAddStoresItThoughTheDialogIsGone) {
  std::uint64_t id = 0;
  {
    OtherDialog dialog("Delete file", {"Delete report.txt?"}, {"&Yes", "&No"});
    id = Noticed("Delete file").id;
  }
  form_.TeachFrom(id);
  EXPECT_TRUE(IsVisible(form_.hwnd()));
  EXPECT_EQ(GetCaption(c().Text1), "Delete file");
  EXPECT_EQ(GetCaption(c().Text6), "Delete report.txt?");
  EXPECT_EQ(Offered(), (Lines{"&Yes", "&No"}));
  EXPECT_TRUE(GetOptionValue(c().Op1[0]));
  EXPECT_EQ(GetCaption(c().Check1), "Only from pallix_tests.exe");
  EXPECT_TRUE(GetCheckValue(c().Check1));
  EXPECT_TRUE(::IsWindowEnabled(c().Check1));
  EXPECT_EQ(GetCaption(c().Label3), kChooseThenAddMessage);
  EXPECT_EQ(GetForeColor(c().Label3), kAddedColour);
  EXPECT_EQ(form_.picker().picked_class(), "#32770");

  // The keyboard: a caption's letter chooses its option.
  ::PostMessageA(c().Op1[0], WM_CHAR, 'n', 0);
  EXPECT_TRUE(PumpUntil([&] { return GetOptionValue(c().Op1[1]); }));
  EXPECT_FALSE(GetOptionValue(c().Op1[0]));
  form_.OnCommand(kIdCommand3);
  EXPECT_EQ(GetCaption(c().Label3), kAddedMessage);
  EXPECT_EQ(ReadFile("w.ini"),
            "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=Old[OK]<<#32770>>\r\n"
            "Message2=Delete report.txt?\r\nProgram2=pallix_tests.exe\r\n"
            "Title2=Delete file[&No]<<#32770>>\r\n");
  // Taught again, it is the duplicate a drop would be; while monitoring,
  // Add cannot be pressed, and the line says so.
  form_.TeachFrom(id);
  EXPECT_EQ(AddWith(0), kDuplicateMessage);
  form_.OnCommand(kIdCommand2);
  form_.TeachFrom(id);
  EXPECT_EQ(GetCaption(c().Label3), kTeachWhileMonitoringMessage);
  form_.OnCommand(kIdCommand2);

  // More than three buttons: the default one first, then the first ones.
  OtherDialog five("Five", {}, {"A", "B", "C", "&Go", "E"}, 3);
  form_.TeachFrom(Noticed("Five").id);
  EXPECT_EQ(Offered(), (Lines{"&Go", "A", "B"}));
  EXPECT_TRUE(GetOptionValue(c().Op1[0]));
}

TEST_F(Recent, AddChecksATaughtRecordAsItChecksADrop) {
  const std::string before = ReadFile("w.ini");
  Picker& picker = form_.picker();
  SeenDialog cut = Seen(std::string(kWindowTextMax, 't'));
  cut.title_cut = true;
  picker.TeachFrom(cut);
  EXPECT_EQ(AddWith(0), kTitleCutMessage);

  SeenDialog twins = Seen("Twins");
  twins.buttons = {{"OK"}, {"Cancel"}, {"OK", false, true}};
  picker.TeachFrom(twins);
  EXPECT_EQ(AddWith(2), kTwinCaptionMessage);

  SeenDialog wide = Seen("Wide");
  wide.title_beyond_ansi = wide.buttons[1].beyond_ansi = true;
  picker.TeachFrom(wide);
  EXPECT_EQ(AddWith(0), kTitleBeyondAnsiMessage);
  wide.title_beyond_ansi = false;
  picker.TeachFrom(wide);
  EXPECT_EQ(AddWith(1), kButtonBeyondAnsiMessage);
  EXPECT_EQ(ReadFile("w.ini"), before);

  // Where Windows did not say the program, the entry can only answer
  // every program's dialog.
  picker.TeachFrom(Seen("Anyone's", "", ""));
  EXPECT_EQ(GetCaption(c().Check1), kProgramUnknownCaption);
  EXPECT_FALSE(GetCheckValue(c().Check1));
  EXPECT_FALSE(::IsWindowEnabled(c().Check1));
  EXPECT_EQ(AddWith(0), kAddedMessage);
  EXPECT_EQ(ReadFile("w.ini"),
            "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=Old[OK]<<#32770>>\r\n"
            "Title2=Anyone's[&Yes]<<#32770>>\r\n");
}

TEST_F(Recent, TheWindowShowsTheRecordsNewestFirstUpdatesThemAndTeaches) {
  OtherDialog first("First", {"One"}, {"OK"});
  Noticed("First");
  form_.OnCommand(kIdRecent);
  RecentWindow& window = form_.recent_window();
  ASSERT_TRUE(window.open());
  const RecentControls& w = window.controls();
  EXPECT_EQ(GetCaption(w.window), kRecentTitle);
  EXPECT_TRUE(IsVisible(w.window));
  Lines rows = test::Rows(w.List);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].substr(rows[0].find('|')), "|1|pallix_tests.exe|First|One|OK|");
  EXPECT_EQ(TableSelected(w.List), 0);
  EXPECT_TRUE(::IsWindowEnabled(w.Teach));

  // A new one comes on top; the row chosen stays chosen.
  OtherDialog second("Second", {}, {"&Retry", "Cancel"}, 1);
  EXPECT_TRUE(PumpUntil([&] { return TableRowCount(w.List) == 2; }));
  EXPECT_EQ(TableCell(w.List, 0, kRecordTitleColumn), "Second");
  EXPECT_EQ(TableCell(w.List, 0, kButtonsColumn), "&Retry, Cancel (default)");
  EXPECT_EQ(TableSelected(w.List), 1);
  // The first seen again moves up, still chosen, counted.
  first.Close();
  OtherDialog first_again("First", {"One"}, {"OK"});
  EXPECT_TRUE(PumpUntil([&] { return TableCell(w.List, 0, kSeenColumn) == "2"; }));
  EXPECT_EQ(TableCell(w.List, 0, kRecordTitleColumn), "First");
  EXPECT_EQ(TableSelected(w.List), 0);
  EXPECT_EQ(TableRowCount(w.List), 2);

  // Enter in the list teaches the row chosen.
  TableSelect(w.List, 1);
  ::SetFocus(w.List);
  ::PostMessageA(w.List, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil([&] { return GetCaption(c().Text1) == "Second"; }));
  EXPECT_EQ(Offered(), (Lines{"&Retry", "Cancel"}));
  // So does a double-click.
  window.OnTableDblClick(kIdRecentList, 0);
  EXPECT_EQ(GetCaption(c().Text1), "First");

  // Esc closes it; opened again, it shows the same.
  const Lines shown = test::Rows(w.List);
  ::SetFocus(w.List);
  ::PostMessageA(w.List, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !window.open(); }));
  form_.OnCommand(kIdCommand7);
  ASSERT_TRUE(window.open());
  EXPECT_EQ(test::Rows(window.controls().List), shown);
  // Alt+C is "Close".
  ::PostMessageA(window.controls().List, WM_SYSCHAR, 'c', 1 << 29);
  EXPECT_TRUE(PumpUntil([&] { return !window.open(); }));

  // Where Windows would not report windows, the empty list says why.
  window.Noticing(false);
  form_.OnCommand(kIdCommand7);
  ASSERT_NE(window.controls().Note, nullptr);
  EXPECT_EQ(GetCaption(window.controls().Note), kNotNoticingMessage);
  EXPECT_TRUE(IsVisible(window.controls().Note));
}

}  // namespace
}  // namespace pallix

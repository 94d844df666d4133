// The answer log: the line each click leaves, the 10-second rule, rotation,
// a log that cannot be written, and the tray menu's "Answer log".
#include <atomic>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/form1.h"
#include "monitor/answer_log.h"
#include "monitor/monitor.h"
#include "tests/unit/support.h"

namespace pallix {
namespace {

using test::ReadFile;
using test::TestDialog;
using Lines = std::vector<std::string>;

// A file's lines, each without its CR LF; a line not so ended fails.
Lines LinesOf(const std::string& name) {
  Lines lines;
  std::string text = ReadFile(name);
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "no CR LF after: " << text.substr(at);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

Lines Fields(const std::string& line) {
  Lines fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

std::string Now() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return Fields(FormatAnswerLine(t, true, "", "", "", ""))[0];
}

class AnswerLogging : public test::FolderTest {
 protected:
  void Watch(int slot, const char* title, const char* button) {
    table_.watch_title[slot] = title;
    table_.watch_button[slot] = button;
    table_.watch_class[slot] = "#32770";
  }
  void Tick() { monitor_.Monitor_timer_Timer(table_, &log_); }

  WatchTable table_;
  DialogMonitor monitor_;
  Lines reports_;
  AnswerLog log_{AppPath(), [this](const std::string& why) { reports_.push_back(why); }};
};

// A dialog whose thread does not take messages for three seconds.
struct SleepingDialog {
  SleepingDialog() {
    thread = std::thread([this] {
      TestDialog dialog("Asleep", {"OK"});
      ready = true;
      ::Sleep(3000);
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    });
    while (!ready) ::Sleep(1);
  }
  ~SleepingDialog() { thread.join(); }
  std::atomic<bool> ready{false};
  std::thread thread;
};

TEST_F(AnswerLogging, EachClickLeavesItsLineAfterTheClick) {
  SYSTEMTIME t{2026, 12, 1, 7, 14, 2, 11, 123};
  EXPECT_EQ(FormatAnswerLine(t, true, "Save changes", "&No", "#32770", "rhino.exe"),
            "2026-12-07 14:02:11.123\tanswered\tSave changes\t&No\t#32770\trhino.exe\r\n");
  t = SYSTEMTIME{2027, 1, 5, 1, 3, 4, 5, 6};
  EXPECT_EQ(FormatAnswerLine(t, false, "A\tB\r\n", "OK", "#32770", "?"),
            "2027-01-01 03:04:05.006\tnot responding\tA B  \tOK\t#32770\t?\r\n");
  EXPECT_EQ(ProgramFileName(nullptr), "?");

  Watch(1, "Save changes", "&No");
  Watch(2, "Asleep", "OK");
  TestDialog dialog("Save changes", {"&Yes", "&No"});
  dialog.CloseOnClick(true);
  std::string log_at_click = "unread";
  dialog.on_click = [&] { log_at_click = ReadFile(kAnswerLogName); };
  std::string before = Now();
  {
    SleepingDialog asleep;
    Tick();
  }
  std::string after = Now();
  EXPECT_EQ(dialog.clicks(), std::vector<int>{101});
  EXPECT_EQ(log_at_click, "");  // not yet written when the dialog took the click
  Lines lines = LinesOf(kAnswerLogName);
  ASSERT_EQ(lines.size(), 2u);
  Lines answered = Fields(lines[0]), asleep = Fields(lines[1]);
  EXPECT_EQ(Lines(answered.begin() + 1, answered.end()),
            (Lines{"answered", "Save changes", "&No", "#32770", "pallix_tests.exe"}));
  EXPECT_EQ(Lines(asleep.begin() + 1, asleep.end()),
            (Lines{"not responding", "Asleep", "OK", "#32770", "pallix_tests.exe"}));
  // Both stamped with the moment, to the millisecond.
  for (const Lines& fields : {answered, asleep}) {
    EXPECT_EQ(fields[0].size(), 23u);
    EXPECT_TRUE(before <= fields[0] && fields[0] <= after) << before << " " << fields[0];
  }
  EXPECT_LT(answered[0], asleep[0]);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(AnswerLogging, AStandingDialogGetsALineAtMostEveryTenSeconds) {
  RepeatFilter filter;
  HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20);
  EXPECT_TRUE(filter.Admit(a, 1000));
  EXPECT_FALSE(filter.Admit(a, 10999));
  EXPECT_TRUE(filter.Admit(b, 5000));  // another window has its own ten seconds
  EXPECT_TRUE(filter.Admit(a, 11000));
  EXPECT_FALSE(filter.Admit(b, 14999));
  EXPECT_FALSE(filter.Admit(a, 12000));  // counted from the last line, not the first
  EXPECT_TRUE(filter.Admit(b, 15000));

  Watch(1, "Ignores", "OK");
  TestDialog stays("Ignores", {"OK"});
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(stays.clicks().size(), 3u);
  EXPECT_EQ(LinesOf(kAnswerLogName).size(), 1u);
}

TEST_F(AnswerLogging, AFullLogBecomesTheOneOlderFile) {
  EXPECT_FALSE(RotateBefore(0, 500, 100));  // a lone line longer than the limit still goes in
  AnswerLog log(AppPath(), nullptr, 100);
  auto line = [](int i) { return "line " + std::to_string(i) + std::string(22, '.') + "\r\n"; };
  ASSERT_EQ(line(1).size(), 30u);
  for (int i = 1; i <= 7; ++i) ASSERT_TRUE(log.Write(line(i)));
  // 90 bytes take no fourth line of 30: lines 1 to 3 went, then 4 to 6.
  EXPECT_EQ(ReadFile(kOldAnswerLogName), line(4) + line(5) + line(6));
  EXPECT_EQ(ReadFile(kAnswerLogName), line(7));
  for (int i = 8; i <= 9; ++i) ASSERT_TRUE(log.Write(line(i)));
  EXPECT_EQ(ReadFile(kAnswerLogName), line(7) + line(8) + line(9));
  EXPECT_EQ(ReadFile(kOldAnswerLogName), line(4) + line(5) + line(6));
}

TEST_F(AnswerLogging, AnUnwritableLogIsReportedOnceAndNeverStopsAnAnswer) {
  // Held open, sharing nothing, by another program. (A read-only attribute
  // would do on Windows; Wine run as root writes such a file all the same.)
  const std::string path = test::FolderPath(kAnswerLogName);
  HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::vector<std::unique_ptr<TestDialog>> dialogs;
  auto open = [&](int slot, const char* title) {
    Watch(slot, title, "OK");
    dialogs.push_back(std::make_unique<TestDialog>(title, std::vector<const char*>{"OK"}));
    dialogs.back()->CloseOnClick(true);
  };
  open(1, "First");
  open(2, "Second");
  Tick();
  open(2, "Third");
  Tick();
  for (const auto& dialog : dialogs) EXPECT_EQ(dialog->clicks(), std::vector<int>{100});
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find(path), std::string::npos) << reports_[0];
  // Let go: the next answer is written.
  ::CloseHandle(held);
  EXPECT_EQ(ReadFile(kAnswerLogName), "");
  open(2, "Fourth");
  Tick();
  EXPECT_EQ(LinesOf(kAnswerLogName).size(), 1u);
  EXPECT_EQ(reports_.size(), 1u);
}

TEST_F(AnswerLogging, TheTrayItemOpensTheLogOrSaysThereIsNone) {
  test::WriteFile("w.ini", test::WatchFile({"Save changes[&No]<<#32770>>"}));
  ASSERT_TRUE(::CopyFileA(test::FolderPath("pallix_tests.exe").c_str(),
                          test::FolderPath("notepad.exe").c_str(), FALSE));
  Form1 form;
  {
    test::BoxAnswerer boxes;
    form.Create();
    form.Start();
    HMENU menu = form.controls().traymenu;
    EXPECT_EQ(::GetMenuItemID(menu, 3), static_cast<UINT>(kIdSwopen));
    EXPECT_EQ(::GetMenuItemID(menu, 4), static_cast<UINT>(kIdAnswerLog));
    EXPECT_EQ(GetMenuItemCaption(menu, kIdAnswerLog), "Answer log");
    form.OnCommand(kIdAnswerLog);
    test::WriteFile(kAnswerLogName, "");
    form.OnCommand(kIdAnswerLog);
    ASSERT_EQ(boxes.Seen().size(), 2u);
    for (const test::SeenBox& box : boxes.Seen()) {
      EXPECT_EQ(box.title, "Pallix");
      EXPECT_EQ(box.text, kNoAnswersYet);
    }
  }
  // The window's own monitor writes to the file the item opens.
  ::SendMessageA(form.controls().Command2, BM_CLICK, 0, 0);
  TestDialog dialog("Save changes", {"&No"});
  form.OnTimer(kMonitorTimerId);
  ASSERT_EQ(LinesOf(kAnswerLogName).size(), 1u);
  EXPECT_FALSE(test::FileExists("launched.txt"));
  form.OnCommand(kIdAnswerLog);
  for (int i = 0; i < 500 && !test::FileExists("launched.txt"); ++i) ::Sleep(20);
  ::Sleep(100);
  EXPECT_EQ(ReadFile("launched.txt"), "notepad " + test::FolderPath(kAnswerLogName) + "\r\n");
}

}  // namespace
}  // namespace pallix

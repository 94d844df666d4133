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

Lines Split(const std::string& text, const std::string& end) {
  Lines parts;
  std::size_t at = 0;
  for (std::size_t next; (next = text.find(end, at)) != std::string::npos; at = next + end.size()) {
    parts.push_back(text.substr(at, next - at));
  }
  if (at < text.size()) parts.push_back(text.substr(at));  // not so ended
  return parts;
}

// pallix.log's lines, which must all end with CR LF.
Lines LogLines() {
  std::string text = ReadFile(kAnswerLogName);
  EXPECT_TRUE(text.empty() || text.ends_with("\r\n")) << text;
  return Split(text, "\r\n");
}

std::string Now() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return FormatAnswerLine(t, true, "", "", "", "").substr(0, 23);
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

TEST_F(AnswerLogging, EachClickLeavesItsLineAfterTheClick) {
  SYSTEMTIME t{2026, 12, 1, 7, 14, 2, 11, 123};
  EXPECT_EQ(FormatAnswerLine(t, false, "Save\tchanges\r\n", "&No", "#32770", "rhino.exe"),
            "2026-12-07 14:02:11.123\tnot responding\tSave changes  \t&No\t#32770\trhino.exe\r\n");
  EXPECT_EQ(ProgramFileName(nullptr), "?");

  Watch(1, "Save changes", "&No");
  Watch(2, "Asleep", "OK");
  TestDialog dialog("Save changes", {"&Yes", "&No"});
  std::string log_at_click = "unread";
  dialog.on_click = [&] { log_at_click = ReadFile(kAnswerLogName); };
  std::string before = Now();
  std::atomic<bool> ready = false;
  std::thread asleep([&] {
    TestDialog dialog("Asleep", {"OK"});
    ready = true;
    ::Sleep(3000);  // takes no message: the click gives up after a second
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  });
  while (!ready) ::Sleep(1);
  Tick();
  asleep.join();
  std::string after = Now();
  EXPECT_EQ(dialog.clicks(), std::vector<int>{101});
  EXPECT_EQ(log_at_click, "");  // not yet written when the dialog took the click
  Lines lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  Lines answered = Split(lines[0], "\t"), hung = Split(lines[1], "\t");
  EXPECT_EQ(Lines(answered.begin() + 1, answered.end()),
            (Lines{"answered", "Save changes", "&No", "#32770", "pallix_tests.exe"}));
  EXPECT_EQ(Lines(hung.begin() + 1, hung.end()),
            (Lines{"not responding", "Asleep", "OK", "#32770", "pallix_tests.exe"}));
  // Stamped with the moment, to the millisecond.
  EXPECT_TRUE(before <= answered[0] && answered[0] < hung[0] && hung[0] <= after)
      << before << " " << answered[0] << " " << hung[0] << " " << after;
}

TEST_F(AnswerLogging, AStandingDialogGetsALineAtMostEveryTenSeconds) {
  RepeatFilter filter;
  HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20);
  EXPECT_TRUE(filter.Admit(a, 1000) && filter.Admit(b, 5000));
  EXPECT_FALSE(filter.Admit(a, 10999));
  EXPECT_TRUE(filter.Admit(a, 11000));
  EXPECT_FALSE(filter.Admit(a, 12000) || filter.Admit(b, 14999));
  EXPECT_TRUE(filter.Admit(b, 15000));

  Watch(1, "Ignores", "OK");
  TestDialog stays("Ignores", {"OK"});
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(stays.clicks().size(), 3u);
  EXPECT_EQ(LogLines().size(), 1u);
}

TEST_F(AnswerLogging, AFullLogBecomesTheOneOlderFile) {
  AnswerLog log(AppPath(), nullptr, 100);
  auto line = [](int i) { return "line " + std::to_string(i) + std::string(22, '.') + "\r\n"; };
  // 90 bytes take no fourth line of 30: lines 1 to 3 went, then 4 to 6.
  for (int i = 1; i <= 7; ++i) ASSERT_TRUE(log.Write(line(i)));
  EXPECT_EQ(ReadFile(kOldAnswerLogName), line(4) + line(5) + line(6));
  EXPECT_EQ(ReadFile(kAnswerLogName), line(7));
  ASSERT_TRUE(log.Write(std::string(150, '.')));  // too long for any log: it starts one
  EXPECT_EQ(ReadFile(kOldAnswerLogName), line(7));
  EXPECT_EQ(ReadFile(kAnswerLogName).size(), 150u);
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
  ::CloseHandle(held);  // let go: the next answer is written
  open(2, "Fourth");
  Tick();
  Lines lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("\tFourth\t"), std::string::npos);
  EXPECT_EQ(reports_.size(), 1u);
}

TEST_F(AnswerLogging, TheTrayItemSaysWhenThereIsNothingToOpen) {
  test::WriteFile("w.ini", test::WatchFile({"Save changes[&No]<<#32770>>"}));
  ASSERT_TRUE(::CopyFileA(test::FolderPath("pallix_tests.exe").c_str(),
                          test::FolderPath("notepad.exe").c_str(), FALSE));
  test::BoxAnswerer boxes;
  Form1 form;
  form.Create();
  form.Start();
  form.OnCommand(kIdAnswerLog);
  test::WriteFile(kAnswerLogName, "");
  form.OnCommand(kIdAnswerLog);
  ASSERT_EQ(boxes.Seen().size(), 2u);
  for (const test::SeenBox& box : boxes.Seen()) {
    EXPECT_EQ(box.title + ": " + box.text, std::string("Pallix: ") + kNoAnswersYet);
  }
  ::Sleep(500);
  EXPECT_FALSE(test::FileExists("launched.txt"));  // no editor on an empty file
}

}  // namespace
}  // namespace pallix

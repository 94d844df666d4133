// The answer log: the line each click leaves, rotation, and a log that
// cannot be written.
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "monitor/answer_log.h"
#include "monitor/monitor.h"
#include "tests/unit/support.h"
#include "ui/toolkit.h"

namespace pallix {
namespace {

using test::ReadFile;
using test::TestDialog;
using Lines = std::vector<std::string>;

// pallix.log's lines, each of which must end with CR LF.
Lines LogLines() {
  std::string text = ReadFile(kAnswerLogName);
  EXPECT_TRUE(text.empty() || text.ends_with("\r\n")) << text;
  Lines lines;
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

std::string Now() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return FormatAnswerLine(t, AnswerOutcome::kAnswered, "", "", "", "", "").substr(0, 23);
}

class AnswerLogging : public test::FolderTest {
 protected:
  void Watch(int slot, const char* title, const char* button) {
    if (table_.Count() < slot) table_.Resize(slot);
    table_.watch_title[slot] = title;
    table_.watch_button[slot] = button;
    table_.watch_class[slot] = "#32770";
  }
  // A dialog with one button, which the entry in `slot` answers.
  TestDialog& Open(int slot, const char* title, const char* button = "OK") {
    Watch(slot, title, button);
    return *dialogs_.emplace_back(
        std::make_unique<TestDialog>(title, std::vector<const char*>{button}));
  }
  void Tick() { monitor_.Monitor_timer_Timer(table_, &log_); }

  WatchTable table_;
  DialogMonitor monitor_;
  Lines reports_;
  AnswerLog log_{AppPath(), [this](const std::string& why) { reports_.push_back(why); }};
  std::vector<std::unique_ptr<TestDialog>> dialogs_;
};

TEST_F(AnswerLogging, EachClickLeavesItsLineAfterTheClick) {
  SYSTEMTIME t{2026, 12, 1, 7, 14, 2, 11, 123};
  EXPECT_EQ(FormatAnswerLine(t, AnswerOutcome::kNoEffect, "Save\tchanges\r\n", "&No", "#32770",
                             "rhino.exe", "Save changes\r\nto\tpart1?"),
            "2026-12-07 14:02:11.123\tno effect\tSave changes  \t&No\t#32770\trhino.exe"
            "\tSave changes  to part1?\r\n");
  const std::string long_message(250, 'm');
  EXPECT_EQ(FormatAnswerLine(t, AnswerOutcome::kAnswered, "T", "B", "C", "p.exe", long_message),
            "2026-12-07 14:02:11.123\tanswered\tT\tB\tC\tp.exe\t" + std::string(200, 'm') + "\r\n");

  std::string log_at_click = "unread";
  TestDialog& save = Open(1, "Save changes", "&No");
  save.on_click = [&] { log_at_click = ReadFile(kAnswerLogName); };
  save.Say("Save changes to");
  save.Say("part1.3dm?");
  Watch(2, "Asleep", "OK");
  std::atomic<bool> ready = false;
  std::thread asleep([&] {
    TestDialog dialog("Asleep", {"OK"});
    ready = true;
    ::Sleep(3000);  // takes no message: the click gives up after a second
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  });
  while (!ready) ::Sleep(1);
  std::string before = Now();
  Tick();
  std::string after = Now();
  asleep.join();
  EXPECT_EQ(log_at_click, "");  // not yet written when the dialog took the click
  Lines lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(23),
            "\tanswered\tSave changes\t&No\t#32770\tpallix_tests.exe"
            "\tSave changes to part1.3dm?");
  EXPECT_EQ(lines[1].substr(23), "\tnot responding\tAsleep\tOK\t#32770\tpallix_tests.exe\t");
  // Stamped with the moment, to the millisecond.
  std::string first = lines[0].substr(0, 23), second = lines[1].substr(0, 23);
  EXPECT_TRUE(before <= first && first < second && second <= after)
      << before << " " << first << " " << second << " " << after;
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
  const std::string path = test::FolderPath(kAnswerLogName);
  test::WriteFile(kAnswerLogName, "");
  HANDLE held = test::HoldForReading(kAnswerLogName);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (const char* title : {"First", "Second", "Third"}) {
    Open(1, title).CloseOnClick(true);
    Tick();
  }
  for (const auto& dialog : dialogs_) EXPECT_EQ(dialog->clicks(), std::vector<int>{100});
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find(path), std::string::npos) << reports_[0];
  ::CloseHandle(held);  // let go: the next answer is written
  Open(1, "Fourth");
  Tick();
  Lines lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("\tFourth\t"), std::string::npos);
  EXPECT_EQ(reports_.size(), 1u);
}

}  // namespace
}  // namespace pallix

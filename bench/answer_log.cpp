// pallix_answer_log_bench: times the answer log's real file work on a real
// pallix.log in this program's folder, with the real 1 MiB limit (so the
// run includes rotations). Prints one line of figures for bench/run.sh:
//   open_median_us= open_p99_us= write_median_us= write_p99_us=
//   record_median_us= record_p99_us= lines= rotated=
// open: what the monitor does before a click when it keeps a log (the
// dialog's program opened, and closed again); write: one finished line
// appended; record: all the log does after a click (the 10-second rule,
// the clock, the line, the program's name, the write).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "config/config_path.h"
#include "monitor/answer_log.h"
#include "ui/toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLines = 20000;  // some 1.4 MB: the log turns over once

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

template <typename F>
std::vector<double> Time(F&& step) {
  std::vector<double> us;
  us.reserve(kLines);
  for (int i = 0; i < kLines; ++i) {
    auto start = Clock::now();
    step(i);
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return us;
}

}  // namespace

int main() {
  const std::string folder = pallix::AppPath();
  for (const char* name : {pallix::kAnswerLogName, pallix::kOldAnswerLogName}) {
    ::DeleteFileA(pallix::ConfigPath(folder, name).c_str());
  }
  int failures = 0;
  pallix::AnswerLog log(folder, [&](const std::string& why) {
    ++failures;
    std::fprintf(stderr, "%s\n", why.c_str());
  });
  HWND desktop = ::GetDesktopWindow();
  std::vector<double> open = Time([&](int) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(desktop, &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process) ::CloseHandle(process);
  });
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  const std::string line =
      pallix::FormatAnswerLine(now, pallix::AnswerOutcome::kAnswered, "Bench box", "&Yes", "#32770",
                               "pallix_dialogs.exe", "Save changes to part1.3dm?");
  std::vector<double> write = Time([&](int) { log.Write(line); });
  HANDLE self = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ::GetCurrentProcessId());
  std::vector<double> record = Time([&](int) {
    log.Record(self, pallix::AnswerOutcome::kAnswered, "Bench box", "&Yes", "#32770",
               "Save changes to part1.3dm?");
  });
  ::CloseHandle(self);
  bool rotated =
      ::GetFileAttributesA(pallix::ConfigPath(folder, pallix::kOldAnswerLogName).c_str()) !=
      INVALID_FILE_ATTRIBUTES;
  if (failures) return 1;
  std::printf(
      "open_median_us=%.1f open_p99_us=%.1f write_median_us=%.1f write_p99_us=%.1f "
      "record_median_us=%.1f record_p99_us=%.1f lines=%d rotated=%d\n",
      Percentile(open, 0.5), Percentile(open, 0.99), Percentile(write, 0.5),
      Percentile(write, 0.99), Percentile(record, 0.5), Percentile(record, 0.99), 2 * kLines,
      rotated ? 1 : 0);
  return 0;
}

// pallix_message_tick_bench: times the monitor's tick with twenty entries
// that carry messages, while three dialogs of their title, their texts and
// buttons nested in panels, opened by pallix_dialogs.exe (another process,
// beside this program), say something none of them asks for: every tick
// finds the three, reads their messages, and answers nothing. It times the
// tick with the entries bound to the boxes' program, so that each tick also
// asks whose the boxes are, and then with the same entries free. Prints one
// line of figures for bench/run.sh:
//   tick_median_us= tick_p99_us= free_median_us= free_p99_us= ticks= boxes= clicked=
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "config/config_path.h"
#include "monitor/monitor.h"
#include "ui/toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTicks = 5000;
constexpr const char* kTitle = "Bench generic";

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

int BoxesOpen() {
  int n = 0;
  for (HWND w = ::FindWindowExA(nullptr, nullptr, "#32770", kTitle); w;
       w = ::FindWindowExA(nullptr, w, "#32770", kTitle)) {
    ++n;
  }
  return n;
}

}  // namespace

int main() {
  const std::string dialogs = pallix::ConfigPath(pallix::AppPath(), "pallix_dialogs.exe");
  std::vector<PROCESS_INFORMATION> boxes;
  for (int i = 1; i <= 3; ++i) {
    // Laid out as Windows Forms lays out its dialogs: the text and the
    // buttons in panels, so the message is read from below the dialog.
    std::string line = "\"" + dialogs +
                       "\" dialog --layout forms --button \"&Yes|&No\" --timeout-ms 120000 "
                       "--title \"" +
                       kTitle + "\" --text \"Something else, number " + std::to_string(i) + "\"";
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &start, &process)) {
      std::fprintf(stderr, "cannot start %s (error %lu)\n", dialogs.c_str(), ::GetLastError());
      return 1;
    }
    boxes.push_back(process);
  }
  for (int i = 0; i < 300 && BoxesOpen() < 3; ++i) ::Sleep(100);
  const int open = BoxesOpen();

  // Every tick of a series, by a monitor of its own.
  auto series = [](const char* program) {
    pallix::WatchTable table;
    table.Resize(20);
    for (int slot = 1; slot <= table.Count(); ++slot) {
      table.watch_title[slot] = kTitle;
      table.watch_button[slot] = "&Yes";
      table.watch_class[slot] = "#32770";
      table.watch_message[slot] = "A message no box shows, number " + std::to_string(slot);
      table.watch_program[slot] = program;
    }
    pallix::DialogMonitor monitor;
    // The first ticks after the boxes came up also pay for the server and
    // the caches warming up; the figures are of a tick as it runs for hours.
    for (int i = 0; i < kTicks / 10; ++i) monitor.Monitor_timer_Timer(table);
    std::vector<double> us;
    us.reserve(kTicks);
    for (int i = 0; i < kTicks; ++i) {
      auto start = Clock::now();
      monitor.Monitor_timer_Timer(table);
      us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return us;
  };
  const std::vector<double> bound = series("PALLIX_dialogs.exe");
  const std::vector<double> free = series("");
  // A box that took a click would have closed.
  const int clicked = open - BoxesOpen();
  for (const PROCESS_INFORMATION& process : boxes) {
    ::TerminateProcess(process.hProcess, 0);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  if (open != 3) {
    std::fprintf(stderr, "%d of the 3 boxes opened\n", open);
    return 1;
  }
  std::printf(
      "tick_median_us=%.1f tick_p99_us=%.1f free_median_us=%.1f free_p99_us=%.1f ticks=%d "
      "boxes=%d clicked=%d\n",
      Percentile(bound, 0.5), Percentile(bound, 0.99), Percentile(free, 0.5),
      Percentile(free, 0.99), kTicks, open, clicked);
  return 0;
}

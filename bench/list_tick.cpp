// pallix_list_tick_bench: times the monitor's tick with one entry and with
// two hundred, while some fifty other top-level windows stand on the desktop
// (made by a second copy of this program, another process, as the windows
// of other programs are). No entry names any of them, so no tick clicks.
// Prints one line of figures for bench/run.sh:
//   tick1_median_us= tick200_median_us= tick1_p99_us= tick200_p99_us= others=
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "monitor/monitor.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kOthers = 50;
constexpr int kTicks = 3000;

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

// The other program: windows of two classes, dialogs among them, shown,
// until it is ended.
int MakeOthers() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "PallixBenchOther";
  ::RegisterClassA(&wc);
  for (int i = 0; i < kOthers; ++i) {
    const char* cls = i % 2 ? "#32770" : "PallixBenchOther";
    std::string title = "Other window " + std::to_string(i);
    ::CreateWindowExA(0, cls, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10 + i * 5,
                      10 + i * 5, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
  }
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
  return 0;
}

int OthersOpen() {
  int n = 0;
  for (HWND w = ::FindWindowExA(nullptr, nullptr, nullptr, nullptr); w;
       w = ::FindWindowExA(nullptr, w, nullptr, nullptr)) {
    char title[64];
    n += ::GetWindowTextA(w, title, sizeof title) > 0 &&
         std::strncmp(title, "Other window ", 13) == 0;
  }
  return n;
}

pallix::WatchTable Entries(int count) {
  pallix::WatchTable table;
  table.Resize(count);
  for (int slot = 1; slot <= count; ++slot) {
    table.watch_title[slot] = "Not open, entry " + std::to_string(slot);
    table.watch_button[slot] = "&Yes";
    table.watch_class[slot] = "#32770";
  }
  return table;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--others") == 0) return MakeOthers();
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string line = std::string("\"") + self + "\" --others";
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION others{};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                        &others)) {
    std::fprintf(stderr, "cannot start the other windows (error %lu)\n", ::GetLastError());
    return 1;
  }
  for (int i = 0; i < 300 && OthersOpen() < kOthers; ++i) ::Sleep(100);
  const int open = OthersOpen();

  const pallix::WatchTable one = Entries(1), many = Entries(200);
  pallix::DialogMonitor monitor;
  std::vector<double> us1, us200;
  // Alternating blocks, so that a change in the machine's load falls on both.
  for (int block = 0; block < 20; ++block) {
    for (auto [table, into] : {std::pair{&one, &us1}, std::pair{&many, &us200}}) {
      for (int i = 0; i < kTicks / 20; ++i) {
        auto t0 = Clock::now();
        monitor.Monitor_timer_Timer(*table);
        if (block > 0) {
          into->push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        }
      }
    }
  }
  ::TerminateProcess(others.hProcess, 0);
  ::CloseHandle(others.hThread);
  ::CloseHandle(others.hProcess);
  if (open < kOthers) {
    std::fprintf(stderr, "%d of the %d other windows opened\n", open, kOthers);
    return 1;
  }
  std::printf(
      "tick1_median_us=%.1f tick200_median_us=%.1f tick1_p99_us=%.1f tick200_p99_us=%.1f "
      "others=%d\n",
      Percentile(us1, 0.5), Percentile(us200, 0.5), Percentile(us1, 0.99), Percentile(us200, 0.99),
      open);
  return 0;
}

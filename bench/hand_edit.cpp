// pallix_hand_edit_bench: the time from a hand edit's write to the first
// answer of the entry it adds. The real main window runs here with
// monitoring on; a message box of another process (pallix_dialogs.exe,
// beside this program) stands unanswered; the file is then saved with an
// entry for it, as an editor saves, at a random moment of Pallix's own
// timers; the time runs until the box is gone. Prints one line of figures
// for bench/run.sh:
//   handedit_median_ms= handedit_min_ms= handedit_max_ms= runs=
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/form1.h"
#include "config/config_path.h"
#include "ui/toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 10;

std::string Folder(const char* name) {
  return pallix::ConfigPath(pallix::AppPath(), name);
}

// Saved whole and put in place, as an editor saves.
void Save(const std::vector<std::string>& entries) {
  std::ofstream out(Folder("w.ini.part"), std::ios::binary | std::ios::trunc);
  out << "[WindowTitles]\r\nNum_Windows=" << entries.size() << "\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out << "Title" << i + 1 << "=" << entries[i] << "\r\n";
  }
  out.close();
  ::MoveFileExA(Folder("w.ini.part").c_str(), Folder("w.ini").c_str(), MOVEFILE_REPLACE_EXISTING);
}

// Handles Pallix's events until `done` or ten seconds have passed.
template <typename Done>
bool RunUntil(Done done) {
  auto end = Clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (Clock::now() > end) return false;
    pallix::DoEvents();
    ::Sleep(1);
  }
  return true;
}

}  // namespace

int main() {
  std::vector<std::string> entries{"Bench kept[OK]<<#32770>>"};
  Save(entries);
  pallix::Form1 form;
  form.Create();
  form.Start(true);
  std::mt19937 random(7);
  std::vector<double> ms;
  for (int run = 1; run <= kRuns; ++run) {
    std::string title = "Hand edit " + std::to_string(run);
    std::string line = Folder("pallix_dialogs.exe");
    line.insert(0, 1, '"');
    line += "\" box --type okcancel --timeout-ms 30000 --title \"";
    line += title;
    line += '"';
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION box{};
    // Without a console: its report is not this program's.
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                          nullptr, &start, &box)) {
      std::fprintf(stderr, "cannot start pallix_dialogs.exe (error %lu)\n", ::GetLastError());
      return 1;
    }
    auto open = [&] { return ::FindWindowA("#32770", title.c_str()) != nullptr; };
    bool answered = RunUntil(open);
    auto settle = Clock::now() + std::chrono::milliseconds(random() % 1000);
    RunUntil([&] { return Clock::now() >= settle; });
    entries.push_back(title + "[OK]<<#32770>>");
    auto t0 = Clock::now();
    Save(entries);
    answered = answered && RunUntil([&] { return !open(); });
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    ::WaitForSingleObject(box.hProcess, 5000);
    ::CloseHandle(box.hThread);
    ::CloseHandle(box.hProcess);
    if (!answered) {
      std::fprintf(stderr, "run %d: the box was not answered\n", run);
      return 1;
    }
  }
  std::sort(ms.begin(), ms.end());
  std::printf("handedit_median_ms=%.0f handedit_min_ms=%.0f handedit_max_ms=%.0f runs=%d\n",
              (ms[kRuns / 2 - 1] + ms[kRuns / 2]) / 2, ms.front(), ms.back(), kRuns);
  return 0;
}

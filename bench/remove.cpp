// pallix_remove_bench: Remove of entry 1 of 1,000, through the real main
// window's handler. The list is loaded from a file of 1,000 entries (every
// other one with a message and a program), its first row selected and
// "Remove" pressed; a thread of this program answers the question with Yes
// and times, from that moment, the file put in place; the main thread times
// the list shown again (the handler done and the list painted). Prints one
// line of figures for bench/run.sh:
//   remove_file_median_ms= remove_file_max_ms= remove_list_median_ms=
//   remove_list_max_ms= runs=
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/form1.h"
#include "config/config_path.h"
#include "config/file_stamp.h"
#include "ui/toolkit.h"
#include "watch/remove.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 10;
constexpr int kEntries = 1000;

std::string Folder(const char* name) {
  return pallix::ConfigPath(pallix::AppPath(), name);
}

// Saved whole and put in place, as an editor saves.
void Save() {
  std::ofstream out(Folder("w.ini.part"), std::ios::binary | std::ios::trunc);
  out << "[WindowTitles]\r\nNum_Windows=" << kEntries << "\r\n";
  for (int i = 1; i <= kEntries; ++i) {
    if (i % 2) {
      out << "Message" << i << "=Save changes to part" << i << "\r\nProgram" << i
          << "=rhino.exe\r\n";
    }
    out << "Title" << i << "=Bench entry " << i << "[&No]<<#32770>>\r\n";
  }
  out.close();
  ::MoveFileExA(Folder("w.ini.part").c_str(), Folder("w.ini").c_str(), MOVEFILE_REPLACE_EXISTING);
}

BOOL CALLBACK FindQuestion(HWND hwnd, LPARAM found) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  char cls[16];
  if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) &&
      ::GetClassNameA(hwnd, cls, sizeof cls) && std::string(cls) == "#32770") {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main() {
  Save();
  pallix::Form1 form;
  form.Create();
  form.Start();
  const pallix::Form1Controls& c = form.controls();
  const std::string path = Folder("w.ini");
  std::vector<double> to_file, to_list;
  for (int run = 1; run <= kRuns; ++run) {
    Save();
    form.OnCommand(pallix::kIdCommand5);
    if (pallix::TableRowCount(c.List2) != kEntries) {
      std::fprintf(stderr, "run %d: %d rows loaded\n", run, pallix::TableRowCount(c.List2));
      return 1;
    }
    pallix::TableSelect(c.List2, 0);
    const pallix::FileStamp before = pallix::StampOf(path);
    std::atomic<bool> given_up{false};
    Clock::time_point yes{}, written{};
    // The user's Yes, and the file watched from then on.
    std::thread user([&] {
      HWND box = nullptr;
      auto end = Clock::now() + std::chrono::seconds(10);
      while (!box && Clock::now() < end) {
        ::EnumWindows(FindQuestion, reinterpret_cast<LPARAM>(&box));
        if (!box) ::Sleep(1);
      }
      if (!box) return given_up.store(true);
      yes = Clock::now();
      ::PostMessageA(::GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
      while (pallix::StampOf(path) == before && Clock::now() < end) ::Sleep(1);
      written = Clock::now();
    });
    ::SendMessageA(c.Command6, BM_CLICK, 0, 0);
    ::UpdateWindow(c.List2);
    const Clock::time_point shown = Clock::now();
    user.join();
    if (given_up || pallix::GetCaption(c.Label3) != pallix::kRemovedMessage ||
        pallix::TableRowCount(c.List2) != kEntries - 1) {
      std::fprintf(stderr, "run %d: not removed (%s)\n", run, pallix::GetCaption(c.Label3).c_str());
      return 1;
    }
    to_file.push_back(Ms(written - yes));
    to_list.push_back(Ms(shown - yes));
  }
  std::sort(to_file.begin(), to_file.end());
  std::sort(to_list.begin(), to_list.end());
  auto median = [](const std::vector<double>& v) { return (v[kRuns / 2 - 1] + v[kRuns / 2]) / 2; };
  std::printf(
      "remove_file_median_ms=%.1f remove_file_max_ms=%.1f remove_list_median_ms=%.1f "
      "remove_list_max_ms=%.1f runs=%d\n",
      median(to_file), to_file.back(), median(to_list), to_list.back(), kRuns);
  return 0;
}

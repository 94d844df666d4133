// pallix_picker_bench: times the picker's real handlers on real windows, in
// the main window of a Pallix started in this program's folder. Prints one
// line of figures for bench/run.sh:
//   move_median_ms= move_p95_ms= switch_median_ms= switch_p95_ms=
//   scan_ms= scan_windows= frame_w= frame_h=
// move: one pointer movement over the window already outlined (text request
// and caption); switch: a movement onto another 1,280 x 1,000 window (erase
// the old frame, draw the new); scan: the walk a release makes over the
// captured window's descendants, made over the whole desktop, the largest
// tree there is (a release over the desktop itself captures nothing).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/form1.h"
#include "config/config_path.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

HWND Window(int x, int y, int w, int h, HWND parent = nullptr) {
  DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_CAPTION | WS_VISIBLE;
  return ::CreateWindowExA(0, parent ? "Button" : "PallixBenchWindow", "Bench window", style, x, y,
                           w, h, parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

}  // namespace

int main() {
  // One entry, so that start-up asks nothing.
  std::ofstream(pallix::ConfigPath(pallix::AppPath(), "bench.ini"))
      << "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=None[OK]<<#32770>>\r\n";
  WNDCLASSA wc{};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "PallixBenchWindow";
  ::RegisterClassA(&wc);

  pallix::Form1 form;
  form.Create();
  form.Start();
  pallix::Picker& picker = form.picker();

  // The walk over the desktop, with 200 more top-level windows of two
  // children each, into the main window's own chooser and list.
  std::vector<HWND> crowd;
  for (int i = 0; i < 200; ++i) {
    HWND w = Window(10 + i, 10 + i, 120, 80);
    Window(5, 5, 50, 20, w);
    Window(60, 5, 50, 20, w);
    crowd.push_back(w);
  }
  Pump();
  int windows = 0;
  for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    windows += 1;
    for (HWND c = ::GetWindow(w, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ++windows;
  }
  const pallix::Form1Controls& c = form.controls();
  pallix::ButtonChooser chooser{pallix::ScanControls{c.cmd1, c.Op1, c.List1}};
  HWND desktop = ::GetDesktopWindow();
  auto scan_start = Clock::now();
  pallix::ScanPickedWindow(desktop, chooser);
  double scan_ms = Ms(Clock::now() - scan_start);
  for (HWND w : crowd) ::DestroyWindow(w);

  constexpr int kWidth = 1280, kHeight = 1000;
  HWND left = Window(0, 0, kWidth, kHeight);
  HWND right = Window(640, 0, kWidth, kHeight);
  Pump();
  picker.Picture2_MouseDown();
  std::vector<double> moves, switches;
  for (int i = 0; i < 400; ++i) {
    bool over_right = i % 2 == 1;
    ::SetCursorPos(over_right ? 900 : 300, 500);
    auto t = Clock::now();
    picker.Picture2_MouseMove();
    switches.push_back(Ms(Clock::now() - t));
    for (int k = 0; k < 4; ++k) {
      ::SetCursorPos((over_right ? 900 : 300) + k, 500 + k);
      t = Clock::now();
      picker.Picture2_MouseMove();
      moves.push_back(Ms(Clock::now() - t));
    }
  }
  picker.Picture2_MouseUp();
  bool outlined = picker.outline().outlined_hwnd == left || picker.outline().outlined_hwnd == right;
  std::printf(
      "move_median_ms=%.3f move_p95_ms=%.3f switch_median_ms=%.3f switch_p95_ms=%.3f "
      "scan_ms=%.1f scan_windows=%d frame_w=%d frame_h=%d outlined=%d\n",
      Percentile(moves, 0.5), Percentile(moves, 0.95), Percentile(switches, 0.5),
      Percentile(switches, 0.95), scan_ms, windows, kWidth, kHeight, outlined ? 1 : 0);
  return outlined ? 0 : 1;
}

// pallix_poller: the stand-in that gives the benchmarks their floors. It
// answers dialogs with the very calls Pallix makes (FindWindowA, then
// FindWindowExA and BM_CLICK by SendMessageA), with none of the rest of the
// program around them.
//
//   pallix_poller --class C --title T --button B [--period-ms N]
//                 [--timer] [--entries N] [--nested]
//
// By default it sleeps between lookups, every millisecond: what is left of
// its answer latency is the cost of the dialog, the lookup and the click.
// With --timer it looks on the ticks of a window timer instead, as Pallix
// does, and with --entries N it looks for N dialogs titled "T 1" to "T N";
// left idle, it shows what such a timer and its lookups cost the system.
//
// With --nested it looks for the button among all of the dialog's
// descendants, by caption whatever its class, as the dialogs laid out as a
// TaskDialog or a Windows Forms dialog hold theirs, and it presses the
// button only once it shows, as Pallix does: such a dialog costs more to
// show than a message box, a cost that a press before it shows would hide.
//
// Runs until it is ended.
#include <windows.h>

// After windows.h, which it needs.
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string g_class, g_button;
std::vector<std::string> g_titles;
bool g_nested = false;

BOOL CALLBACK FindCaption(HWND child, LPARAM found) {
  char text[256];
  if (GetWindowTextA(child, text, sizeof text) > 0 && g_button == text) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

void LookAndClick() {
  static const LPARAM kNothing = 0;
  for (const std::string& title : g_titles) {
    HWND dialog = FindWindowA(g_class.c_str(), title.c_str());
    if (!dialog) continue;
    HWND target = nullptr;
    if (g_nested) {
      EnumChildWindows(dialog, FindCaption, reinterpret_cast<LPARAM>(&target));
      if (target && !IsWindowVisible(target)) continue;
    } else {
      target = FindWindowExA(dialog, nullptr, "Button", g_button.c_str());
    }
    if (target) SendMessageA(target, BM_CLICK, 0, reinterpret_cast<LPARAM>(&kNothing));
  }
}

LRESULT CALLBACK TimerWindow(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    LookAndClick();
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

int RunTimer(UINT period_ms) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = TimerWindow;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "PallixPollerTimer";
  RegisterClassA(&window_class);
  HWND window = CreateWindowA("PallixPollerTimer", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                              window_class.hInstance, nullptr);
  if (!window || !SetTimer(window, 1, period_ms, nullptr)) {
    std::fprintf(stderr, "cannot make the timer window (error %lu)\n", GetLastError());
    return 1;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string title;
  long period_ms = 1, entries = 0;
  bool timer = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--timer") == 0) {
      timer = true;
      continue;
    }
    if (std::strcmp(argv[i], "--nested") == 0) {
      g_nested = true;
      continue;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "option %s needs a value\n", argv[i]);
      return 2;
    }
    const char* value = argv[++i];
    if (std::strcmp(argv[i - 1], "--class") == 0) {
      g_class = value;
    } else if (std::strcmp(argv[i - 1], "--title") == 0) {
      title = value;
    } else if (std::strcmp(argv[i - 1], "--button") == 0) {
      g_button = value;
    } else if (std::strcmp(argv[i - 1], "--period-ms") == 0) {
      period_ms = std::strtol(value, nullptr, 10);
    } else if (std::strcmp(argv[i - 1], "--entries") == 0) {
      entries = std::strtol(value, nullptr, 10);
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i - 1]);
      return 2;
    }
  }
  if (g_class.empty() || g_button.empty() || period_ms < 1 || entries < 0) {
    std::fputs(
        "usage: pallix_poller --class C --title T --button B [--period-ms N] [--timer]\n"
        "                     [--entries N] [--nested]\n",
        stderr);
    return 2;
  }
  if (entries == 0) {
    g_titles.push_back(title);
  } else {
    for (long i = 1; i <= entries; ++i) g_titles.push_back(title + " " + std::to_string(i));
  }
  if (timer) return RunTimer(static_cast<UINT>(period_ms));
  // Sleep(1) sleeps about a millisecond only at the finest timer resolution.
  timeBeginPeriod(1);
  for (;;) {
    LookAndClick();
    Sleep(static_cast<DWORD>(period_ms));
  }
}

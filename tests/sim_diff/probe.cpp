// The scene with real windows, asked through the same seam on Windows.
#include <windows.h>

#include <iostream>
#include <map>

#include "platform/win32/handles.h"
#include "tests/sim_diff/scene.h"

namespace {

using namespace pallix;

std::map<HWND, int> g_clicks;

// Parents count the clicks their buttons report.
LRESULT CALLBACK SceneProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    ++g_clicks[reinterpret_cast<HWND>(lparam)];
    return 0;
  }
  if (msg == WM_ERASEBKGND || msg == WM_PAINT) {
    // Leave the pixels alone: the probe sets and reads them itself.
    ValidateRect(hwnd, nullptr);
    return 1;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

class WinBuilder final : public simdiff::Builder {
 public:
  WinBuilder() {
    for (const char* cls : {"PxDialog", "PxFrame"}) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = SceneProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = cls;
      RegisterClassA(&wc);
    }
  }
  Hwnd Make(const simdiff::SceneWindow& w, Hwnd parent, Hwnd owner) override {
    DWORD style = parent ? WS_CHILD : (w.popup ? WS_POPUP : WS_OVERLAPPEDWINDOW);
    if (!w.enabled) style |= WS_DISABLED;
    HWND hwnd = CreateWindowExA(0, w.class_name, w.text, style, w.place.left, w.place.top,
                                w.place.right - w.place.left, w.place.bottom - w.place.top,
                                parent ? win32::ToHwnd(parent) : win32::ToHwnd(owner), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (w.visible) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return win32::FromHwnd(hwnd);
  }
  int Clicks(Hwnd button) override { return g_clicks[win32::ToHwnd(button)]; }
  void Destroy(Hwnd window) override { DestroyWindow(win32::ToHwnd(window)); }
  void Settle() override {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(10);
    }
  }
};

}  // namespace

int main() {
  WinBuilder builder;
  simdiff::Run(builder, std::cout);
  return 0;
}

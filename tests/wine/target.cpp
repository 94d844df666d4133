// pallix_wine_target: a window with known contents for checking the driver.
// Its children are fixed, a click on either button shows in its title, and
// one private message answers with the sum of its parameters.
#include <windows.h>

namespace {

constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
// Answers wparam + lparam, so that a test sees both numbers arrive whole.
constexpr UINT kMsgSum = WM_APP + 1;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        SetWindowTextA(window,
                       LOWORD(wparam) == kIdYes ? "Driver target: Yes" : "Driver target: No");
      }
      return 0;
    case kMsgSum:
      return static_cast<LRESULT>(wparam) + lparam;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = TargetProc;
  window_class.hInstance = instance;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = "PallixDriverTarget";
  RegisterClassA(&window_class);

  HWND window = CreateWindowA("PallixDriverTarget", "Driver target", WS_OVERLAPPEDWINDOW, 50, 60,
                              300, 200, nullptr, nullptr, instance, nullptr);
  const DWORD child = WS_CHILD | WS_VISIBLE;
  CreateWindowA("Static", "line one\r\nline two\twith a tab", child, 10, 10, 270, 40, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)), instance, nullptr);
  CreateWindowA("Button", "Yes", child | BS_PUSHBUTTON, 10, 60, 80, 25, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdYes)), instance, nullptr);
  CreateWindowA("Button", "No", child | BS_PUSHBUTTON, 100, 60, 80, 25, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdNo)), instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

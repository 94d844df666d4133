#include "platform/user32.h"

#include "platform/win32/handles.h"

namespace pallix {

using win32::FromHwnd;
using win32::ToHwnd;

Hwnd FindWindowA(const char* class_name, const char* window_name) {
  return FromHwnd(::FindWindowA(class_name, window_name));
}

Hwnd FindWindowExA(Hwnd parent, Hwnd child_after, const char* class_name, const char* window_name) {
  return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(child_after), class_name, window_name));
}

std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                           std::intptr_t lparam) {
  return ::SendMessageA(ToHwnd(window), message, wparam, lparam);
}

int GetWindowTextA(Hwnd window, char* buffer, int max_count) {
  return ::GetWindowTextA(ToHwnd(window), buffer, max_count);
}

int GetClassNameA(Hwnd window, char* buffer, int max_count) {
  return ::GetClassNameA(ToHwnd(window), buffer, max_count);
}

Hwnd GetParent(Hwnd window) {
  return FromHwnd(::GetParent(ToHwnd(window)));
}

Hwnd GetWindow(Hwnd window, unsigned command) {
  return FromHwnd(::GetWindow(ToHwnd(window), command));
}

Hwnd GetDesktopWindow() {
  return FromHwnd(::GetDesktopWindow());
}

bool IsWindow(Hwnd window) {
  return ::IsWindow(ToHwnd(window)) != FALSE;
}

bool GetCursorPos(Point* point) {
  POINT p{};
  if (!point || !::GetCursorPos(&p)) return false;
  *point = Point{p.x, p.y};
  return true;
}

Hwnd WindowFromPoint(Point point) {
  return FromHwnd(::WindowFromPoint(POINT{point.x, point.y}));
}

Hwnd SetCapture(Hwnd window) {
  return FromHwnd(::SetCapture(ToHwnd(window)));
}

bool ReleaseCapture() {
  return ::ReleaseCapture() != FALSE;
}

bool GetWindowRect(Hwnd window, Rect* rect) {
  RECT r{};
  if (!rect || !::GetWindowRect(ToHwnd(window), &r)) return false;
  *rect = Rect{r.left, r.top, r.right, r.bottom};
  return true;
}

Hwnd GetActiveWindow() {
  return FromHwnd(::GetActiveWindow());
}

}  // namespace pallix

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

Hmenu GetSystemMenu(Hwnd window, bool revert) {
  return Hmenu{reinterpret_cast<std::uintptr_t>(::GetSystemMenu(ToHwnd(window), revert))};
}

int GetMenuItemCount(Hmenu menu) {
  return ::GetMenuItemCount(reinterpret_cast<HMENU>(menu.value));
}

bool RemoveMenu(Hmenu menu, unsigned position, unsigned flags) {
  return ::RemoveMenu(reinterpret_cast<HMENU>(menu.value), position, flags) != FALSE;
}

bool DrawMenuBar(Hwnd window) {
  return ::DrawMenuBar(ToHwnd(window)) != FALSE;
}

bool SetWindowPos(Hwnd window, std::intptr_t insert_after, int x, int y, int cx, int cy,
                  unsigned flags) {
  return ::SetWindowPos(ToHwnd(window), reinterpret_cast<HWND>(insert_after), x, y, cx, cy,
                        flags) != FALSE;
}

}  // namespace pallix

// Window-system calls, under their Windows names. Strings are 8-bit text in
// the system's ANSI code page, exactly as Windows' "A" functions take them; a
// null pointer means what it means to Windows (for FindWindowA: any).
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pallix {

Hwnd FindWindowA(const char* class_name, const char* window_name);
Hwnd FindWindowExA(Hwnd parent, Hwnd child_after, const char* class_name, const char* window_name);
std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                           std::intptr_t lparam);

int GetWindowTextA(Hwnd window, char* buffer, int max_count);
int GetClassNameA(Hwnd window, char* buffer, int max_count);
Hwnd GetParent(Hwnd window);
Hwnd GetWindow(Hwnd window, unsigned command);
Hwnd GetDesktopWindow();
bool IsWindow(Hwnd window);

bool GetCursorPos(Point* point);
Hwnd WindowFromPoint(Point point);
Hwnd SetCapture(Hwnd window);
bool ReleaseCapture();
bool GetWindowRect(Hwnd window, Rect* rect);
Hwnd GetActiveWindow();

// The window menu (the caption bar's menu) and its items.
Hmenu GetSystemMenu(Hwnd window, bool revert);
int GetMenuItemCount(Hmenu menu);
bool RemoveMenu(Hmenu menu, unsigned position, unsigned flags);
bool DrawMenuBar(Hwnd window);

// insert_after is a window handle or kHwndTopmost / kHwndNoTopmost.
bool SetWindowPos(Hwnd window, std::intptr_t insert_after, int x, int y, int cx, int cy,
                  unsigned flags);

}  // namespace pallix

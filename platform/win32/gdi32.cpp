#include "platform/gdi32.h"

#include "platform/win32/handles.h"

namespace pallix {

using win32::FromHdc;
using win32::ToHdc;
using win32::ToHwnd;

Hdc GetWindowDC(Hwnd window) {
  return FromHdc(::GetWindowDC(ToHwnd(window)));
}

int ReleaseDC(Hwnd window, Hdc dc) {
  return ::ReleaseDC(ToHwnd(window), ToHdc(dc));
}

Colorref GetPixel(Hdc dc, int x, int y) {
  return Colorref{::GetPixel(ToHdc(dc), x, y)};
}

Colorref SetPixel(Hdc dc, int x, int y, Colorref color) {
  return Colorref{::SetPixel(ToHdc(dc), x, y, color.value)};
}

}  // namespace pallix

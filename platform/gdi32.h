// Pixel access to a whole window, non-client area included.
#pragma once

#include "platform/types.h"

namespace pallix {

Hdc GetWindowDC(Hwnd window);
int ReleaseDC(Hwnd window, Hdc dc);
Colorref GetPixel(Hdc dc, int x, int y);
Colorref SetPixel(Hdc dc, int x, int y, Colorref color);

}  // namespace pallix

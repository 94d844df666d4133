// The red frame round the window under the pointer while the user drags the
// picker: painted straight into that window's pixels, edge by edge, and
// painted over again with one colour per edge, sampled before it was drawn;
// then the window is asked to repaint what lay under the frame.
#pragma once

#include <windows.h>

#include <array>

namespace pallix {

struct Outline {
  // The window that carries the frame; erasing does not forget it.
  HWND outlined_hwnd = nullptr;
  COLORREF saved_color_left = 0;
  COLORREF saved_color_bottom = 0;
  COLORREF saved_color_right = 0;
  COLORREF saved_color_top = 0;
};

// Where each edge is sampled, for a window W x H pixels: left, bottom,
// right, top. The middle of each edge counted in painting order, halves
// rounded to the even neighbour.
std::array<POINT, 4> OutlineSamples(int width, int height);

void draw_outline(Outline& outline, HWND picked_hwnd);
void remove_outline(const Outline& outline, HWND picked_hwnd);

}  // namespace pallix

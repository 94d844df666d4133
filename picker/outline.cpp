#include "picker/outline.h"

#include <cmath>

namespace pallix {
namespace {

constexpr COLORREF kFrameColour = RGB(255, 0, 0);

LONG RoundHalfEven(double value) {
  return static_cast<LONG>(std::nearbyint(value));  // the default mode rounds halves to even
}

// One solid rectangle per edge instead of a pixel call per frame pixel: the
// same pixels end in the same colours, at a fraction of the cost.
void PaintEdge(HDC dc, const RECT& edge, COLORREF colour) {
  if (edge.right <= edge.left || edge.bottom <= edge.top) return;
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &edge, brush);
  ::DeleteObject(brush);
}

bool WindowSize(HWND window, int* width, int* height) {
  RECT r;
  if (!::GetWindowRect(window, &r)) return false;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return true;
}

// The four edges as the rectangles painted in order (left, bottom, right,
// top). Drawing leaves the right edge's row 0 to the top edge; erasing paints
// the right edge whole.
std::array<RECT, 4> OutlineEdges(int width, int height, bool erasing) {
  return {RECT{0, 0, 1, height}, RECT{0, height - 1, width, height},
          RECT{width - 1, erasing ? 0 : 1, width, height}, RECT{0, 0, width, 1}};
}

}  // namespace

std::array<POINT, 4> OutlineSamples(int width, int height) {
  double w = width, h = height;
  return {POINT{0, RoundHalfEven(h / 2)}, POINT{RoundHalfEven(w / 2), height - 1},
          POINT{width - 1, RoundHalfEven((h - 1) - h / 2)},
          POINT{RoundHalfEven((w - 1) - w / 2), 0}};
}

void draw_outline(Outline& outline, HWND picked_hwnd) {
  outline.outlined_hwnd = picked_hwnd;
  int width = 0, height = 0;
  if (!WindowSize(picked_hwnd, &width, &height)) return;
  HDC dc = ::GetWindowDC(picked_hwnd);
  if (!dc) return;
  // Each sample is taken just before its own edge is painted, after the
  // earlier edges, so every pixel of the frame ends red.
  COLORREF* saved[4] = {&outline.saved_color_left, &outline.saved_color_bottom,
                        &outline.saved_color_right, &outline.saved_color_top};
  std::array<POINT, 4> samples = OutlineSamples(width, height);
  std::array<RECT, 4> edges = OutlineEdges(width, height, false);
  for (int i = 0; i < 4; ++i) {
    *saved[i] = ::GetPixel(dc, samples[i].x, samples[i].y);
    PaintEdge(dc, edges[i], kFrameColour);
  }
  ::ReleaseDC(picked_hwnd, dc);
}

void remove_outline(const Outline& outline, HWND picked_hwnd) {
  // The window's current rectangle: one that moved or changed size since it
  // was outlined gets the kept colours along its new border.
  int width = 0, height = 0;
  if (!WindowSize(picked_hwnd, &width, &height)) return;
  HDC dc = ::GetWindowDC(picked_hwnd);
  if (!dc) return;
  const COLORREF colours[4] = {outline.saved_color_left, outline.saved_color_bottom,
                               outline.saved_color_right, outline.saved_color_top};
  std::array<RECT, 4> edges = OutlineEdges(width, height, true);
  for (int i = 0; i < 4; ++i) PaintEdge(dc, edges[i], colours[i]);
  ::ReleaseDC(picked_hwnd, dc);
  // One colour per edge is not what was there (a gradient caption, text
  // touching the border): a window that paints itself puts its own pixels
  // back. One that does not keeps the colours painted above.
  ::RedrawWindow(picked_hwnd, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace pallix

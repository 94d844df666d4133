// The walk over a captured window's descendants: every titled one is listed
// in List1, and the first three buttons are offered as choices in cmd1/Op1;
// the button the pick was let go over is chosen, and offered third when it
// comes later.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

namespace pallix {

struct ScanControls {
  std::array<HWND, 3> cmd1;
  std::array<HWND, 3> Op1;
  HWND List1;
};

// Buttons found since the last press on the picker.
struct ButtonChooser {
  ScanControls controls;
  std::int16_t button_count = 0;
  HWND released = nullptr;  // the window the pick was let go over
  int chosen = 0;           // the Op1 chosen
  // Whether each offered caption has characters the ANSI code page lacks.
  std::array<bool, 3> beyond_ansi{};
  std::array<HWND, 3> offered{};  // the buttons behind cmd1
  // Whether another pressable button of the same caption comes before each
  // offered one: the monitor would press that one instead.
  std::array<bool, 3> twin{};
};

// Walks every descendant of start, depth first (a child before its own
// descendants), yielding to the event loop once per window; the buttons it
// offers are those the monitor can press. A start of 0 is replaced by the
// desktop window.
void CollectChildWindows(HWND& start, ButtonChooser& chooser);
void ScanPickedWindow(HWND& hwnd, ButtonChooser& chooser);

}  // namespace pallix

#include "picker/scan.h"

#include <string>

#include "config/config_path.h"
#include "ui/toolkit.h"

namespace pallix {
namespace {

std::string ReadText(HWND window, int (*read)(HWND, LPSTR, int)) {
  char buffer[255];
  int n = read(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool IsButtonClass(std::string name) {
  ::CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
  return name == "BUTTON";
}

}  // namespace

void CollectChildWindows(HWND& start, ButtonChooser& chooser) {
  if (!start) start = ::GetDesktopWindow();
  for (HWND child = ::GetWindow(start, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    // The main window stays responsive during a long walk, and the chooser
    // fills while the user watches.
    DoEvents();
    HWND descend = child;
    CollectChildWindows(descend, chooser);
    std::string text = ReadText(child, ::GetWindowTextA);
    std::string window_class = ReadText(child, ::GetClassNameA);
    if (IsButtonClass(window_class)) {
      ++chooser.button_count;
      // The button the user pointed at is the one they mean, wherever it
      // stands; one without a caption could never be found again.
      bool pointed = child == chooser.released && !text.empty();
      int i = chooser.button_count <= 3 ? chooser.button_count - 1 : pointed ? 2 : -1;
      if (i >= 0) {
        const ScanControls& c = chooser.controls;
        SetVisible(c.cmd1[i], true);
        SetVisible(c.Op1[i], true);
        if (pointed) chooser.chosen = i;
        SetOptionValue(c.Op1[chooser.chosen], true);
        SetCaption(c.cmd1[i], text);
      }
    }
    if (!text.empty()) {
      ListAddItem(chooser.controls.List1, std::string(TrimBlanks(text)) + '\t' + window_class);
    }
  }
}

void ScanPickedWindow(HWND& hwnd, ButtonChooser& chooser) {
  // List1 lies outside the visible client area: redrawing it after every
  // line costs more than the whole walk under some window systems.
  HWND list = chooser.controls.List1;
  ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  chooser.chosen = 0;
  CollectChildWindows(hwnd, chooser);
  ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

}  // namespace pallix

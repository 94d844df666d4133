#include "picker/scan.h"

#include <string>

#include "config/config_path.h"
#include "ui/toolkit.h"
#include "watch/dialog_buttons.h"
#include "watch/dialog_message.h"

namespace pallix {

void CollectChildWindows(HWND& start, ButtonChooser& chooser) {
  if (!start) start = ::GetDesktopWindow();
  for (HWND child = ::GetWindow(start, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    // The main window stays responsive during a long walk, and the chooser
    // fills while the user watches.
    DoEvents();
    // A window before its own children: the order the monitor looks for
    // buttons in, so that the first button of a caption offered is the one
    // it presses.
    std::string text = ControlText(child);
    if (IsDialogButton(child)) {
      ++chooser.button_count;
      // The button the user pointed at is the one they mean, wherever it
      // stands.
      bool pointed = child == chooser.released;
      int i = chooser.button_count <= 3 ? chooser.button_count - 1 : pointed ? 2 : -1;
      if (i >= 0) {
        const ScanControls& c = chooser.controls;
        SetVisible(c.cmd1[i], true);
        SetVisible(c.Op1[i], true);
        if (pointed) chooser.chosen = i;
        SetOptionValue(c.Op1[chooser.chosen], true);
        SetCaption(c.cmd1[i], text);
        chooser.beyond_ansi[i] = !AnsiHoldsText(child);
        chooser.offered[i] = child;
      }
    }
    if (!text.empty()) {
      ListAddItem(chooser.controls.List1, std::string(TrimBlanks(text)) + '\t' + ClassName(child));
    }
    HWND descend = child;
    CollectChildWindows(descend, chooser);
  }
}

void ScanPickedWindow(HWND& hwnd, ButtonChooser& chooser) {
  // List1 lies outside the visible client area: redrawing it after every
  // line costs more than the whole walk under some window systems.
  HWND list = chooser.controls.List1;
  ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  chooser.chosen = 0;
  HWND dialog = hwnd;
  CollectChildWindows(hwnd, chooser);
  ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  for (int i = 0; i < 3; ++i) {
    chooser.twin[i] = chooser.offered[i] && HasEarlierTwin(dialog, chooser.offered[i]);
  }
}

}  // namespace pallix

// A dialog about to be clicked, as the monitor read it just before the
// click: the answer log and the recent dialogs both take it from here, so
// that the click waits for one read of it, not one for each, and neither
// needs the dialog afterwards, when its program may already have closed it.
#pragma once

#include <windows.h>

#include <string>

namespace pallix {

struct ClickedDialog {
  HWND dialog = nullptr;
  // Opened for PROCESS_QUERY_LIMITED_INFORMATION by the monitor, which
  // closes it: its name can be asked after the program has ended. Null when
  // Windows refused.
  HANDLE process = nullptr;
  std::string message = {};  // as the monitor reads messages
};

}  // namespace pallix

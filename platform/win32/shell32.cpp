#include "platform/shell32.h"

#include "platform/win32/handles.h"  // <windows.h> first: shellapi.h needs it

#include <shellapi.h>

namespace pallix {

std::intptr_t ShellExecuteA(Hwnd window, const char* operation, const char* file,
                            const char* parameters, const char* directory, int show_command) {
  HINSTANCE result =
      ::ShellExecuteA(win32::ToHwnd(window), operation, file, parameters, directory, show_command);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace pallix

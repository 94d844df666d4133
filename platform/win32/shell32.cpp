#include "platform/shell32.h"

#include "platform/win32/handles.h"  // <windows.h> first: shellapi.h needs it

#include <shellapi.h>

#include <cstddef>
#include <cstring>

namespace pallix {

std::intptr_t ShellExecuteA(Hwnd window, const char* operation, const char* file,
                            const char* parameters, const char* directory, int show_command) {
  HINSTANCE result =
      ::ShellExecuteA(win32::ToHwnd(window), operation, file, parameters, directory, show_command);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace pallix

namespace pallix {

bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) {
  // The first layout of the record, whatever this shell's newest one is.
  // The first layout ends with its 64-byte tip: 88 bytes on 32-bit Windows,
  // 104 here, where handles are 8 bytes and aligned.
  static_assert(offsetof(NOTIFYICONDATAA, szTip) + 64 == (sizeof(void*) == 8 ? 104 : 88));
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = win32::ToHwnd(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callback_message;
  if (record.icon_resource) {
    data.hIcon = static_cast<HICON>(::LoadImageA(
        ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(record.icon_resource), IMAGE_ICON,
        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  static_assert(sizeof record.tip == 64);
  std::memcpy(data.szTip, record.tip, sizeof record.tip);
  return ::Shell_NotifyIconA(message, &data) != FALSE;
}

}  // namespace pallix

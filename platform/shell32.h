// Shell calls.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pallix {

inline constexpr int kSwShowDefault = 10;

std::intptr_t ShellExecuteA(Hwnd window, const char* operation, const char* file,
                            const char* parameters, const char* directory, int show_command);

// The notification-area record in its first layout. The platform lays it out
// as Windows expects it (NOTIFYICONDATAA_V1_SIZE on this architecture); the
// icon is named by the program's resource id, 0 for none.
struct NotifyIconRecord {
  Hwnd window;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callback_message = 0;
  int icon_resource = 0;
  char tip[64] = {};
};

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimDelete = 2;
inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;

bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record);

}  // namespace pallix

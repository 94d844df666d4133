// Shell calls.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pallix {

inline constexpr int kSwShowDefault = 10;

std::intptr_t ShellExecuteA(Hwnd window, const char* operation, const char* file,
                            const char* parameters, const char* directory, int show_command);

}  // namespace pallix

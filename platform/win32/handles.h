// Conversions between the seam's value types and Windows' own. Window
// handles have 32 significant bits; 64-bit Windows sign-extends them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/types.h"

namespace pallix::win32 {

inline HWND ToHwnd(Hwnd h) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h.value)));
}

inline Hwnd FromHwnd(HWND h) {
  return Hwnd{static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h))};
}

inline HDC ToHdc(Hdc dc) {
  return reinterpret_cast<HDC>(dc.value);
}
inline Hdc FromHdc(HDC dc) {
  return Hdc{reinterpret_cast<std::uintptr_t>(dc)};
}

}  // namespace pallix::win32

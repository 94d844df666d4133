// Small value types that cross the platform seam. Nothing here knows which
// platform is underneath.
#pragma once

#include <cstdint>

namespace pallix {

// A window handle as the window system hands it out: 32 significant bits,
// 0 meaning "no window". 64-bit Windows sign-extends handles, so the value is
// kept as the 32 bits and widened by the platform layer alone.
struct Hwnd {
  std::uint32_t value = 0;

  constexpr Hwnd() = default;
  constexpr explicit Hwnd(std::uint32_t v) : value(v) {}
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Hwnd, Hwnd) = default;
};

// A device context; only ever handed back to the platform that gave it.
struct Hdc {
  std::uintptr_t value = 0;
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Hdc, Hdc) = default;
};

// A menu: a popup menu of ours or a window's window menu.
struct Hmenu {
  std::uintptr_t value = 0;
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Hmenu, Hmenu) = default;
};

// A colour as Windows stores it: 0x00BBGGRR.
struct Colorref {
  std::uint32_t value = 0;
  friend constexpr bool operator==(Colorref, Colorref) = default;
};

constexpr Colorref Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Colorref{static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
                  (static_cast<std::uint32_t>(b) << 16)};
}

// GetPixel's answer for a pixel outside the device context.
inline constexpr Colorref kClrInvalid{0xFFFFFFFFu};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// Window-system numbers the program passes. They carry a k prefix because
// <windows.h> defines the plain names as macros in the one place that sees
// both.
inline constexpr std::uint32_t kWmGetText = 0x000D;
inline constexpr std::uint32_t kBmClick = 0x00F5;
inline constexpr unsigned kGwHwndNext = 2;
inline constexpr unsigned kGwChild = 5;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr unsigned kMfByPosition = 0x0400;
inline constexpr unsigned kMfRemove = 0x1000;
inline constexpr std::intptr_t kHwndTopmost = -1;
inline constexpr std::intptr_t kHwndNoTopmost = -2;

// Message-box styles and answers.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconHand = 0x10;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

}  // namespace pallix

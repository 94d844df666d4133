// The maker's web site, opened from the logo, the maker's name, the label
// "Title" and the tray menu.
#pragma once

#include <windows.h>

namespace pallix {

inline constexpr const char* kMakerUrl = "https://korrel.example/pallix/";
inline constexpr const char* kMakerSiteName = "korrel.example";

void toUrl(HWND form);

}  // namespace pallix

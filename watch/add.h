// "Add": stores the captured dialog, with the chosen button, as a new entry
// of the chosen configuration file.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

namespace pallix {

inline constexpr const char* kDuplicateMessage = "Duplicate entry. Item has NOT been added!";
inline constexpr const char* kTableFullMessage =
    "Only 20 windows can be watched. Item has NOT been added!";

struct AddControls {
  HWND Combo1;  // the chosen file
  HWND Text1;   // the captured title
  std::array<HWND, 3> cmd1;
  std::array<HWND, 3> Op1;
  HWND Label3;
};

void Command3_Click(const AddControls& controls, const std::string& picked_class);

}  // namespace pallix

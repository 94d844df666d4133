// Starting with Windows: Pallix's shortcut in the user's Startup folder, the
// tray menu item that makes and removes it, and the switch the shortcut
// starts Pallix with.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pallix {

inline constexpr const char* kBackgroundSwitch = "/background";
inline constexpr const char* kStartupLinkName = "Pallix.lnk";
inline constexpr const char* kStartupCaption = "Start with Windows";

// Whether the arguments (the program's name left out) ask for a start in
// the background: "/background" or "-background" in any case, anywhere
// among them. Other arguments are ignored.
bool HasBackgroundSwitch(const std::vector<std::string>& args);

// Whether a shortcut's target is this program's file, as Windows compares
// file names: without regard to case, "/" and "\" alike, doubled
// separators as one.
bool IsSameProgram(std::string_view link_target, std::string_view exe);

// What a shortcut holds.
struct ShortcutInfo {
  std::string target, folder, arguments;
};
// Read through the shell: nothing when the file is missing, unreadable or no
// shortcut.
std::optional<ShortcutInfo> ReadShortcut(const std::string& path);

// Whether the shortcut in the Startup folder starts this very program.
bool StartsWithWindows();
// The check mark of the item tells what StartsWithWindows says now.
void ShowStartupCheck(HMENU traymenu, int item);
// Makes the shortcut, or removes it when it is ours; a refusal is reported
// in a box, and the check mark tells what is true afterwards.
void startup_Click(HMENU traymenu, int item);

}  // namespace pallix

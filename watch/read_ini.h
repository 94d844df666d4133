// "Read ini": loads the chosen configuration file into the watch table.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "watch/watch_table.h"

namespace pallix {

// The controls "Read ini" reads and fills.
struct ReadIniControls {
  HWND combo1;  // the chosen file's name
  HWND list2;   // one line per loaded entry
  HWND text3;   // the stored count
};

inline constexpr const char* kNoWindowsMessage = "There is no windows set up  for control";

// The line List2 shows for one slot.
std::string WatchListLine(const WatchTable& table, int slot);

// What the user is told when the file holds more entries than can be watched.
std::string TooManyEntriesMessage(std::string_view file_name, std::int64_t count);

void Command5_Click(WatchTable& table, const ReadIniControls& controls);

}  // namespace pallix

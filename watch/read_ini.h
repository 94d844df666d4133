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

// The line List2 shows for one slot; the message, when the entry has one,
// after a fourth marker.
std::string WatchListLine(const WatchTable& table, int slot);

// What the user is told when the file holds more entries than can be watched.
std::string TooManyEntriesMessage(std::string_view file_name, std::int64_t count);

// The stored message of a message value as read: blanks alone are no
// message.
std::string StoredMessage(std::string_view value);

// Fills the table and List2 from the chosen file. `say_none`: a file with
// no entries is reported in a box.
void LoadWatchTable(WatchTable& table, const ReadIniControls& controls, bool say_none);

void Command5_Click(WatchTable& table, const ReadIniControls& controls);

}  // namespace pallix

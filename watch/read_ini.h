// "Read ini": loads the chosen configuration file into the watch table.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "watch/watch_table.h"

namespace pallix {

// The controls "Read ini" reads and fills, and who shows the entries.
struct ReadIniControls {
  HWND combo1;  // the chosen file's name
  HWND text3;   // the stored count
  // Called after every load, for the entries in view.
  std::function<void()> loaded = {};
};

inline constexpr const char* kNoWindowsMessage = "There is no windows set up  for control";

// What the user is told when the file holds more entries than can be watched.
std::string TooManyEntriesMessage(std::string_view file_name, std::int64_t count);

// The stored message of a message value as read: blanks alone are no
// message.
std::string StoredMessage(std::string_view value);

// Fills the table from the chosen file. `say_none`: a file with no entries
// is reported in a box.
void LoadWatchTable(WatchTable& table, const ReadIniControls& controls, bool say_none);

// The same from the file at `path`, named `file_name` to the user.
void LoadWatchFile(WatchTable& table, const ReadIniControls& controls, const std::string& path,
                   std::string_view file_name, bool say_none);

// The file the table was loaded from, loaded again, without a box for no
// entries.
void ReloadWatchTable(WatchTable& table, const ReadIniControls& controls);

void Command5_Click(WatchTable& table, const ReadIniControls& controls);

}  // namespace pallix

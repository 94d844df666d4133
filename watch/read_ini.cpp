#include "watch/read_ini.h"

#include <algorithm>
#include <string>

#include "config/config_path.h"
#include "config/ini_files.h"
#include "ui/toolkit.h"
#include "watch/watch_entry.h"

namespace pallix {

std::string WatchListLine(const WatchTable& table, int slot) {
  std::string line = table.watch_title[slot] + "<-->" + table.watch_button[slot] + "<-->" +
                     table.watch_class[slot];
  if (!table.watch_message[slot].empty()) line += "<-->" + table.watch_message[slot];
  return line;
}

std::string StoredMessage(std::string_view value) {
  return std::string(TrimBlanks(value).empty() ? std::string_view() : value);
}

std::string TooManyEntriesMessage(std::string_view file_name, std::int64_t count) {
  std::string message = std::string(file_name) + " lists " + std::to_string(count) +
                        " windows, but only " + std::to_string(kWatchSlots) +
                        " can be watched.\r\nWindows " + std::to_string(kWatchSlots + 1) + " to " +
                        std::to_string(count) + " are not watched.";
  return message;
}

void LoadWatchTable(WatchTable& table, const ReadIniControls& controls, bool say_none) {
  INIFiles ini;
  ListClear(controls.list2);
  table.Clear();
  std::string file_name = GetCaption(controls.combo1);
  ini.SetFileName(ConfigPath(AppPath(), file_name));

  std::string count_text = ini.ReadINI("WindowTitles", "Num_Windows", "0");
  SetCaption(controls.text3, TrimBlanks(count_text));
  if (count_text == "0") {
    if (say_none) MsgBox(kNoWindowsMessage, MB_OK | MB_ICONINFORMATION, kAppTitle);
    return;
  }

  // The table has room for 20; a larger count loads the first 20 and says
  // so, instead of reading thousands of keys that could never be watched.
  std::int64_t count = LeadingNumber(count_text);
  std::int64_t loaded = std::min<std::int64_t>(count, kWatchSlots);
  for (int i = 1; i <= loaded; ++i) {
    WatchEntry entry =
        ParseWatchEntry(ini.ReadINI("WindowTitles", "Title" + std::to_string(i), "NoTitle"));
    table.watch_class[i] = std::move(entry.window_class);
    table.watch_title[i] = std::move(entry.title);
    table.watch_button[i] = std::move(entry.button);
    // A message belongs to an entry the monitor can answer; beside a missing
    // or malformed one it makes nothing.
    if (!table.watch_class[i].empty() && !table.watch_button[i].empty()) {
      table.watch_message[i] =
          StoredMessage(ini.ReadINI("WindowTitles", "Message" + std::to_string(i), ""));
    }
    ListAddItem(controls.list2, WatchListLine(table, i));
  }
  if (count > kWatchSlots) {
    MsgBox(TooManyEntriesMessage(file_name, count), MB_OK | MB_ICONEXCLAMATION, kAppTitle);
  }
}

void Command5_Click(WatchTable& table, const ReadIniControls& controls) {
  LoadWatchTable(table, controls, true);
}

}  // namespace pallix

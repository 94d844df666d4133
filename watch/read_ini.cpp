#include "watch/read_ini.h"

#include <algorithm>
#include <string>

#include "config/config_path.h"
#include "config/ini_files.h"
#include "ui/toolkit.h"
#include "watch/watch_entry.h"

namespace pallix {

std::string StoredMessage(std::string_view value) {
  return std::string(TrimBlanks(value).empty() ? std::string_view() : value);
}

std::string TooManyEntriesMessage(std::string_view file_name, std::int64_t count) {
  std::string message = std::string(file_name) + " lists " + std::to_string(count) +
                        " windows, but only " + std::to_string(kWatchLimit) +
                        " can be watched.\r\nWindows " + std::to_string(kWatchLimit + 1) + " to " +
                        std::to_string(count) + " are not watched.";
  return message;
}

namespace {

void Loaded(const ReadIniControls& controls) {
  if (controls.loaded) controls.loaded();
}

}  // namespace

void LoadWatchFile(WatchTable& table, const ReadIniControls& controls, const std::string& path,
                   std::string_view file_name, bool say_none) {
  INIFiles ini;
  table.Clear();
  // Taken before the first read: a change made while the file is read is
  // seen as one afterwards.
  table.source = path;
  table.stamp = StampOf(path);
  // Read again once the entries are: the same, they are what was loaded.
  std::optional<std::string> bytes = FileBytes(path);
  auto loaded = [&] {
    if (bytes != FileBytes(path)) bytes.reset();
    table.loaded_bytes = std::move(bytes);
    Loaded(controls);
  };
  ini.SetFileName(path);

  std::string count_text = ini.ReadINI("WindowTitles", "Num_Windows", "0");
  SetCaption(controls.text3, TrimBlanks(count_text));
  if (count_text == "0") {
    loaded();
    if (say_none) MsgBox(kNoWindowsMessage, MB_OK | MB_ICONINFORMATION, kAppTitle);
    return;
  }

  // A larger count loads up to the limit and says so, instead of reading
  // billions of keys that could never be watched.
  std::int64_t count = LeadingNumber(count_text);
  table.Resize(static_cast<int>(std::clamp<std::int64_t>(count, 0, kWatchLimit)));
  for (int i = 1; i <= table.Count(); ++i) {
    std::string value = ini.ReadINI("WindowTitles", "Title" + std::to_string(i), "NoTitle");
    WatchEntry entry = ParseWatchEntry(value);
    std::size_t close = value.find(']');
    table.understood[i] =
        !entry.window_class.empty() && close != std::string::npos && value.find('[') < close;
    if (!table.understood[i]) table.stored[i] = value == "NoTitle" ? "" : value;
    table.watch_class[i] = std::move(entry.window_class);
    table.watch_title[i] = std::move(entry.title);
    table.watch_button[i] = std::move(entry.button);
    // A message and a program belong to an entry the monitor can answer;
    // beside a missing or malformed one they make nothing.
    if (!table.watch_class[i].empty() && !table.watch_button[i].empty()) {
      table.watch_message[i] =
          StoredMessage(ini.ReadINI("WindowTitles", "Message" + std::to_string(i), ""));
      table.watch_program[i] =
          StoredMessage(ini.ReadINI("WindowTitles", "Program" + std::to_string(i), ""));
    }
  }
  loaded();
  if (count > kWatchLimit) {
    MsgBox(TooManyEntriesMessage(file_name, count), MB_OK | MB_ICONEXCLAMATION, kAppTitle);
  }
}

void LoadWatchTable(WatchTable& table, const ReadIniControls& controls, bool say_none) {
  std::string file_name = GetCaption(controls.combo1);
  LoadWatchFile(table, controls, ConfigPath(AppPath(), file_name), file_name, say_none);
}

void ReloadWatchTable(WatchTable& table, const ReadIniControls& controls) {
  std::string path = table.source;
  LoadWatchFile(table, controls, path, path.substr(path.find_last_of('\\') + 1), false);
}

void Command5_Click(WatchTable& table, const ReadIniControls& controls) {
  LoadWatchTable(table, controls, true);
}

}  // namespace pallix

#include "watch/remove.h"

#include <string>

#include "config/ini_files.h"
#include "ui/toolkit.h"
#include "watch/add.h"
#include "watch/watch_entry.h"

namespace pallix {
namespace {

constexpr const char* kSection = "WindowTitles";
// Read back for a key that is not there; no stored value looks like it.
constexpr const char* kAbsent = "\x01";

// The file's bytes, unless Windows refuses to read them.
bool ReadWhole(const std::string& path, std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (1 << 24);
  bytes.resize(ok ? static_cast<std::size_t>(size.QuadPart) : 0);
  DWORD read = 0;
  ok = ok &&
       (bytes.empty() ||
        ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) &&
       read == bytes.size();
  ::CloseHandle(file);
  return ok;
}

// A fresh file, so that its write time is new: a cache of the profile
// functions never takes it for an older copy.
bool WriteWhole(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() ||
            (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size());
  return ::CloseHandle(file) && ok;
}

// The entry moves up from number `from` to `to`, its message with it.
bool MoveEntry(INIFiles& ini, int from, int to) {
  std::string title = ini.ReadINI(kSection, "Title" + std::to_string(from), kAbsent);
  std::string message = ini.ReadINI(kSection, "Message" + std::to_string(from), kAbsent);
  std::string to_message = "Message" + std::to_string(to);
  // A message left beside the moved entry would join it.
  bool message_ok = message != kAbsent ? ini.WriteINI(kSection, to_message, message)
                    : ini.ReadINI(kSection, to_message, kAbsent) != kAbsent
                        ? ini.WriteINI(kSection, to_message, "")
                        : true;
  return message_ok &&
         ini.WriteINI(kSection, "Title" + std::to_string(to), title == kAbsent ? "" : title);
}

bool Rewrite(const std::string& path, int n) {
  INIFiles ini;
  ini.SetFileName(path);
  std::int64_t count = LeadingNumber(ini.ReadINI(kSection, "Num_Windows", "0"));
  if (n < 1 || n > count || count > kWatchLimit) return false;
  const int last = static_cast<int>(count);
  for (int k = n; k < last; ++k) {
    if (!MoveEntry(ini, k + 1, k)) return false;
  }
  std::string last_message = "Message" + std::to_string(last);
  if (ini.ReadINI(kSection, last_message, kAbsent) != kAbsent &&
      !ini.WriteINI(kSection, last_message, "")) {
    return false;
  }
  return ini.WriteINI(kSection, "Title" + std::to_string(last), "") &&
         ini.WriteINI(kSection, "Num_Windows", std::to_string(last - 1));
}

}  // namespace

std::string RemovePrompt(std::string_view title) {
  return "Remove the entry for \"" + std::string(title) + "\"?";
}

bool RemoveEntry(const std::string& path, int n) {
  const std::string beside = path + ".new";
  std::string bytes;
  bool done = ReadWhole(path, bytes) && WriteWhole(beside, bytes) && Rewrite(beside, n) &&
              ::MoveFileExA(beside.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!done) ::DeleteFileA(beside.c_str());
  return done;
}

void Command6_Click(HWND label3, int n, WatchTable& table, const ReadIniControls& read_controls) {
  auto row = [&table](int i) {
    return i < 1 || i > table.Count() ? std::string()
           : table.understood[i]      ? table.watch_title[i] + '\0' + table.watch_button[i] + '\0' +
                                       table.watch_class[i] + '\0' + table.watch_message[i]
                                 : table.stored[i];
  };
  if (n < 1 || n > table.Count()) return;
  const std::string asked = row(n);
  const std::string title = table.understood[n] ? table.watch_title[n] : table.stored[n];
  if (MsgBox(RemovePrompt(title), MB_YESNO | MB_ICONQUESTION, kAppTitle) != IDYES) return;
  // The file may have been loaded again while the question was open.
  if (row(n) != asked) return SayInLabel3(label3, kRemoveChangedMessage, kRefusedColour);
  if (!RemoveEntry(table.source, n)) {
    return SayInLabel3(label3, kRemoveFailedMessage, kRefusedColour);
  }
  ReloadWatchTable(table, read_controls);
  SayInLabel3(label3, kRemovedMessage, kAddedColour);
}

}  // namespace pallix

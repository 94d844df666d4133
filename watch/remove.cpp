#include "watch/remove.h"

#include <algorithm>
#include <string>
#include <vector>

#include "config/config_path.h"
#include "config/file_stamp.h"
#include "config/ini_files.h"
#include "ui/toolkit.h"
#include "watch/add.h"
#include "watch/watch_entry.h"

namespace pallix {
namespace {

constexpr std::string_view kSection = "WindowTitles";
constexpr std::string_view kCountKey = "Num_Windows";
// The keys of one entry, in the order of EntryValues.
constexpr std::array<std::string_view, 3> kEntryKeys{"Title", "Message", "Program"};
constexpr std::size_t kNone = std::string_view::npos;

// What the profile functions skip round names and values; a carriage
// return counts, so a line ends the same with "\r\n" or "\n".
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// A line of the section that is no section header, as places in the text.
struct KeyLine {
  std::size_t begin;      // its first byte
  std::size_t next;       // the first byte after its line end
  std::size_t name;       // its key's name, from here to name_end, blanks
  std::size_t name_end;   // round it left out
  std::size_t value;      // just after its "="; kNone: no "="
  std::size_t value_end;  // at its line end ("\r\n", "\n", or the text's end)

  std::string_view Name(std::string_view text) const { return text.substr(name, name_end - name); }
};

// The lines of the first [WindowTitles] section, as the profile functions
// split them: a line ends at "\n"; a section's name is what stands between
// its line's first "[" and last "]"; a key is what comes before the first
// "=". The profile functions read only the first section of a name.
std::vector<KeyLine> SectionLines(std::string_view text) {
  std::vector<KeyLine> lines;
  bool inside = false;
  std::size_t begin = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (begin < text.size()) {
    std::size_t newline = text.find('\n', begin);
    std::size_t end = newline == kNone ? text.size() : newline;
    std::size_t next = newline == kNone ? text.size() : newline + 1;
    std::size_t first = begin;
    while (first < end && IsBlank(text[first])) ++first;
    std::string_view line = text.substr(first, end - first);
    std::size_t close = line.rfind(']');
    if (!line.empty() && line.front() == '[' && close != kNone) {
      if (inside) break;
      inside = SameName(line.substr(1, close - 1), kSection);
    } else if (inside && !line.empty()) {
      std::size_t equals = line.find('=');
      std::size_t name_end = equals == kNone ? line.size() : equals;
      while (name_end > 0 && IsBlank(line[name_end - 1])) --name_end;
      std::size_t value_end =
          newline != kNone && end > first && text[end - 1] == '\r' ? end - 1 : end;
      lines.push_back(KeyLine{begin, next, first, first + name_end,
                              equals == kNone ? kNone : first + equals + 1, value_end});
    }
    begin = next;
  }
  return lines;
}

// Which of an entry's keys a name is (its place in kEntryKeys), and the
// entry's number; number 0: no entry's key. The number is written as the
// profile functions compare it: digits, no leading zero.
std::pair<std::size_t, int> EntryKey(std::string_view name) {
  for (std::size_t which = 0; which < kEntryKeys.size(); ++which) {
    std::string_view prefix = kEntryKeys[which];
    if (name.size() <= prefix.size() || !SameName(name.substr(0, prefix.size()), prefix)) continue;
    std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 9 || digits.front() == '0' ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    return {which, std::stoi(std::string(digits))};
  }
  return {0, 0};
}

// The count's place in its line: the digits that give its number, as "Read
// ini" reads it (blanks and enclosing quotes left out, a sign kept).
struct CountDigits {
  std::int64_t count = 0;
  std::size_t line = 0;  // where its line begins
  std::size_t begin = 0, end = 0;
};

std::optional<CountDigits> CountOf(std::string_view text, const std::vector<KeyLine>& lines) {
  auto line = std::find_if(lines.begin(), lines.end(),
                           [&](const KeyLine& l) { return SameName(l.Name(text), kCountKey); });
  if (line == lines.end() || line->value == kNone) return std::nullopt;
  std::size_t begin = line->value, end = line->value_end;
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  if (end - begin > 1 && (text[begin] == '"' || text[begin] == '\'') &&
      text[end - 1] == text[begin]) {
    ++begin;
  }
  CountDigits digits{LeadingNumber(text.substr(begin, end - begin)), line->begin, begin, begin};
  while (digits.begin < end && text[digits.begin] == ' ') ++digits.begin;
  if (digits.begin < end && (text[digits.begin] == '+' || text[digits.begin] == '-')) {
    ++digits.begin;
  }
  digits.end = digits.begin;
  while (digits.end < end && text[digits.end] >= '0' && text[digits.end] <= '9') ++digits.end;
  return digits;
}

// Written whole beside the file, flushed to the disk, and put in its place
// in one step: whatever fails, the file is as it was or as it should be,
// never half of it. The new file's own write time keeps a cache of the
// profile functions from taking it for the old one.
bool PutInPlace(const std::string& path, const std::string& bytes) {
  const std::string beside = path + ".new";
  HANDLE file = ::CreateFileA(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  bool done = file != INVALID_HANDLE_VALUE;
  if (done) {
    DWORD written = 0;
    done = (bytes.empty() ||
            (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size())) &&
           ::FlushFileBuffers(file);
    done = ::CloseHandle(file) && done;
  }
  done = done && ::MoveFileExA(beside.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!done) ::DeleteFileA(beside.c_str());
  return done;
}

}  // namespace

std::string RemovePrompt(std::string_view title) {
  return "Remove the entry for \"" + std::string(title) + "\"?";
}

EntryValues EntryValuesOf(std::string_view text, int n) {
  EntryValues values;
  for (const KeyLine& line : SectionLines(text)) {
    auto [which, k] = EntryKey(line.Name(text));
    if (k != n || values[which]) continue;
    values[which] = line.value == kNone
                        ? std::string()
                        : std::string(text.substr(line.value, line.value_end - line.value));
  }
  return values;
}

std::optional<std::string> TextWithoutEntry(std::string_view text, int n) {
  const std::vector<KeyLine> lines = SectionLines(text);
  const std::optional<CountDigits> count = CountOf(text, lines);
  if (!count || count->count > kWatchLimit || n < 1 || n > count->count) return std::nullopt;
  std::string edited;
  edited.reserve(text.size());
  std::size_t copied = 0;
  // What lies before `at` and was not yet taken, as it is.
  auto keep_to = [&](std::size_t at) {
    edited.append(text.substr(copied, at - copied));
    copied = at;
  };
  for (const KeyLine& line : lines) {
    int k = EntryKey(line.Name(text)).second;
    if (k == n) {
      // Every line of the key goes: a second one would be read once the
      // first is gone.
      keep_to(line.begin);
      copied = line.next;
    } else if (k > n && k <= count->count) {
      keep_to(line.name_end - std::to_string(k).size());
      edited += std::to_string(k - 1);
      copied = line.name_end;
    } else if (line.begin == count->line) {
      keep_to(count->begin);
      edited += std::to_string(count->count - 1);
      copied = count->end;
    }
  }
  keep_to(text.size());
  return edited;
}

void Command6_Click(HWND label3, int n, WatchTable& table, const ReadIniControls& read_controls) {
  if (n < 1 || n > table.Count()) return;
  // The file as the list in view was read from it: the entry the user is
  // asked about, whatever is loaded while the box is open.
  const std::string path = table.source;
  const std::optional<std::string> asked = table.loaded_bytes;
  const std::string title = table.understood[n] ? table.watch_title[n] : table.stored[n];
  if (MsgBox(RemovePrompt(title), MB_YESNO | MB_ICONQUESTION, kAppTitle) != IDYES) return;
  // Read once: what is checked is what is edited and written.
  const std::optional<std::string> now = FileBytes(path);
  if (!now) return SayInLabel3(label3, kRemoveFailedMessage, kRefusedColour);
  if (!asked || table.source != path || EntryValuesOf(*asked, n) != EntryValuesOf(*now, n)) {
    return SayInLabel3(label3, kRemoveChangedMessage, kRefusedColour);
  }
  const std::optional<std::string> edited = TextWithoutEntry(*now, n);
  if (!edited || !PutInPlace(path, *edited)) {
    return SayInLabel3(label3, kRemoveFailedMessage, kRefusedColour);
  }
  // The file now holds the entries of the table less entry n, each key
  // moved as it stood: the table takes the same step, rather than reading
  // a thousand entries back key by key, which takes seconds under Wine.
  table.Erase(n);
  table.stamp = StampOf(path);
  table.loaded_bytes = *edited;
  INIFiles ini;
  ini.SetFileName(path);
  SetCaption(read_controls.text3, TrimBlanks(ini.ReadINI("WindowTitles", "Num_Windows", "0")));
  if (read_controls.loaded) read_controls.loaded();
  SayInLabel3(label3, kRemovedMessage, kAddedColour);
}

}  // namespace pallix

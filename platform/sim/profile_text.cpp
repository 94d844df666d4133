#include "platform/sim/profile_text.h"

#include <algorithm>
#include <cstddef>

namespace pallix::profile {
namespace {

// Windows carries a value's length in 16 bits: a value of 65536 characters or
// more reads as its length modulo 65536.
constexpr std::size_t kValueLengthWrap = 65536;

bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0d) || u == 0x1a || u == 0x20;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  return TrimRight(TrimLeft(s));
}

// Callers' section and key names lose spaces only: a tab stays and makes the
// name a different one, as on Windows.
std::string_view TrimSpaces(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string_view CutAtNul(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

// Windows-1252 upper case.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:  // s caron
      return 0x8A;
    case 0x9C:  // oe
      return 0x8C;
    case 0x9E:  // z caron
      return 0x8E;
    case 0xFF:  // y diaeresis
      return 0x9F;
    default:
      return c;
  }
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(static_cast<unsigned char>(x)) ==
                  FoldCase(static_cast<unsigned char>(y));
         });
}

struct Line {
  std::size_t begin = 0;  // first byte of the line
  std::size_t end = 0;    // past its text, where the line break starts
  std::size_t next = 0;   // past the line break
  bool HasBreak() const { return next > end; }
};

Line LineAt(std::string_view file, std::size_t pos) {
  Line line;
  line.begin = pos;
  std::size_t i = file.find_first_of("\r\n", pos);
  if (i == std::string_view::npos) i = file.size();
  line.end = i;
  if (i < file.size()) i += (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ? 2 : 1;
  line.next = i;
  return line;
}

enum class Kind { kBlank, kSection, kComment, kKey };

struct Entry {
  Kind kind = Kind::kBlank;
  std::string_view name;      // section or key name as it is compared
  std::string_view raw_name;  // a key's name as the file spells it
  std::optional<std::string_view> value;
};

Entry Classify(std::string_view text) {
  Entry entry;
  text = Trim(text);
  if (text.empty()) return entry;
  if (text.front() == '[') {
    entry.kind = Kind::kSection;
    std::string_view name = text.substr(1);
    entry.name = CutAtNul(Trim(name.substr(0, name.find(']'))));
    return entry;
  }
  if (text.front() == ';') {
    entry.kind = Kind::kComment;
    return entry;
  }
  entry.kind = Kind::kKey;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    entry.raw_name = text;
  } else {
    entry.raw_name = TrimRight(text.substr(0, equals));
    entry.value = CutAtNul(TrimLeft(text.substr(equals + 1)));
  }
  entry.name = CutAtNul(entry.raw_name);
  return entry;
}

Entry EntryOf(std::string_view file, const Line& line) {
  return Classify(file.substr(line.begin, line.end - line.begin));
}

// Where a section and one of its keys are. Only the first section of the name
// counts; the search ends where the next section begins.
struct Found {
  bool section = false;
  Line last_key;  // the section's last key line, or its header when it has none
  std::optional<Line> key;
  Entry key_entry;
};

Found Find(std::string_view file, std::string_view section, std::string_view key) {
  Found found;
  for (std::size_t pos = 0; pos < file.size();) {
    const Line line = LineAt(file, pos);
    pos = line.next;
    const Entry entry = EntryOf(file, line);
    if (entry.kind == Kind::kSection) {
      if (found.section) break;
      if (SameName(entry.name, section)) {
        found.section = true;
        found.last_key = line;
      }
      continue;
    }
    if (!found.section || entry.kind != Kind::kKey) continue;
    found.last_key = line;
    if (!found.key && SameName(entry.name, key)) {
      found.key = line;
      found.key_entry = entry;
    }
  }
  return found;
}

ReadResult CopyText(std::string_view text, std::uint32_t size) {
  ReadResult result;
  if (size == 0) return result;
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  result.text.assign(text.substr(0, n));
  result.count = static_cast<std::uint32_t>(n);
  return result;
}

// A list of NUL-ended names. One that does not fit, with the list's closing
// NUL, is cut so that the buffer ends in two NULs, and the count is size - 2.
ReadResult CopyList(const std::string& list, std::uint32_t size) {
  ReadResult result;
  if (size < 2) return result;
  if (list.size() + 2 <= size) {
    result.text = list;
  } else {
    result.text = list.substr(0, size - 2);
    result.text += '\0';
  }
  result.count = static_cast<std::uint32_t>(std::min<std::size_t>(list.size(), size - 2));
  return result;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string NewKeyLine(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + value.size() + 3);
  line.append(key).append("=").append(value).append("\r\n");
  return line;
}

}  // namespace

ReadResult GetDefault(std::string_view default_value, std::uint32_t size) {
  // Only spaces go, and all of them; tabs and line breaks stay.
  return CopyText(default_value.substr(0, default_value.find_last_not_of(' ') + 1), size);
}

ReadResult GetString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view default_value, std::uint32_t size) {
  const Found found = Find(file, TrimSpaces(section), TrimSpaces(key));
  if (!found.key || !found.key_entry.value) return GetDefault(default_value, size);
  std::string_view value = *found.key_entry.value;
  value = value.substr(0, value.size() % kValueLengthWrap);
  return CopyText(Unquote(value), size);
}

ReadResult GetKeyNames(std::string_view file, std::string_view section,
                       std::string_view default_value, std::uint32_t size) {
  section = TrimSpaces(section);
  std::string list;
  bool inside = false;
  for (std::size_t pos = 0; pos < file.size();) {
    const Line line = LineAt(file, pos);
    pos = line.next;
    const Entry entry = EntryOf(file, line);
    if (entry.kind == Kind::kSection) {
      if (inside) break;
      inside = SameName(entry.name, section);
    } else if (inside && entry.kind == Kind::kKey && entry.value) {
      list.append(entry.name).push_back('\0');
    }
  }
  if (list.empty()) return GetDefault(default_value, size);
  return CopyList(list, size);
}

ReadResult GetSectionNames(std::string_view file, std::uint32_t size) {
  std::string list;
  for (std::size_t pos = 0; pos < file.size();) {
    const Line line = LineAt(file, pos);
    pos = line.next;
    const Entry entry = EntryOf(file, line);
    if (entry.kind == Kind::kSection && !entry.name.empty())
      list.append(entry.name).push_back('\0');
  }
  return CopyList(list, size);
}

std::optional<std::string> PutString(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  const Found found = Find(file, section, key);
  std::string out;
  if (found.key) {
    const Entry& entry = found.key_entry;
    if (entry.value && *entry.value == value) return std::nullopt;
    // Only the key's own line changes: its name keeps the file's spelling and
    // its line break stays, whatever it was.
    out.reserve(file.size() + value.size() + 1);
    out.append(file.substr(0, found.key->begin));
    out.append(entry.raw_name).append("=").append(value);
    out.append(file.substr(found.key->end));
  } else if (found.section) {
    // A new key follows the section's last key; comments and blank lines
    // after it stay where they are.
    const std::size_t at = found.last_key.next;
    out.reserve(file.size() + key.size() + value.size() + 5);
    out.append(file.substr(0, at));
    if (!found.last_key.HasBreak()) out.append("\r\n");
    out.append(NewKeyLine(key, value));
    out.append(file.substr(at));
  } else {
    out.reserve(file.size() + section.size() + key.size() + value.size() + 9);
    out.append(file);
    if (!file.empty() && file.back() != '\n' && file.back() != '\r') out.append("\r\n");
    out.append("[").append(section).append("]\r\n");
    out.append(NewKeyLine(key, value));
  }
  if (out == file) return std::nullopt;
  return out;
}

std::optional<std::string> DeleteKey(std::string_view file, std::string_view section,
                                     std::string_view key) {
  const Found found = Find(file, TrimSpaces(section), TrimSpaces(key));
  if (!found.key) return std::nullopt;
  std::string out(file.substr(0, found.key->begin));
  out.append(file.substr(found.key->next));
  return out;
}

std::optional<std::string> DeleteSection(std::string_view file, std::string_view section) {
  section = TrimSpaces(section);
  std::string out;
  out.reserve(file.size());
  bool found = false;
  bool inside = false;
  for (std::size_t pos = 0; pos < file.size();) {
    const Line line = LineAt(file, pos);
    pos = line.next;
    const Entry entry = EntryOf(file, line);
    if (entry.kind == Kind::kSection) {
      inside = !found && SameName(entry.name, section);
      found = found || inside;
    }
    const bool dropped = inside && (entry.kind == Kind::kSection || entry.kind == Kind::kKey);
    if (!dropped) out.append(file.substr(line.begin, line.next - line.begin));
  }
  if (!found) return std::nullopt;
  return out;
}

}  // namespace pallix::profile

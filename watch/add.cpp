#include "watch/add.h"

#include <string>

#include "config/config_path.h"
#include "config/ini_files.h"
#include "ui/toolkit.h"
#include "watch/watch_entry.h"
#include "watch/watch_table.h"

namespace pallix {
namespace {

constexpr const char* kSection = "WindowTitles";
// Read back for a key that is not there; no stored value looks like it.
constexpr const char* kAbsent = "\x01";

std::string TitleKey(std::int64_t n) {
  return "Title" + std::to_string(n);
}

// A count that names entries: digits at its start (after blanks and a sign).
bool IsNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i != std::string_view::npos && (text[i] == '+' || text[i] == '-')) ++i;
  return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

void Refuse(const AddControls& c, const char* message) {
  SetVisible(c.Label3, true);
  SetCaption(c.Label3, message);
}

// The stored form of an entry: title, the button piece, the class piece.
// Without a chosen button (nullptr) the button piece is "[DEFAULT]".
std::string EntryText(std::string_view title, const std::string* button,
                      std::string_view window_class) {
  std::string entry(title);
  entry += button ? "[" + *button + "]" : std::string("[DEFAULT]");
  entry += "<<";
  entry += window_class;
  entry += ">>";
  return entry;
}

}  // namespace

void Command3_Click(const AddControls& c, const std::string& picked_class) {
  INIFiles ini;
  ini.SetFileName(ConfigPath(AppPath(), GetCaption(c.Combo1)));

  int chosen = -1;
  for (int k = 0; k < 3; ++k) {
    if (GetOptionValue(c.Op1[k])) chosen = k;
  }
  std::string caption = chosen < 0 ? std::string() : GetCaption(c.cmd1[chosen]);
  std::string title(TrimBlanks(GetCaption(c.Text1)));

  std::string stored = ini.ReadINI(kSection, "Num_Windows", "0");
  std::int64_t existing = IsNumber(stored) ? LeadingNumber(stored) : 0;
  bool counted = existing > 0;
  if (!counted) existing = 0;
  if (!counted) {
    // No usable count: the entries written by hand from Title1 on, in a row,
    // are kept, and the new one goes after them.
    while (existing <= kWatchSlots &&
           ini.ReadINI(kSection, TitleKey(existing + 1), kAbsent) != kAbsent) {
      ++existing;
    }
  }
  std::int64_t n = existing + 1;
  if (n > kWatchSlots) {
    // It would never be watched: only 20 entries are loaded.
    Refuse(c, kTableFullMessage);
    return;
  }

  for (std::int64_t i = 1; n > 1 && i <= n; ++i) {
    std::string value = ini.ReadINI(kSection, TitleKey(i), "0");
    std::size_t bracket = value.find('[');
    if (bracket != std::string::npos && TrimBlanks(value.substr(0, bracket)) == title) {
      Refuse(c, kDuplicateMessage);
      // A count stored with stray text is written back as its number.
      if (counted) ini.WriteINI(kSection, "Num_Windows", std::to_string(existing));
      return;
    }
  }

  // The entry first, then the count: a write refused or cut short between
  // the two never leaves the count naming a missing entry.
  ini.WriteINI(kSection, TitleKey(n),
               EntryText(title, chosen < 0 ? nullptr : &caption, picked_class));
  ini.WriteINI(kSection, "Num_Windows", std::to_string(n));
}

}  // namespace pallix

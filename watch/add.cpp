#include "watch/add.h"

#include <string>

#include "config/config_path.h"
#include "config/ini_files.h"
#include "ui/toolkit.h"
#include "watch/dialog_buttons.h"
#include "watch/dialog_program.h"
#include "watch/watch_entry.h"

namespace pallix {
namespace {

constexpr const char* kSection = "WindowTitles";
// Read back for a key that is not there; no stored value looks like it.
constexpr const char* kAbsent = "\x01";

std::string TitleKey(std::int64_t n) {
  return "Title" + std::to_string(n);
}

std::string MessageKey(std::int64_t n) {
  return "Message" + std::to_string(n);
}

std::string ProgramKey(std::int64_t n) {
  return "Program" + std::to_string(n);
}

// The value goes into the file; one left there beside no entry is emptied,
// as it would join the new entry.
bool WriteBeside(INIFiles& ini, const std::string& key, const std::string& value) {
  if (value.empty() && ini.ReadINI(kSection, key, kAbsent) == kAbsent) return true;
  return ini.WriteINI(kSection, key, value);
}

// A count that names entries: digits at its start (after blanks and a sign).
bool IsNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i != std::string_view::npos && (text[i] == '+' || text[i] == '-')) ++i;
  return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

void Say(const AddControls& c, std::string_view message, COLORREF colour) {
  SayInLabel3(c.Label3, message, colour);
}

void Refuse(const AddControls& c, std::string_view message) {
  Say(c, message, kRefusedColour);
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

// Whether "Read ini" would give back this title, button and class: the
// value must survive the file, then its own parser must split it so.
bool ReadsBackAs(std::string_view value, const WatchEntry& meant) {
  return ProfileKeepsValue(value) && ParseWatchEntry(value) == meant;
}

}  // namespace

std::string TableFullMessage(std::int64_t existing) {
  // A count saturated at its largest value has no next number.
  std::int64_t n = existing < INT64_MAX ? existing + 1 : existing;
  return "Entry " + std::to_string(n) + " is over the limit. NOT added!";
}

void SayInLabel3(HWND label3, std::string_view message, COLORREF colour) {
  SetCaptionFitting(label3, message);
  SetForeColor(label3, colour);
  SetVisible(label3, true);
}

void Command3_Click(const AddControls& c, const PickedWindow& picked, WatchTable& table,
                    const ReadIniControls& read_controls) {
  // An entry the monitor could never find takes a place and, through the
  // duplicate check, blocks the entries after it: refused before the file
  // is touched.
  if (picked.picked_class.empty()) return Refuse(c, kNothingPickedMessage);
  if (picked.title_cut) return Refuse(c, kTitleCutMessage);
  if (picked.title_beyond_ansi) return Refuse(c, kTitleBeyondAnsiMessage);

  int chosen = -1;
  for (int k = 0; k < 3; ++k) {
    if (GetOptionValue(c.Op1[k])) chosen = k;
  }
  if (chosen >= 0 && picked.caption_beyond_ansi[chosen]) {
    return Refuse(c, kButtonBeyondAnsiMessage);
  }
  // The monitor finds a button by its caption: it would press the other.
  if (chosen >= 0 && picked.twin[chosen]) return Refuse(c, kTwinCaptionMessage);
  std::string caption = chosen < 0 ? std::string() : GetCaption(c.cmd1[chosen]);
  std::string title(TrimBlanks(GetCaption(c.Text1)));
  std::string entry = EntryText(title, chosen < 0 ? nullptr : &caption, picked.picked_class);
  WatchEntry meant{title, chosen < 0 ? "DEFAULT" : caption, std::string(picked.picked_class)};
  if (!ReadsBackAs(entry, meant)) return Refuse(c, kNotStorableMessage);
  // A message the file would give back otherwise (its blanks or quotes
  // gone, cut short) would answer other dialogs than the user taught.
  std::string message = GetCaption(c.Text6);
  if (!ProfileKeepsValue(message)) return Refuse(c, kMessageNotStorableMessage);
  const bool only_from = c.Check1 && GetCheckValue(c.Check1) && ::IsWindowEnabled(c.Check1);
  std::string program(only_from ? picked.program : std::string_view());
  if (!ProfileKeepsValue(program)) return Refuse(c, kProgramNotStorableMessage);

  INIFiles ini;
  ini.SetFileName(ConfigPath(AppPath(), GetCaption(c.Combo1)));
  std::string stored = ini.ReadINI(kSection, "Num_Windows", "0");
  std::int64_t existing = IsNumber(stored) ? LeadingNumber(stored) : 0;
  bool counted = existing > 0;
  if (!counted) {
    // No usable count: the entries written by hand from Title1 on, in a row,
    // are kept, and the new one goes after them.
    existing = 0;
    while (existing <= kWatchLimit) {
      std::string written = ini.ReadINI(kSection, TitleKey(existing + 1), kAbsent);
      // An emptied key (as Remove left them once) ends the row as a
      // missing one does: there is no entry in it.
      if (written == kAbsent || written.empty()) break;
      ++existing;
    }
  }
  // Compared before adding one: a stored count can be as large as the
  // count can hold. An entry past the limit would never be watched.
  if (existing >= kWatchLimit) return Refuse(c, TableFullMessage(existing));
  std::int64_t n = existing + 1;

  for (std::int64_t i = 1; n > 1 && i <= n; ++i) {
    std::string value = ini.ReadINI(kSection, TitleKey(i), "0");
    std::size_t bracket = value.find('[');
    // One title and message taught from two programs makes two entries.
    if (bracket != std::string::npos && TrimBlanks(value.substr(0, bracket)) == title &&
        StoredMessage(ini.ReadINI(kSection, MessageKey(i), "")) == message &&
        SameProgram(StoredMessage(ini.ReadINI(kSection, ProgramKey(i), "")), program)) {
      Refuse(c, kDuplicateMessage);
      // A count stored with stray text is written back as its number.
      if (counted) ini.WriteINI(kSection, "Num_Windows", std::to_string(existing));
      return;
    }
  }

  // The message, the program, the entry, then the count: a write refused or
  // cut short never leaves the count naming a missing or half entry.
  if (!WriteBeside(ini, MessageKey(n), message) || !WriteBeside(ini, ProgramKey(n), program) ||
      !ini.WriteINI(kSection, TitleKey(n), entry) ||
      !ini.WriteINI(kSection, "Num_Windows", std::to_string(n))) {
    return Refuse(c, kWriteFailedMessage);
  }
  LoadWatchTable(table, read_controls, false);
  Say(c, kAddedMessage, kAddedColour);
}

}  // namespace pallix

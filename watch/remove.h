// "Remove": takes the selected entry out of the file it was loaded from.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "watch/read_ini.h"
#include "watch/watch_table.h"

namespace pallix {

inline constexpr const char* kRemovedMessage = "Removed.";
inline constexpr const char* kRemoveChangedMessage = "The entry has changed. NOT removed!";
inline constexpr const char* kRemoveFailedMessage = "The INI file can't be written. NOT removed!";

// The question asked before an entry goes.
std::string RemovePrompt(std::string_view title);

// The raw values of entry n's keys TitleN, MessageN and ProgramN, in that
// order, in the text of a watch list: what follows the key's "=" on its
// line, as written ("" for a key line without "="); none for a key that is
// not there. The key is the one the profile functions read: in the first
// [WindowTitles] section, the first line of that name.
using EntryValues = std::array<std::optional<std::string>, 3>;
EntryValues EntryValuesOf(std::string_view text, int n);

// The text of a watch list without entry `n`: in the first [WindowTitles]
// section, the lines of TitleN, MessageN and ProgramN go; those of the
// numbers after it up to the count take the number before theirs (only
// their digits change); the count's value goes down by one. Every other
// byte stays. Section and key names are matched as the profile functions
// match them, without regard to case and with blanks round a key ignored.
// None: there is no usable count, it is over kWatchLimit, or `n` is not
// one of its entries.
std::optional<std::string> TextWithoutEntry(std::string_view text, int n);

// Asks, then removes entry `n` of the table's file and loads the file again;
// Label3 tells how it went. The entry goes only if it still stands in the
// file as it stood when the question was asked; the file is read once and
// written once, whole, beside itself, and put in its own place.
void Command6_Click(HWND label3, int n, WatchTable& table, const ReadIniControls& read_controls);

}  // namespace pallix

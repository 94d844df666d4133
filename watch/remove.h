// "Remove": takes the selected entry out of the file it was loaded from.
#pragma once

#include <windows.h>

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

// The file at `path` without entry `n`: the entries after it move up by one
// number, each with its message; the count goes down by one; the title and
// message keys of the old last number are emptied; every other key and
// section stays. The new file is written whole beside the old one and then
// put in its place, so that whatever fails, the file is either as it was or
// as it should be. Whether it was done.
bool RemoveEntry(const std::string& path, int n);

// Asks, then removes entry `n` of the table's file and loads the file again;
// Label3 tells how it went.
void Command6_Click(HWND label3, int n, WatchTable& table, const ReadIniControls& read_controls);

}  // namespace pallix

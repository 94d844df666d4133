// Where a configuration file lives (directly in the program's folder), and
// the trimming its names and values get.
#pragma once

#include <string>
#include <string_view>

namespace pallix {

// The folder's text, a backslash unless the folder is a drive root (its text
// already ends in ":\"), then the file name.
std::string ConfigPath(std::string_view folder, std::string_view file_name);

// Removes space characters (only spaces) from both ends: file names in the
// chooser and pieces of stored entries are trimmed alike.
std::string_view TrimBlanks(std::string_view text);

}  // namespace pallix

// Where a configuration file lives: directly in the program's folder.
#pragma once

#include <string>
#include <string_view>

namespace pallix {

// The folder's text, a backslash unless the folder is a drive root (its text
// already ends in ":\"), then the file name.
std::string ConfigPath(std::string_view folder, std::string_view file_name);

}  // namespace pallix

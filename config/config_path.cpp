#include "config/config_path.h"

namespace pallix {

std::string ConfigPath(std::string_view folder, std::string_view file_name) {
  std::string path(folder);
  if (!path.ends_with(":\\")) path += '\\';
  path.append(file_name);
  return path;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace pallix

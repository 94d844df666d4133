#include "config/config_path.h"

namespace pallix {

std::string ConfigPath(std::string_view folder, std::string_view file_name) {
  std::string path(folder);
  if (!path.ends_with(":\\")) path += '\\';
  path.append(file_name);
  return path;
}

}  // namespace pallix

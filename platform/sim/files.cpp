// The simulated file system: Windows drive paths mapped onto host folders.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/sim/sim.h"
#include "platform/sim/state.h"

namespace pallix::sim {
namespace {

char UpperDrive(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string MakeFreshFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pallix-sim-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder for drive C:");
  return pattern;
}

}  // namespace

void Reset() {
  ResetDesktop();
  auto& drives = detail::S().drives;
  std::error_code ignored;
  for (const auto& [letter, folder] : drives) std::filesystem::remove_all(folder, ignored);
  drives.clear();
  drives['C'] = MakeFreshFolder();
  std::filesystem::create_directories(HostPath(detail::S().app_path), ignored);
}

std::string HostRoot(char drive) {
  auto& drives = detail::S().drives;
  auto it = drives.find(UpperDrive(drive));
  return it == drives.end() ? std::string() : it->second;
}

std::string HostPath(std::string_view windows_path) {
  bool drive_path = windows_path.size() >= 2 && windows_path[1] == ':' &&
                    ((windows_path[0] >= 'A' && windows_path[0] <= 'Z') ||
                     (windows_path[0] >= 'a' && windows_path[0] <= 'z'));
  if (!drive_path) return std::string(windows_path);
  std::string root = HostRoot(windows_path[0]);
  if (root.empty()) return std::string(windows_path);
  std::string rest(windows_path.substr(2));
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  if (rest.empty() || rest.front() != '/') rest.insert(rest.begin(), '/');
  return root + rest;
}

void FailNextProfileCall() {
  detail::S().fail_next_profile_call = true;
}

void CheckProfileFault() {
  auto& s = detail::S();
  if (s.fail_next_profile_call) {
    s.fail_next_profile_call = false;
    throw PlatformFailure("the profile function could not be reached");
  }
}

}  // namespace pallix::sim

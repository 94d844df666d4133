// The simulated file system: Windows drive paths mapped onto host folders.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/kernel32.h"
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

void RemoveDrives() {
  auto& drives = detail::S().drives;
  std::error_code ignored;
  for (const auto& [letter, folder] : drives) std::filesystem::remove_all(folder, ignored);
  drives.clear();
}

}  // namespace

void Reset() {
  // The state must outlive the clean-up, so it is made before it is queued.
  static const bool cleaned_at_exit = [] {
    detail::S();
    return std::atexit(RemoveDrives) == 0;
  }();
  (void)cleaned_at_exit;
  ResetDesktop();
  RemoveDrives();
  detail::S().drives['C'] = MakeFreshFolder();
  std::error_code ignored;
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

// ---------------------------------------------------------------- files

namespace pallix {
namespace {

char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Windows wildcards, without regard to case: "*" any run, "?" one character.
bool MatchesPattern(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t /*share_mode*/,
                       std::uint32_t creation_disposition, std::uint32_t /*flags_and_attributes*/) {
  if (!path) return FileHandle{};
  int mode = (access & kGenericWrite) ? ((access & kGenericRead) ? O_RDWR : O_WRONLY) : O_RDONLY;
  if (creation_disposition == kCreateNew) mode |= O_CREAT | O_EXCL;
  int fd = ::open(sim::HostPath(path).c_str(), mode | O_CLOEXEC, 0644);
  if (fd < 0) return FileHandle{};
  return FileHandle{static_cast<std::uintptr_t>(fd) + 1};
}

bool CloseHandle(FileHandle handle) {
  return handle && ::close(static_cast<int>(handle.value - 1)) == 0;
}

std::vector<FoundFile> FindFilesA(const char* pattern) {
  std::vector<FoundFile> found;
  if (!pattern) return found;
  std::string_view full(pattern);
  std::size_t slash = full.find_last_of('\\');
  std::string folder(slash == std::string_view::npos ? "." : full.substr(0, slash + 1));
  std::string_view mask = slash == std::string_view::npos ? full : full.substr(slash + 1);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(sim::HostPath(folder), error)) {
    std::string name = entry.path().filename().string();
    if (!MatchesPattern(name, mask)) continue;
    std::uint32_t attributes = sim::FileAttributesOf(folder + name);
    if (entry.is_directory(error)) attributes |= kFileAttributeDirectory;
    found.push_back(FoundFile{std::move(name), attributes});
  }
  return found;
}

namespace sim {

void SetFileAttributes(std::string_view windows_path, std::uint32_t attributes) {
  detail::S().file_attributes[HostPath(windows_path)] = attributes;
}

std::uint32_t FileAttributesOf(std::string_view windows_path) {
  auto& attributes = detail::S().file_attributes;
  auto it = attributes.find(HostPath(windows_path));
  return it == attributes.end() ? 0 : it->second;
}

}  // namespace sim
}  // namespace pallix

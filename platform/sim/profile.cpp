// The profile functions over host files: each call reads the whole file,
// works on its bytes, and writes the whole file back only when it changed,
// so no file is held open between calls.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include "platform/kernel32.h"
#include "platform/sim/profile_text.h"
#include "platform/sim/sim.h"

namespace pallix {
namespace {

namespace fs = std::filesystem;

bool HasPermission(const fs::path& path, fs::perms wanted) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return !error && (status.permissions() & wanted) != fs::perms::none;
}

// The file's bytes; nullopt when there is no readable file at the path. The
// permission bits are looked at as well, so that a protected file stays
// protected for a caller running with every right.
std::optional<std::string> ReadWhole(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error) || !HasPermission(path, fs::perms::owner_read)) {
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool WriteWhole(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* default_value, char* buffer, std::uint32_t size,
                                       const char* file_name) {
  sim::CheckProfileFault();
  if (buffer == nullptr || size == 0) return 0;
  const char* fallback = default_value != nullptr ? default_value : "";
  // Without a readable file every name is missing: the result is the default,
  // or an empty list of sections.
  std::string file;
  if (file_name != nullptr) file = ReadWhole(sim::HostPath(file_name)).value_or(std::string());

  profile::ReadResult result;
  if (section == nullptr) {
    result = profile::GetSectionNames(file, size);
  } else if (key == nullptr) {
    result = profile::GetKeyNames(file, section, fallback, size);
  } else {
    result = profile::GetString(file, section, key, fallback, size);
  }
  std::memcpy(buffer, result.text.data(), result.text.size());
  buffer[result.text.size()] = '\0';
  return result.count;
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* file_name) {
  sim::CheckProfileFault();
  // A null section only flushes Windows' cache, which there is none of here;
  // a null file would mean win.ini, which the program never uses.
  if (section == nullptr || file_name == nullptr) return false;

  const fs::path path = sim::HostPath(file_name);
  if (path.empty()) return false;  // Windows refuses an empty name as access denied
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  const bool exists = fs::exists(status);
  if (exists && !fs::is_regular_file(status)) return false;
  if (!exists) {
    // Windows creates the file but never the folder it goes in.
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error)) return false;
  } else if (!HasPermission(path, fs::perms::owner_write)) {
    return false;  // a read-only file
  }

  std::string file;
  if (exists) {
    std::optional<std::string> bytes = ReadWhole(path);
    if (!bytes) return false;
    file = std::move(*bytes);
  }

  std::optional<std::string> changed;
  if (key == nullptr) {
    changed = profile::DeleteSection(file, section);
  } else if (value == nullptr) {
    changed = profile::DeleteKey(file, section, key);
  } else {
    changed = profile::PutString(file, section, key, value);
  }
  // Windows opens the file for writing first, so even a call that changes
  // nothing leaves an empty file where there was none.
  if (!changed && exists) return true;
  return WriteWhole(path, changed.value_or(std::string()));
}

}  // namespace pallix

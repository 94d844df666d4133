#include "platform/kernel32.h"

#include <windows.h>

namespace pallix {

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* default_value, char* buffer, std::uint32_t size,
                                       const char* file_name) {
  return ::GetPrivateProfileStringA(section, key, default_value, buffer, size, file_name);
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* file_name) {
  return ::WritePrivateProfileStringA(section, key, value, file_name) != FALSE;
}

}  // namespace pallix

namespace pallix {

FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share_mode,
                       std::uint32_t creation_disposition, std::uint32_t flags_and_attributes) {
  HANDLE h = ::CreateFileA(path, access, share_mode, nullptr, creation_disposition,
                           flags_and_attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileHandle{};
  return FileHandle{reinterpret_cast<std::uintptr_t>(h)};
}

bool CloseHandle(FileHandle handle) {
  return handle && ::CloseHandle(reinterpret_cast<HANDLE>(handle.value)) != FALSE;
}

std::vector<FoundFile> FindFilesA(const char* pattern) {
  std::vector<FoundFile> found;
  WIN32_FIND_DATAA data;
  HANDLE search = ::FindFirstFileA(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    found.push_back(FoundFile{std::move(name), data.dwFileAttributes});
  } while (::FindNextFileA(search, &data));
  ::FindClose(search);
  return found;
}

}  // namespace pallix

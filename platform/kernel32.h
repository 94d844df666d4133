// Profile-file and file calls. On Windows these are kernel32's own;
// elsewhere they are our portable implementation, which reads and writes
// files as Windows does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pallix {

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* default_value, char* buffer, std::uint32_t size,
                                       const char* file_name);
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* file_name);

// CreateFileA's numbers, as the program passes them.
inline constexpr std::uint32_t kGenericRead = 0x80000000u;
inline constexpr std::uint32_t kGenericWrite = 0x40000000u;
inline constexpr std::uint32_t kFileShareAll = 7;  // read | write | delete
inline constexpr std::uint32_t kCreateNew = 1;
inline constexpr std::uint32_t kFileAttributeArchive = 0x20;
inline constexpr std::uint32_t kFileFlagWriteThrough = 0x80000000u;
inline constexpr std::uint32_t kFileAttributeHidden = 0x2;
inline constexpr std::uint32_t kFileAttributeSystem = 0x4;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;

// A file handle; only ever given back to CloseHandle. Zero is the invalid
// handle here.
struct FileHandle {
  std::uintptr_t value = 0;
  constexpr explicit operator bool() const { return value != 0; }
};

FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share_mode,
                       std::uint32_t creation_disposition, std::uint32_t flags_and_attributes);
bool CloseHandle(FileHandle handle);

// One match of FindFirstFileA / FindNextFileA.
struct FoundFile {
  std::string name;
  std::uint32_t attributes = 0;
};

// Every match of a pattern such as "C:\Tools\*.ini", in the order the file
// system reports them.
std::vector<FoundFile> FindFilesA(const char* pattern);

}  // namespace pallix

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

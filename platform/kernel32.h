// Profile-file calls. On Windows these are kernel32's own; elsewhere they are
// our portable implementation, which reads and writes files as Windows does.
#pragma once

#include <cstdint>

namespace pallix {

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* default_value, char* buffer,
                                       std::uint32_t size, const char* file_name);
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* file_name);

}  // namespace pallix

#include "config/ini_files.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "config/report_error.h"

namespace pallix {
namespace {

constexpr DWORD kReadBufferSize = kIniValueMax + 1;

bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

}  // namespace

bool ProfileKeepsValue(std::string_view value) {
  if (value.size() > kIniValueMax || value.find_first_of("\r\n") != std::string_view::npos) {
    return false;
  }
  if (value.empty()) return true;
  if (IsProfileBlank(value.front()) || IsProfileBlank(value.back())) return false;
  return !(value.size() > 1 && value.front() == '"' && value.back() == '"');
}

// Each member traps whatever goes wrong inside it and reports it under its
// own name. A report raised by a member it called (the FileName getter)
// lands in its trap too, so the user sees both boxes, innermost first.

void INIFiles::SetFileName(std::string_view vData) {
  try {
    file_name_.assign(vData);
  } catch (...) {
    ReportError(kIniFilesError, "INIFiles:FileName Property Let");
  }
}

std::string INIFiles::FileName() const {
  try {
    return file_name_;
  } catch (...) {
    ReportError(kIniFilesError, "INIFiles:FileName Property Get");
  }
}

bool INIFiles::WriteINI(std::string_view KeyTitle, std::string_view KeyName,
                        std::string_view Value) {
  try {
    std::string section(KeyTitle), key(KeyName), value(Value);
    std::string path = FileName();
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        path.c_str()) != FALSE;
  } catch (...) {
    ReportError(kIniFilesError, "INIFiles:WriteINI Method");
  }
}

std::string INIFiles::ReadINI(std::string_view KeyTitle, std::string_view KeyName,
                              std::string_view MyDefault) {
  try {
    std::string section(KeyTitle), key(KeyName), fallback(MyDefault);
    std::string buffer(kReadBufferSize, ' ');
    std::string path = FileName();
    DWORD copied = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                              buffer.data(), kReadBufferSize, path.c_str());
    buffer.resize(std::min(copied, kReadBufferSize - 1));
    return buffer;
  } catch (...) {
    ReportError(kIniFilesError, "INIFiles:ReadINI Method");
  }
}

}  // namespace pallix

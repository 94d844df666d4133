// The one way the program reads and writes its configuration files: a thin
// object over the private-profile functions, bound to one file by name. It
// holds no open file and no cache, so every call sees the file as it is now.
#pragma once

#include <string>
#include <string_view>

namespace pallix {

class INIFiles {
 public:
  // Every member reports its own failures (number 9999, its source text)
  // and raises them on to the caller as RaisedError.
  void SetFileName(std::string_view vData);
  std::string FileName() const;

  void WriteINI(std::string_view KeyTitle, std::string_view KeyName, std::string_view Value);
  std::string ReadINI(std::string_view KeyTitle, std::string_view KeyName,
                      std::string_view MyDefault);

 private:
  std::string file_name_;
};

// The one error number the profile object reports, whatever failed.
inline constexpr int kIniFilesError = 9999;

}  // namespace pallix

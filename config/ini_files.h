// The one way the program reads and writes its configuration files: a thin
// object over the private-profile functions, bound to one file by name. It
// holds no open file and no cache, so every call sees the file as it is now.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pallix {

class INIFiles {
 public:
  // Every member reports its own failures (number 9999, its source text)
  // and raises them on to the caller as RaisedError.
  void SetFileName(std::string_view vData);
  std::string FileName() const;

  // Whether Windows stored the value: a read-only file, a folder in the way
  // or a missing folder give false.
  bool WriteINI(std::string_view KeyTitle, std::string_view KeyName, std::string_view Value);
  std::string ReadINI(std::string_view KeyTitle, std::string_view KeyName,
                      std::string_view MyDefault);

 private:
  std::string file_name_;
};

// The one error number the profile object reports, whatever failed.
inline constexpr int kIniFilesError = 9999;

// The longest value ReadINI gives back; a longer one comes back cut.
inline constexpr std::size_t kIniValueMax = 255;

// Whether a value written to a profile file reads back as itself: the file
// has one value a line, and its reader cuts values at kIniValueMax and
// strips blanks and tabs round them and quotes that enclose them.
bool ProfileKeepsValue(std::string_view value);

}  // namespace pallix

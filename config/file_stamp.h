// How a file stands on disk, to tell that it changed: a save in an editor,
// another program's write or a copy from a backup all change its write time
// or its size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace pallix {

struct FileStamp {
  bool exists = false;
  std::uint64_t write_time = 0;
  std::uint64_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path);

// Whether a program has the file open for writing now: its write is not
// over, and what could be read of it may be half of it.
bool BeingWritten(const std::string& path);

}  // namespace pallix

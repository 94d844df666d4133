// How a file stands on disk, to tell that it changed: a save in an editor,
// another program's write or a copy from a backup all change its write time
// or its size, and where they change neither (a copy that keeps the time of
// a file of the same size), its bytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
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

// The file's whole bytes; none while it is missing, being written (a half
// write is no content) or larger than any watch list (16 MiB).
std::optional<std::string> FileBytes(const std::string& path);

// Windows' change notification on the folder of a file: it tells, without a
// read, that something in the folder may have changed, so that the file's
// bytes are looked at only then. Where Windows gives no notification, every
// look says "changed".
class FolderWatch {
 public:
  FolderWatch() = default;
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;
  ~FolderWatch() { Close(); }

  // Watches the folder of the file at `path` from now on; the watch of
  // another folder ends. The first look after a new folder says "changed":
  // what happened before the notification was set is not in it.
  void WatchFolderOf(const std::string& path);
  // Whether something in the folder may have changed since the last look.
  bool Changed();
  // Whether a notification works now (false: every look says "changed").
  bool Notifying() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Close();

 private:
  std::string folder_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool first_look_ = false;
};

}  // namespace pallix

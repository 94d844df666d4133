#include "config/file_stamp.h"

namespace pallix {

FileStamp StampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
  return FileStamp{true,
                   (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                       data.ftLastWriteTime.dwLowDateTime,
                   (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

bool BeingWritten(const std::string& path) {
  // Sharing only reading is refused while another handle may write.
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    ::CloseHandle(file);
    return false;
  }
  return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::optional<std::string> FileBytes(const std::string& path) {
  // Sharing only reading: a program that still writes the file keeps it
  // from being read.
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (1 << 24);
  std::string bytes(ok ? static_cast<std::size_t>(size.QuadPart) : 0, '\0');
  DWORD read = 0;
  ok = ok &&
       (bytes.empty() ||
        ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) &&
       read == bytes.size();
  ::CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

void FolderWatch::WatchFolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  if (folder == folder_) return;
  Close();
  folder_ = folder;
  first_look_ = true;
  // A write, a change of size, and a file put in the place of another (a
  // save through a file beside it, a copy from a backup).
  handle_ = ::FindFirstChangeNotificationA(
      folder_.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_FILE_NAME);
}

bool FolderWatch::Changed() {
  if (first_look_) {
    first_look_ = false;
    return true;
  }
  if (handle_ == INVALID_HANDLE_VALUE) return true;
  DWORD state = ::WaitForSingleObject(handle_, 0);
  if (state == WAIT_TIMEOUT) return false;
  // Set again before the file is read: a change made while it is read is
  // one more notification, never lost. A notification that cannot be set
  // again leaves the looks to the bytes.
  if (state != WAIT_OBJECT_0 || !::FindNextChangeNotification(handle_)) {
    ::FindCloseChangeNotification(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
  return true;
}

void FolderWatch::Close() {
  if (handle_ != INVALID_HANDLE_VALUE) ::FindCloseChangeNotification(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  folder_.clear();
  first_look_ = false;
}

}  // namespace pallix

#include "config/chooser.h"

#include <algorithm>

#include "config/config_path.h"
#include "ui/toolkit.h"

namespace pallix {

bool NameLess(std::string_view a, std::string_view b) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

void FileList::SetPath(std::string folder) {
  if (folder == folder_) return;
  folder_ = std::move(folder);
  Refresh();
}

void FileList::Refresh() {
  names_.clear();
  if (folder_.empty()) return;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(ConfigPath(folder_, pattern_).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    constexpr DWORD kNotListed =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (found.dwFileAttributes & kNotListed) continue;
    names_.emplace_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  std::stable_sort(names_.begin(), names_.end(), NameLess);
}

void combo_refresh(FileList& file1, HWND combo1) {
  file1.SetPath(AppPath());
  int n = file1.ListCount();
  // With no file the chooser keeps what it shows.
  if (n <= 0) return;
  ListClear(combo1);
  for (int i = 0; i < n; ++i) ListAddItem(combo1, TrimBlanks(file1.List(i)));
  ListSelect(combo1, 0);
}

void ShowCreateIni(const ChooserControls& c, bool shown) {
  SetVisible(c.command4, shown);
  ::EnableWindow(c.command1, !shown);
  ::EnableWindow(c.command2, !shown);
  ::EnableWindow(c.command3, !shown);
}

bool create_ini(FileList& file1, const ChooserControls& c) {
  std::string path = ConfigPath(AppPath(), kDefaultIniName);
  // CREATE_NEW: an existing file is left exactly as it is.
  HANDLE file =
      ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_ARCHIVE | FILE_FLAG_WRITE_THROUGH, nullptr);
  DWORD error = ::GetLastError();
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  // What counts is a file being there afterwards, made now or before; a
  // folder of that name is none.
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    MsgBox("Pallix could not create " + path + ":\r\n" + SystemErrorText(error),
           MB_OK | MB_ICONEXCLAMATION, kAppTitle);
    ShowCreateIni(c, true);
    return false;
  }
  ShowCreateIni(c, false);
  file1.Refresh();
  combo_refresh(file1, c.combo1);
  return true;
}

std::string EditorCommand(std::string_view path) {
  return "notepad " + std::string(path);
}

void Command1_Click(HWND combo1) {
  // In a normal window that takes the focus; Pallix does not wait for it.
  ::WinExec(EditorCommand(ConfigPath(AppPath(), GetCaption(combo1))).c_str(), SW_SHOWNORMAL);
}

}  // namespace pallix

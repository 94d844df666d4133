#include "config/chooser.h"

#include <algorithm>

#include "config/config_path.h"
#include "platform/kernel32.h"
#include "platform/toolkit.h"
#include "watch/watch_entry.h"

namespace pallix {
namespace {

char Fold(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

bool NameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
  });
}

void FileList::SetPath(std::string folder) {
  if (folder == folder_) return;
  folder_ = std::move(folder);
  Refresh();
}

void FileList::Refresh() {
  names_.clear();
  if (folder_.empty()) return;
  for (FoundFile& file : FindFilesA(ConfigPath(folder_, pattern_).c_str())) {
    constexpr std::uint32_t kNotListed =
        kFileAttributeDirectory | kFileAttributeHidden | kFileAttributeSystem;
    if (file.attributes & kNotListed) continue;
    names_.push_back(std::move(file.name));
  }
  std::stable_sort(names_.begin(), names_.end(), NameLess);
}

void combo_refresh(FileList& file1, Hwnd combo1) {
  file1.SetPath(AppPath());
  int n = file1.ListCount();
  // With no file the chooser keeps what it shows.
  if (n <= 0) return;
  ListClear(combo1);
  for (int i = 0; i < n; ++i) ListAddItem(combo1, TrimBlanks(file1.List(i)));
  ListSelect(combo1, 0);
}

void create_ini(FileList& file1, const ChooserControls& c) {
  std::string path = ConfigPath(AppPath(), kDefaultIniName);
  // CREATE_NEW: an existing file is left exactly as it is.
  FileHandle file = CreateFileA(path.c_str(), kGenericRead | kGenericWrite, kFileShareAll,
                                kCreateNew, kFileAttributeArchive | kFileFlagWriteThrough);
  if (file) CloseHandle(file);
  SetVisible(c.command4, false);
  SetEnabled(c.command1, true);
  SetEnabled(c.command2, true);
  SetEnabled(c.command3, true);
  file1.Refresh();
  combo_refresh(file1, c.combo1);
}

std::string EditorCommand(std::string_view path) {
  return "notepad " + std::string(path);
}

void Command1_Click(Hwnd combo1) {
  Shell(EditorCommand(ConfigPath(AppPath(), GetCaption(combo1))));
}

}  // namespace pallix

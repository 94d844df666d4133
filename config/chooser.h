// Choosing, creating and editing configuration files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace pallix {

inline constexpr const char* kDefaultIniName = "default_px.ini";

// A file list: the names of a folder's files that match a pattern, in
// ascending order without regard to case, hidden and system files left out.
class FileList {
 public:
  explicit FileList(std::string pattern) : pattern_(std::move(pattern)) {}

  // Pointing the list at another folder reads it at once; pointing it at the
  // same folder again reads nothing (Refresh does).
  void SetPath(std::string folder);
  void Refresh();
  int ListCount() const { return static_cast<int>(names_.size()); }
  const std::string& List(int index) const { return names_[static_cast<std::size_t>(index)]; }

 private:
  std::string pattern_;
  std::string folder_;
  std::vector<std::string> names_;
};

// Ascending, without regard to case as Windows compares ANSI text (accented
// letters included); equal names keep their order.
bool NameLess(std::string_view a, std::string_view b);

struct ChooserControls {
  HWND combo1;
  HWND command1;  // "Edit ini"
  HWND command2;  // the monitoring switch
  HWND command3;  // "Add"
  HWND command4;  // "Create Ini"
};

void combo_refresh(FileList& file1, HWND combo1);
// "Create Ini" shown and the buttons that need a file disabled, or the
// other way round.
void ShowCreateIni(const ChooserControls& controls, bool shown);
// Makes the empty default file unless it exists. Without a file afterwards
// the user is told why, and the window is left as without one.
bool create_ini(FileList& file1, const ChooserControls& controls);

// "Edit ini": the chosen file in the text editor.
void Command1_Click(HWND combo1);
// The editor's command line for a configuration file's path.
std::string EditorCommand(std::string_view path);

inline void Command4_Click(FileList& file1, const ChooserControls& controls) {
  create_ini(file1, controls);
}

}  // namespace pallix

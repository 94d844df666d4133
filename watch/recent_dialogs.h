// The dialogs Pallix has seen lately, of any program, whether or not an
// entry answers them: what a user can teach from once the dialog is gone.
// Kept in memory only: a message can name the user's files.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pallix {

// A button of the dialog as the capture would offer it.
struct SeenButton {
  std::string caption;
  bool beyond_ansi = false;  // a character the ANSI code page lacks
  bool twin = false;         // an earlier pressable button has this caption
  bool is_default = false;   // the dialog's default push button
};

// A dialog as the capture reads it when it is dropped on.
struct SeenDialog {
  std::string program;  // empty: Windows did not say
  std::string title;    // as "Title" shows it
  std::string window_class;
  std::string message;  // as "When it says:" offers it
  bool title_cut = false;
  bool title_beyond_ansi = false;
  std::vector<SeenButton> buttons;  // pressable ones, in window order
};

// One dialog, however often it showed.
struct DialogRecord {
  std::uint64_t id = 0;  // never given twice in a run
  SeenDialog dialog;
  SYSTEMTIME first{};
  SYSTEMTIME last{};
  int seen = 0;
  std::string answered;  // the entry's button, when Pallix answered it
};

// Whether two sightings are of one dialog: the same program and class (as
// Windows compares names), title and message.
bool SameDialog(const SeenDialog& a, const SeenDialog& b);

// The buttons a teach offers, as indexes into `dialog.buttons`, at most
// three: in window order; of more than three, the default button first
// (when known), then the others in window order.
std::vector<std::size_t> OfferedButtons(const SeenDialog& dialog);

// The buttons' captions in window order, the default one marked.
std::string ButtonsText(const SeenDialog& dialog);

class RecentDialogs {
 public:
  static constexpr std::size_t kKept = 100;

  // A window showed this dialog at `at`: its record counts one more and
  // becomes the newest, or a new record starts and the oldest beyond
  // kKept goes.
  const DialogRecord& Note(HWND window, SeenDialog dialog, const SYSTEMTIME& at);
  // As Note, for a dialog already recorded, known by its program, title,
  // class and message alone: its buttons stay as last read. False, and
  // nothing noted, when no record is of that dialog.
  bool NoteAgain(HWND window, const SeenDialog& key, const SYSTEMTIME& at);
  // An entry answered the dialog in this window, with this button. False
  // when no record came from that window.
  bool Answered(HWND window, std::string_view button);

  // Oldest (by its last sighting) first.
  const std::vector<DialogRecord>& records() const { return records_; }
  const DialogRecord* Find(std::uint64_t id) const;

 private:
  std::vector<DialogRecord> records_;
  // The windows of the records, for telling an answer to its record.
  std::vector<std::pair<HWND, std::uint64_t>> windows_;
  std::uint64_t next_id_ = 1;
};

}  // namespace pallix

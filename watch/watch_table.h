// The dialogs being watched: four parallel lists, one slot per entry of the
// loaded file (slot 0 is never used, so slot i is entry i of the file).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/file_stamp.h"

namespace pallix {

// A sanity limit: more entries than a user could ever teach, and few enough
// that loading them and looking for them stays quick.
inline constexpr int kWatchLimit = 1000;

struct WatchTable {
  std::vector<std::string> watch_title{1};
  std::vector<std::string> watch_button{1};
  std::vector<std::string> watch_class{1};
  // Text the dialog's message must contain; empty: any message will do.
  std::vector<std::string> watch_message{1};
  // The file name of the program whose dialogs the entry answers; empty:
  // every program's.
  std::vector<std::string> watch_program{1};
  // Whether the stored line reads as an entry the monitor can use; a
  // malformed one keeps its slot, so that the numbers stay the file's.
  std::vector<bool> understood{false};
  // The stored line of a slot that is not understood, as the user wrote it.
  std::vector<std::string> stored{1};

  // The file the table was loaded from, and how it stood just before.
  std::string source;
  FileStamp stamp;
  // The file's bytes the entries were read from; none when a write came
  // between the start and the end of the load (or the file could not be
  // read), so that the file check loads it again and Remove refuses.
  std::optional<std::string> loaded_bytes;

  // The highest slot.
  int Count() const { return static_cast<int>(watch_title.size()) - 1; }

  // A slot whose title and class are both empty is no entry.
  bool HasEntries() const {
    for (int i = 1; i <= Count(); ++i) {
      if (!watch_title[i].empty() || !watch_class[i].empty()) return true;
    }
    return false;
  }

  void Clear() { Resize(0); }

  // Slot `n` taken out; the slots after it move up by one, as the entries
  // after a removed one do in the file.
  void Erase(int n) {
    auto erase = [n](auto& list) { list.erase(list.begin() + n); };
    erase(watch_title);
    erase(watch_button);
    erase(watch_class);
    erase(watch_message);
    erase(watch_program);
    erase(understood);
    erase(stored);
  }

  // Slots 1 to `count`, the new ones empty.
  void Resize(int count) {
    watch_title.resize(count + 1);
    watch_button.resize(count + 1);
    watch_class.resize(count + 1);
    watch_message.resize(count + 1);
    watch_program.resize(count + 1);
    understood.resize(count + 1);
    stored.resize(count + 1);
  }
};

}  // namespace pallix

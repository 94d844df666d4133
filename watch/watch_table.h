// The dialogs being watched: four parallel lists, slots 1 to 20 (slot 0 is
// never used, so slot i is entry i of the loaded file).
#pragma once

#include <array>
#include <string>

namespace pallix {

inline constexpr int kWatchSlots = 20;

struct WatchTable {
  std::array<std::string, kWatchSlots + 1> watch_title;
  std::array<std::string, kWatchSlots + 1> watch_button;
  std::array<std::string, kWatchSlots + 1> watch_class;
  // Text the dialog's message must contain; empty: any message will do.
  std::array<std::string, kWatchSlots + 1> watch_message;

  // A slot whose title and class are both empty is no entry.
  bool HasEntries() const {
    for (int i = 1; i <= kWatchSlots; ++i) {
      if (!watch_title[i].empty() || !watch_class[i].empty()) return true;
    }
    return false;
  }

  void Clear() {
    for (int i = 0; i <= kWatchSlots; ++i) {
      watch_title[i].clear();
      watch_button[i].clear();
      watch_class[i].clear();
      watch_message[i].clear();
    }
  }
};

}  // namespace pallix

// The entries in view: one row per entry of the loaded file, with how often
// each answered since this start and when it last did.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "monitor/click_memory.h"
#include "watch/watch_table.h"

namespace pallix {

inline constexpr const char* kNotUnderstood = "(not understood)";

struct EntryAnswers {
  int answered = 0;
  SYSTEMTIME last{};
};

// Entries by their texts, not their numbers: a count stays with its entry
// across a reload, wherever the entry now stands.
struct EntryOrder {
  bool operator()(const WatchedEntry& a, const WatchedEntry& b) const {
    return std::tie(a.title, a.message, a.program, a.button, a.window_class) <
           std::tie(b.title, b.message, b.program, b.button, b.window_class);
  }
};
using AnswerCounts = std::map<WatchedEntry, EntryAnswers, EntryOrder>;

// The entry the monitor knows slot `slot` by.
WatchedEntry EntryOf(const WatchTable& table, int slot);

// "Last": the time of day for an answer of today, the date for one before.
std::string LastAnswerText(const SYSTEMTIME& last, const SYSTEMTIME& now);

// The columns of one slot's row, in this order.
enum EntryColumn : int {
  kTitleColumn,
  kProgramColumn,
  kMessageColumn,
  kButtonColumn,
  kAnsweredColumn,
  kLastColumn,
};
std::vector<std::string> EntryRow(const WatchTable& table, int slot, const AnswerCounts& counts,
                                  const SYSTEMTIME& now);

// The texts of one slot's row that a tip shows whole, one a line.
std::string EntryTip(const WatchTable& table, int slot);

}  // namespace pallix

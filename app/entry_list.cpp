#include "app/entry_list.h"

#include <cstdio>

namespace pallix {

WatchedEntry EntryOf(const WatchTable& table, int slot) {
  return WatchedEntry{table.watch_title[slot], table.watch_button[slot], table.watch_class[slot],
                      table.watch_message[slot], table.watch_program[slot]};
}

std::string LastAnswerText(const SYSTEMTIME& last, const SYSTEMTIME& now) {
  char text[16];
  if (last.wYear == now.wYear && last.wMonth == now.wMonth && last.wDay == now.wDay) {
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", last.wHour, last.wMinute, last.wSecond);
  } else {
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", last.wYear, last.wMonth, last.wDay);
  }
  return text;
}

std::vector<std::string> EntryRow(const WatchTable& table, int slot, const AnswerCounts& counts,
                                  const SYSTEMTIME& now) {
  if (!table.understood[slot]) return {table.stored[slot], "", "", kNotUnderstood, "0", ""};
  auto found = counts.find(EntryOf(table, slot));
  int answered = found == counts.end() ? 0 : found->second.answered;
  return {table.watch_title[slot],   table.watch_program[slot],
          table.watch_message[slot], table.watch_button[slot],
          std::to_string(answered),  answered ? LastAnswerText(found->second.last, now) : ""};
}

std::string EntryTip(const WatchTable& table, int slot) {
  if (slot < 1 || slot > table.Count()) return {};
  std::string tip;
  for (const std::string* text :
       {table.understood[slot] ? &table.watch_title[slot] : &table.stored[slot],
        &table.watch_program[slot], &table.watch_message[slot], &table.watch_button[slot]}) {
    if (text->empty()) continue;
    if (!tip.empty()) tip += "\r\n";
    tip += *text;
  }
  return tip;
}

}  // namespace pallix

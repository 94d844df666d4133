#include "watch/watch_entry.h"

#include <limits>

#include "config/config_path.h"

namespace pallix {

WatchEntry ParseWatchEntry(std::string_view value) {
  WatchEntry entry;

  // The class runs from after the first "<<" to two characters before the
  // end, where a well-formed entry has its ">>". With fewer than two
  // characters after the "<<" there is no such range: the class stays empty.
  if (std::size_t open = value.find("<<"); open != std::string_view::npos) {
    std::size_t start = open + 2;
    if (value.size() >= start + 2) {
      entry.window_class = TrimBlanks(value.substr(start, value.size() - 2 - start));
    }
  }

  // Title before the first "[", caption between it and the first "]". A "]"
  // missing or standing before the "[" leaves both empty rather than guessing.
  std::size_t open = value.find('[');
  std::size_t close = value.find(']');
  if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
    entry.title = value.substr(0, open);
    entry.button = TrimBlanks(value.substr(open + 1, close - open - 1));
  }
  return entry;
}

std::int64_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    n = (n > (kMax - digit) / 10) ? kMax : n * 10 + digit;
  }
  return negative ? -n : n;
}

}  // namespace pallix

// Reading watch entries and counts back from their stored text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pallix {

// One watched dialog: the title and class to find it by, and the caption of
// the button to press.
struct WatchEntry {
  std::string title;
  std::string button;
  std::string window_class;
  friend bool operator==(const WatchEntry&, const WatchEntry&) = default;
};

// Splits a stored entry "Title[Button]<<Class>>" into its pieces. Pieces that
// cannot be found, or whose brackets are out of order, come back empty.
WatchEntry ParseWatchEntry(std::string_view value);

// The number at the start of a count text: leading blanks skipped, digits
// taken, anything else ending it; text that does not start with a number
// gives 0. Values beyond what the count can hold saturate instead of wrapping.
std::int64_t LeadingNumber(std::string_view text);

}  // namespace pallix

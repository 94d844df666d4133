// Reading stored entries and counts back, and the blanks trimmed from them.
#include "watch/watch_entry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/config_path.h"

namespace pallix {
namespace {

TEST(WatchEntry, PiecesAreFoundByTheFirstBracketsAndMarker) {
  // Value, then title, caption and class. The plainer ones, and a count past
  // 32 bits, the Read ini tests load from a file.
  const char* const cases[][4] = {
      // The title stays as it stands; caption and class lose their blanks,
      // and only blanks.
      {"A[\tB ]<<C\t>>", "A", "\tB", "C\t"},
      {"Save [draft][OK]<<#32770>>", "Save ", "draft", "#32770"},
      {"T[B]<<A<<B>>", "T", "B", "A<<B"},
      // The class ends two characters before the end, whatever they are.
      {"T[B]<<CLASS", "T", "B", "CLA"},
      // What is missing comes back empty, and so does what has no end.
      {"NoTitle", "", "", ""},
      {"[]<<>>", "", "", ""},
      {"T[B<<C>>", "", "", "C"},
      {"T]x[B<<C>>", "", "", "C"},
      {"T[B]<<>", "T", "B", ""},
      {"T[B]<<", "T", "B", ""}};
  for (const auto& c : cases) {
    WatchEntry got = ParseWatchEntry(c[0]);
    EXPECT_EQ(got.title, c[1]) << c[0];
    EXPECT_EQ(got.button, c[2]) << c[0];
    EXPECT_EQ(got.window_class, c[3]) << c[0];
  }
}

TEST(WatchEntry, TheCountIsTheNumberAtTheStart) {
  EXPECT_EQ(LeadingNumber("2x"), 2);
  EXPECT_EQ(LeadingNumber("  12 "), 12);
  EXPECT_EQ(LeadingNumber("-5"), -5);
  EXPECT_EQ(LeadingNumber("x2"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("\t3"), 0);  // only blanks are skipped
  EXPECT_EQ(LeadingNumber("99999999999999999999999"), INT64_MAX);
}

TEST(TrimBlanks, RemovesSpacesOnlyAndOnlyAtTheEnds) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
}

}  // namespace
}  // namespace pallix

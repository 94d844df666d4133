// Reading stored entries and counts back.
#include "watch/watch_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace pallix {
namespace {

WatchEntry E(std::string title, std::string button, std::string cls) {
  return WatchEntry{std::move(title), std::move(button), std::move(cls)};
}

TEST(ParseWatchEntry, WellFormedEntriesGiveTheirPieces) {
  EXPECT_EQ(ParseWatchEntry("A[B]<<C>>"), E("A", "B", "C"));
  EXPECT_EQ(ParseWatchEntry("Save changes[&Yes]<<#32770>>"), E("Save changes", "&Yes", "#32770"));
  EXPECT_EQ(ParseWatchEntry("T[DEFAULT]<<#32770>>"), E("T", "DEFAULT", "#32770"));
  // The title is kept as it stands; caption and class lose their blanks.
  EXPECT_EQ(ParseWatchEntry("A [ B ] << C >>"), E("A ", "B", "C"));
  // Tabs are not blanks.
  EXPECT_EQ(ParseWatchEntry("A[\tB ]<<C\t>>"), E("A", "\tB", "C\t"));
}

TEST(ParseWatchEntry, TheFirstBracketsAndMarkerDecide) {
  EXPECT_EQ(ParseWatchEntry("Save [draft][OK]<<#32770>>"), E("Save ", "draft", "#32770"));
  EXPECT_EQ(ParseWatchEntry("[]<<>>"), E("", "", ""));
  EXPECT_EQ(ParseWatchEntry("T[B]<<A<<B>>"), E("T", "B", "A<<B"));
  // The class ends two characters before the end, whatever they are.
  EXPECT_EQ(ParseWatchEntry("T[B]<<CLASS"), E("T", "B", "CLA"));
}

TEST(ParseWatchEntry, MissingPiecesComeBackEmpty) {
  EXPECT_EQ(ParseWatchEntry("NoTitle"), E("", "", ""));
  EXPECT_EQ(ParseWatchEntry(""), E("", "", ""));
  EXPECT_EQ(ParseWatchEntry("T[B]"), E("T", "B", ""));
  EXPECT_EQ(ParseWatchEntry("X<<C>>"), E("", "", "C"));
}

TEST(ParseWatchEntry, PiecesWithoutAnEndAreEmptyNotGuessed) {
  // "[" with no "]" after it.
  EXPECT_EQ(ParseWatchEntry("T[B<<C>>"), E("", "", "C"));
  EXPECT_EQ(ParseWatchEntry("T]x[B<<C>>"), E("", "", "C"));
  // Fewer than two characters after "<<".
  EXPECT_EQ(ParseWatchEntry("T[B]<<>"), E("T", "B", ""));
  EXPECT_EQ(ParseWatchEntry("T[B]<<"), E("T", "B", ""));
  EXPECT_EQ(ParseWatchEntry("<<"), E("", "", ""));
  EXPECT_EQ(ParseWatchEntry("<<>>"), E("", "", ""));
}

TEST(LeadingNumber, TakesTheNumberAtTheStart) {
  EXPECT_EQ(LeadingNumber("2"), 2);
  EXPECT_EQ(LeadingNumber("2x"), 2);
  EXPECT_EQ(LeadingNumber("  12 "), 12);
  EXPECT_EQ(LeadingNumber("-5"), -5);
  EXPECT_EQ(LeadingNumber("4294967296"), 4294967296LL);
  EXPECT_EQ(LeadingNumber("x2"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("\t3"), 0);  // only spaces are skipped
  EXPECT_EQ(LeadingNumber("99999999999999999999999"), INT64_MAX);
}

TEST(TrimBlanks, RemovesSpacesOnly) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
}

}  // namespace
}  // namespace pallix

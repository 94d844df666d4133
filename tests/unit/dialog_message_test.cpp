// A dialog's message as the capture and the monitor read it: the join on
// its own, then a real dialog (another program's message boxes: the capture
// journey).
#include "watch/dialog_message.h"

#include <string>
#include <vector>

#include "tests/unit/support.h"

namespace pallix {
namespace {

TEST(DialogMessage, TextsAreJoinedByOneBlankAndEachLineBreakIsOneBlank) {
  EXPECT_EQ(JoinMessage({}), "");
  EXPECT_EQ(JoinMessage({"", "One", "", "two "}), "One two ");
  EXPECT_EQ(JoinMessage({"a\r\nb\rc\nd", "\r\n\n"}), "a b c d   ");
  EXPECT_EQ(JoinMessage({"tab\tstays"}), "tab\tstays");

  // The offer for the box: what one value holds, without blanks round it.
  EXPECT_EQ(MessagePrefill("  Save changes? \t"), "Save changes?");
  EXPECT_EQ(MessagePrefill(std::string(254, 'x') + "  tail"), std::string(254, 'x'));
  EXPECT_EQ(MessagePrefill(" "), "");
}

TEST(DialogMessage, OnlyTheDialogsOwnTextsCountInWindowOrder) {
  test::TestDialog dialog("Several", {"OK"});
  dialog.Say("Save changes to");
  dialog.Say("");
  dialog.Say("part1.3dm?\r\nAll unsaved work\nis lost.");
  // Neither an edit box's text nor a text inside a panel is the message.
  ::CreateWindowExA(0, "Edit", "typed", WS_CHILD, 0, 0, 50, 20, dialog.hwnd(), nullptr, nullptr,
                    nullptr);
  test::TestDialog panel("", {}, "PallixPanel");
  ::SetWindowLongPtrA(panel.hwnd(), GWL_STYLE, WS_CHILD | WS_VISIBLE);
  ::SetParent(panel.hwnd(), dialog.hwnd());
  panel.Say("inside a panel");
  EXPECT_EQ(DialogMessage(dialog.hwnd()), "Save changes to part1.3dm? All unsaved work is lost.");
  EXPECT_EQ(DialogMessage(nullptr), "");
}

}  // namespace
}  // namespace pallix

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

TEST(DialogMessage, StaticsAndFormsLabelsAtAnyDepthCountInWindowOrder) {
  constexpr char kFormsLabel[] = "WindowsForms10.STATIC.app.0.pallix_test";
  test::RegisterSuperclass("Static", kFormsLabel);
  test::RegisterWindowClass("PallixPanel");
  test::TestDialog dialog("Several", {"OK"});
  dialog.Say("Save changes to");
  dialog.Say("");
  HWND panel = ::CreateWindowExA(0, "PallixPanel", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 20,
                                 dialog.hwnd(), nullptr, nullptr, nullptr);
  ::CreateWindowExA(0, kFormsLabel, "part1.3dm", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, panel,
                    nullptr, nullptr, nullptr);
  dialog.Say("in a panel?\r\nAll unsaved work\nis lost.");
  // An edit box's text is no message.
  ::CreateWindowExA(0, "Edit", "typed", WS_CHILD, 0, 0, 50, 20, panel, nullptr, nullptr, nullptr);
  EXPECT_EQ(DialogMessage(dialog.hwnd()),
            "Save changes to part1.3dm in a panel? All unsaved work is lost.");
  EXPECT_EQ(DialogMessage(nullptr), "");
}

}  // namespace
}  // namespace pallix

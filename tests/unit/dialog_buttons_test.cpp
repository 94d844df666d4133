// What Pallix counts as a button it can press, on real windows of this
// program (TaskDialogs and Windows Forms dialogs of another program, and a
// title beyond the code page: the nested journey).
#include "watch/dialog_buttons.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "tests/unit/support.h"

namespace pallix {
namespace {

HWND Make(const char* window_class, const char* text, DWORD style, HWND parent) {
  return ::CreateWindowExA(0, window_class, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 80, 24,
                           parent, nullptr, nullptr, nullptr);
}

TEST(DialogButtons, PushingKindsWithACaptionAtAnyDepthInWindowOrder) {
  constexpr char kFormsButton[] = "WindowsForms10.BUTTON.app.0.pallix_test";
  test::RegisterSuperclass("Button", kFormsButton);
  test::RegisterWindowClass("PallixPanel");
  test::TestDialog dialog("Options", {});
  HWND d = dialog.hwnd();
  // Pressing these answers nothing; a button without a caption could never
  // be found again; a Static's style reads as a push button's.
  for (DWORD kind : {BS_GROUPBOX, BS_AUTOCHECKBOX, BS_CHECKBOX, BS_3STATE, BS_AUTO3STATE,
                     BS_RADIOBUTTON, BS_AUTORADIOBUTTON}) {
    Make("Button", "Never", kind, d);
  }
  Make("Button", "", BS_PUSHBUTTON, d);
  Make("Static", "Static", SS_LEFT, d);
  HWND panel = Make("PallixPanel", "", 0, d);
  HWND inner = Make("PallixPanel", "", 0, panel);
  const std::vector<HWND> buttons{
      Make("button", "Push", BS_PUSHBUTTON, inner),
      Make(kFormsButton, "Forms", BS_OWNERDRAW, panel),
      Make("Button", "Default", BS_DEFPUSHBUTTON, d),
      Make("Button", "Link", BS_COMMANDLINK, d),
      Make("Button", "Split", BS_SPLITBUTTON, d),
      Make("BUTTON", "User", BS_USERBUTTON, d),
  };
  EXPECT_EQ(DialogButtons(d), buttons);
}

TEST(DialogButtons, PressedOnlyWhenEnabledAndShownWithWhatItStandsIn) {
  test::RegisterWindowClass("PallixPanel");
  test::TestDialog dialog("Wait", {});
  HWND d = dialog.hwnd();
  HWND panel = Make("PallixPanel", "", 0, d);
  HWND nested = Make("Button", "OK", BS_PUSHBUTTON, panel);
  HWND direct = Make("Button", "OK", BS_PUSHBUTTON, d);
  auto found = [&](const char* caption) {
    ButtonLookup b = PressableButton(d, caption);
    return std::pair{b.button, b.not_ready};
  };
  EXPECT_EQ(found("OK"), std::pair(nested, false));
  // The caption is compared whole, case and all.
  EXPECT_EQ(found("Ok"), std::pair(HWND{}, false));
  ::EnableWindow(panel, FALSE);
  EXPECT_EQ(found("OK"), std::pair(direct, false));
  ::ShowWindow(direct, SW_HIDE);
  EXPECT_EQ(found("OK"), std::pair(HWND{}, true));
  // Enabled and shown itself, in a dialog not shown yet.
  ::EnableWindow(panel, TRUE);
  ::ShowWindow(d, SW_HIDE);
  EXPECT_EQ(found("OK"), std::pair(HWND{}, true));
  EXPECT_EQ(found("Cancel"), std::pair(HWND{}, true));
}

}  // namespace
}  // namespace pallix

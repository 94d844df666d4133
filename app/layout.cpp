// The main window as designed: every control in its place, size, state and
// look. Places are in twips and become pixels at the screen's resolution.
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/autostart.h"
#include "app/form1.h"
#include "app/maker_links.h"
#include "app/tray.h"
#include "pallix_version.h"
#include "resources/resource_ids.h"

namespace pallix {
namespace {

struct Twips {
  int left, top, width, height;
};

LONG Px(double twips, double per_pixel) {
  return static_cast<LONG>(std::lround(twips / per_pixel));
}

RECT ToPixels(Twips t) {
  double x = TwipsPerPixelX(), y = TwipsPerPixelY();
  return RECT{Px(t.left, x), Px(t.top, y), Px(t.left + t.width, x), Px(t.top + t.height, y)};
}

// The client area's place on the screen and its size.
// It grew below the monitoring switch to hold the entries in view.
constexpr Twips kClientArea{3435, 2610, 4680, 4770};
// How far the controls that are never seen moved down with it.
constexpr int kGrown = 2355;
// What follows the window's size: the list grows with it, "Remove" keeps
// to the list's bottom right corner, and the controls never seen keep as
// far below the client area's bottom edge as they were.
constexpr Twips kList2{90, 2460, 4545, 1830};
constexpr Twips kCommand6{3780, 4365, 855, 315};
// "Recent dialogs" keeps to the list's bottom left corner.
constexpr Twips kCommand7{90, 4365, 1455, 315};
constexpr Twips kText2{-30, 3630 + kGrown, 9315, 315};
constexpr Twips kCommand5{3360, 5670 + kGrown, 735, 375};
constexpr Twips kText3{4260, 4920 + kGrown, 3615, 375};
constexpr Twips kText4{0, 3180 + kGrown, 2625, 315};
constexpr Twips kList1{570, 6300 + kGrown, 3585, 840};
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(192, 192, 192);

}  // namespace

void Form1::Create() {
  hwnd_ = CreateMainWindow("Pallix by Korrel v" PALLIX_VERSION, ToPixels(kClientArea), *this);
  auto make = [&](ControlKind kind, int id, const char* text, Twips place) {
    return CreateControl(hwnd_, kind, id, text, ToPixels(place));
  };

  // Created in keyboard-focus order, which is also the order Windows walks
  // with the Tab key. "Create Ini" comes just before the chooser it covers,
  // so that it lies above it once shown.
  // The maker's name overlaps the logo's corner and stays readable above it;
  // it takes no focus, so its place in the order changes no Tab stop.
  c_.Text5 = make(ControlKind::kLabel, kIdText5, "Korrel", {4050, 0, 615, 195});
  c_.Pic1 = make(ControlKind::kPictureBox, kIdPic1, "", {3720, 60, 735, 705});
  c_.Command1 = make(ControlKind::kButton, kIdCommand1, "Edit ini", {90, 1710, 855, 315});
  c_.Picture2 = make(ControlKind::kPictureBox, kIdPicture2, "", {3180, 240, 495, 525});
  c_.Text1 = make(ControlKind::kTextBox, kIdText1, "", {360, 210, 2775, 315});
  c_.Text6 = make(ControlKind::kTextBox, kIdText6, "", {1140, 600, 1995, 315});
  // Below the message it narrows, shown once a dialog is captured.
  c_.Check1 = make(ControlKind::kCheckBox, kIdCheck1, "", {1140, 945, 3495, 240});
  // The buttons' captions, then their options together, one group: Tab
  // comes to the chosen one, the arrows choose another, and Tab goes on to
  // Add. A caption is no stop of its own; a click or its mnemonic chooses
  // its option.
  const int cmd1_left[3] = {420, 1830, 3300};
  const int op1_left[3] = {180, 1590, 3030};
  for (int i = 0; i < 3; ++i) {
    c_.cmd1[i] = make(ControlKind::kButton, kIdCmd1First + i, "", {cmd1_left[i], 1260, 1155, 345});
    ::SetWindowLongA(c_.cmd1[i], GWL_STYLE, ::GetWindowLongA(c_.cmd1[i], GWL_STYLE) & ~WS_TABSTOP);
  }
  for (int i = 0; i < 3; ++i) {
    c_.Op1[i] =
        make(ControlKind::kOptionButton, kIdOp1First + i, "", {op1_left[i], 1290, 225, 255});
  }
  c_.Command3 = make(ControlKind::kButton, kIdCommand3, "Add", {2970, 1710, 1665, 315});
  for (HWND group : {c_.Op1[0], c_.Command3}) {
    ::SetWindowLongA(group, GWL_STYLE, ::GetWindowLongA(group, GWL_STYLE) | WS_GROUP);
  }
  c_.List1 = make(ControlKind::kListBox, kIdList1, "", kList1);
  c_.Command4 = make(ControlKind::kButton, kIdCommand4, "Create Ini", {990, 1710, 1935, 315});
  c_.Combo1 = make(ControlKind::kComboBox, kIdCombo1, "Combo1", {990, 1710, 1875, 315});
  c_.Command2 =
      make(ControlKind::kColouredButton, kIdCommand2, kEnableCaption, {90, 2070, 4545, 315});
  c_.List2 = make(ControlKind::kTable, kIdList2, "", kList2);
  c_.Command7 = make(ControlKind::kButton, kIdCommand7, "Recent dialogs", kCommand7);
  c_.Command6 = make(ControlKind::kButton, kIdCommand6, "Remove", kCommand6);
  // Below the visible area, never seen.
  c_.Text2 = make(ControlKind::kTextBox, kIdText2, "Text2", kText2);
  c_.Command5 = make(ControlKind::kButton, kIdCommand5, "Read ini", kCommand5);
  c_.Text3 = make(ControlKind::kTextBox, kIdText3, "Text3", kText3);
  c_.Text4 = make(ControlKind::kTextBox, kIdText4, "Text4", kText4);
  // Controls that take no focus.
  c_.Label3 = make(ControlKind::kCentredLabel, kIdLabel3, "Couldn't find parent hwnd Rhinoceros",
                   {60, 0, 3675, 225});
  c_.Label1 = make(ControlKind::kLabel, kIdLabel1, "Title", {0, 240, 315, 255});
  c_.Label2 = make(ControlKind::kLabel, kIdLabel2, "When it says:", {0, 645, 1125, 255});
  // Last, so that it lies below the buttons it frames.
  c_.Shape1 = make(ControlKind::kShape, kIdShape1, "", {120, 1200, 4395, 435});

  SetForeColor(c_.Label3, kRed);
  SetVisible(c_.Label3, false);
  SetForeColor(c_.Text5, kBlue);
  SetFont(c_.Text5, "Arial", 9, true, true);
  SetPicture(c_.Pic1, kBitmapLogo);
  SetToolTip(c_.Pic1, "Visit Korrel's web site");
  ::EnableWindow(c_.Text1, FALSE);
  SetForeColor(c_.Shape1, kBlue);
  SetCustomPointer(hwnd_, kCursorPicker);
  SetVisible(c_.Check1, false);
  for (int i = 0; i < 3; ++i) {
    SetVisible(c_.cmd1[i], false);
    SetVisible(c_.Op1[i], false);
  }
  SetVisible(c_.Command4, false);
  SetBackColor(c_.Command2, kMonitorOffColour);
  // Shares of the list's width: the title takes the most; "Answered" holds
  // small numbers, but its caption is long; "When it says" is often empty.
  TableColumns(c_.List2, {{"Title", 24},
                          {"Program", 19},
                          {"When it says", 13},
                          {"Button", 13},
                          {"Answered", 16},
                          {"Last", 15}});
  ::EnableWindow(c_.Command6, FALSE);
  for (HWND grey : {c_.Text5, c_.Pic1, c_.Label1, c_.Label2, c_.Label3}) SetBackColor(grey, kGrey);

  picker_.Attach(PickerControls{hwnd_, c_.Picture2, c_.Text1, c_.Text6, c_.Check1, c_.Text2,
                                c_.Text4, c_.Label3, kCursorPicker},
                 ScanControls{c_.cmd1, c_.Op1, c_.List1});

  // The icon's messages come to a window of their own, never on the screen.
  c_.Picture1 = CreateTrayWindow(*this, kTrayCallbackMessage);
  // Monitoring is off at start, and the tip says so.
  ::SetWindowTextA(c_.Picture1, kTrayTipOff);

  c_.traymenu = ::CreatePopupMenu();
  ::AppendMenuA(c_.traymenu, MF_STRING, kIdKorrelcom, kMakerSiteName);
  ::AppendMenuA(c_.traymenu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(c_.traymenu, MF_STRING | MF_CHECKED, kIdSwenable, "Disable");
  ::AppendMenuA(c_.traymenu, MF_STRING, kIdSwopen, kOpenCaption);
  ::AppendMenuA(c_.traymenu, MF_STRING, kIdAnswerLog, "Answer log");
  ::AppendMenuA(c_.traymenu, MF_STRING, kIdRecent, "Recent dialogs");
  ::AppendMenuA(c_.traymenu, MF_STRING, kIdStartup, kStartupCaption);
  ::AppendMenuA(c_.traymenu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(c_.traymenu, MF_STRING, kIdExit, "Exit");
}

void Form1::Form_Resize() {
  // Windows sizes the window before its controls exist.
  if (!c_.List2) return;
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  RECT designed = ToPixels(kClientArea);
  // The window is never smaller than designed.
  LONG wider = std::max(0L, client.right - (designed.right - designed.left));
  LONG taller = std::max(0L, client.bottom - (designed.bottom - designed.top));
  auto place = [](HWND control, RECT r) {
    ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  };
  RECT list = ToPixels(kList2);
  list.right += wider;
  list.bottom += taller;
  place(c_.List2, list);
  RECT remove = ToPixels(kCommand6);
  ::OffsetRect(&remove, wider, taller);
  place(c_.Command6, remove);
  RECT recent = ToPixels(kCommand7);
  ::OffsetRect(&recent, 0, taller);
  place(c_.Command7, recent);
  const std::pair<HWND, Twips> unseen[] = {{c_.Text2, kText2},
                                           {c_.Command5, kCommand5},
                                           {c_.Text3, kText3},
                                           {c_.Text4, kText4},
                                           {c_.List1, kList1}};
  for (auto [control, twips] : unseen) {
    RECT r = ToPixels(twips);
    ::OffsetRect(&r, 0, taller);
    place(control, r);
  }
  TableFitColumns(c_.List2);
}

}  // namespace pallix

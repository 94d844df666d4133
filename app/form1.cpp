#include "app/form1.h"

#include <cmath>

#include "config/report_error.h"
#include "watch/read_ini.h"

namespace pallix {
namespace {

// Designed sizes are in twips; the screen decides how many make a pixel.
struct Twips {
  int left, top, width, height;
};

Rect ToPixels(Twips t) {
  double x = TwipsPerPixelX(), y = TwipsPerPixelY();
  auto px = [](double v) { return static_cast<std::int32_t>(std::lround(v)); };
  return Rect{px(t.left / x), px(t.top / y), px((t.left + t.width) / x),
              px((t.top + t.height) / y)};
}

constexpr Twips kClientArea{3435, 2610, 4680, 2025};

}  // namespace

void Form1::Create() {
  hwnd_ = CreateMainWindow("Pallix - v0.1", ToPixels(kClientArea), *this);
  combo1_ = CreateControl(hwnd_, ControlKind::kComboBox, kIdCombo1, "Combo1",
                          ToPixels({990, 1320, 1875, 315}));
  // Below the client area: never seen, reachable from the keyboard only.
  text3_ = CreateControl(hwnd_, ControlKind::kTextBox, kIdText3, "Text3",
                         ToPixels({4260, 4920, 3615, 375}));
  list2_ =
      CreateControl(hwnd_, ControlKind::kListBox, kIdList2, "", ToPixels({4230, 5370, 4695, 645}));
  command5_ = CreateControl(hwnd_, ControlKind::kButton, kIdCommand5, "Read ini",
                            ToPixels({3360, 5670, 735, 375}));
}

void Form1::Form_Load() {
  Handle([&] { Command5_Click(watch_, ReadIniControls{combo1_, list2_, text3_}); });
}

void Form1::Show() {
  SetVisible(hwnd_, true);
}

template <typename Handler>
void Form1::Handle(Handler&& handler) {
  try {
    handler();
  } catch (const RaisedError&) {
    // Already reported in its box; the program goes on.
  }
}

void Form1::OnCommand(int control_id) {
  switch (control_id) {
    case kIdCommand5:
      Handle([&] { Command5_Click(watch_, ReadIniControls{combo1_, list2_, text3_}); });
      break;
    default:
      break;
  }
}

void Form1::OnTimer(std::uintptr_t /*timer_id*/) {}

}  // namespace pallix

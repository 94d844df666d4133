#include "watch/dialog_buttons.h"

#include <commctrl.h>

#include <iterator>
#include <string_view>

#include "watch/dialog_message.h"

namespace pallix {
namespace {

bool IsButtonClass(HWND window) {
  std::string own = ClassName(window);
  if (own.empty()) return false;
  if (ClassNameIs(own, "Button") || ClassNameHas(own, ".BUTTON.")) return true;
  // A superclass of Button under a name of its own: Windows names the
  // control it is built on.
  char name[256];
  int n = static_cast<int>(::RealGetWindowClassA(window, name, sizeof name));
  return n > 0 && ClassNameIs(std::string_view(name, static_cast<std::size_t>(n)), "Button");
}

bool Pushes(HWND window) {
  switch (::GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_USERBUTTON:
    case BS_OWNERDRAW:
    case BS_SPLITBUTTON:
    case BS_DEFSPLITBUTTON:
    case BS_COMMANDLINK:
    case BS_DEFCOMMANDLINK:
      return true;
    default:
      return false;
  }
}

// A window disabled takes no input, and neither does what stands in it. A
// build of the benchmark's own presses what it finds, as Pallix did before
// it looked (bench/CMakeLists.txt).
bool Pressable(HWND window, HWND dialog) {
#ifndef PALLIX_BENCH_WITHOUT_PRESSABLE_CHECK
  for (HWND w = window; w; w = w == dialog ? nullptr : ::GetParent(w)) {
    if (!::IsWindowEnabled(w)) return false;
  }
  return ::IsWindowVisible(window);
#else
  (void)window;
  (void)dialog;
  return true;
#endif
}

}  // namespace

bool IsDialogButton(HWND window) {
  return IsButtonClass(window) && Pushes(window) && !ControlText(window).empty();
}

std::vector<HWND> DialogButtons(HWND dialog) {
  std::vector<HWND> buttons;
  for (HWND window : Descendants(dialog)) {
    if (IsDialogButton(window)) buttons.push_back(window);
  }
  return buttons;
}

ButtonLookup PressableButton(HWND dialog, const std::string& caption) {
#ifndef PALLIX_BENCH_WITHOUT_PRESSABLE_CHECK
  // Nothing in a hidden dialog is pressable: a dialog on its way up is
  // looked at every millisecond, and its controls are walked once it shows.
  if (!::IsWindowVisible(dialog)) return {nullptr, true};
#endif
  ButtonLookup found;
  for (HWND window : DialogButtons(dialog)) {
    if (ControlText(window) != caption) continue;
    if (!Pressable(window, dialog)) {
      found.not_ready = true;
      continue;
    }
    return {window, false};
  }
  // Its buttons may not all be made before it is shown.
  found.not_ready = found.not_ready || !::IsWindowVisible(dialog);
  return found;
}

bool HasEarlierTwin(HWND dialog, HWND button) {
  const std::string caption = ControlText(button);
  for (HWND window : DialogButtons(dialog)) {
    if (window == button) return false;
    if (ControlText(window) == caption && Pressable(window, dialog)) return true;
  }
  return false;
}

bool AnsiHoldsText(HWND window) {
  wchar_t wide[1024];
  int n = ::InternalGetWindowText(window, wide, static_cast<int>(std::size(wide)));
  if (n <= 0) return true;
  char ansi[4 * std::size(wide)];
  int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, n, ansi, sizeof ansi, nullptr, nullptr);
  wchar_t back[std::size(wide)];
  int m = ::MultiByteToWideChar(CP_ACP, 0, ansi, bytes, back, static_cast<int>(std::size(back)));
  return std::wstring_view(wide, static_cast<std::size_t>(n)) ==
         std::wstring_view(back, static_cast<std::size_t>(m > 0 ? m : 0));
}

}  // namespace pallix

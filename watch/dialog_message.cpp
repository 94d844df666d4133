#include "watch/dialog_message.h"

#include <algorithm>
#include <iterator>

#include "config/ini_files.h"

namespace pallix {
namespace {

// What Windows keeps of a control's text, without a message to its window:
// a hung program cannot stop the reader, and the text is the same whether
// the control is another program's or this one's. Given as ANSI text like
// every other text Pallix keeps.
std::string ControlText(HWND control) {
  wchar_t wide[1024];
  int n = ::InternalGetWindowText(control, wide, static_cast<int>(std::size(wide)));
  if (n <= 0) return {};
  char text[4 * std::size(wide)];
  int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, n, text, sizeof text, nullptr, nullptr);
  return std::string(text, bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
}

bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

}  // namespace

std::string JoinMessage(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) {
    if (text.empty()) continue;
    if (!joined.empty()) joined += ' ';
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      joined += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
  }
  return joined;
}

std::vector<HWND> MessageControls(HWND dialog) {
  std::vector<HWND> controls;
  // Windows picks out the "Static" children (whatever the case of their
  // class name), in window order: one call each, where asking every child
  // its class would cost two.
  if (!dialog) return controls;
  for (HWND child = ::FindWindowExA(dialog, nullptr, "Static", nullptr); child;
       child = ::FindWindowExA(dialog, child, "Static", nullptr)) {
    controls.push_back(child);
  }
  return controls;
}

std::string ReadMessage(const std::vector<HWND>& controls) {
  std::vector<std::string> texts;
  texts.reserve(controls.size());
  for (HWND control : controls) texts.push_back(ControlText(control));
  return JoinMessage(texts);
}

std::string DialogMessage(HWND dialog) {
  return ReadMessage(MessageControls(dialog));
}

std::string MessagePrefill(std::string_view message) {
  message = message.substr(0, kIniValueMax);
  while (!message.empty() && IsProfileBlank(message.front())) message.remove_prefix(1);
  while (!message.empty() && IsProfileBlank(message.back())) message.remove_suffix(1);
  return std::string(message);
}

}  // namespace pallix

#include "watch/dialog_message.h"

#include <algorithm>

#include "config/ini_files.h"

namespace pallix {
namespace {

// How long a window of this program may take to give its text.
constexpr UINT kOwnTextTimeoutMs = 100;

std::string ControlText(HWND control, bool own) {
  char buffer[1024];
  if (own) {
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, kOwnTextTimeoutMs, &copied)) {
      return {};
    }
    return std::string(buffer, std::min<std::size_t>(copied, sizeof buffer - 1));
  }
  int n = ::GetWindowTextA(control, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
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

std::string DialogMessage(HWND dialog) {
  std::vector<std::string> texts;
  // Windows picks out the "Static" children (whatever the case of their
  // class name), in window order: one call each, where asking every child
  // its class would cost two.
  if (!dialog) return {};
  // A dialog's children belong to its own program: asked once, not per text.
  DWORD pid = 0;
  ::GetWindowThreadProcessId(dialog, &pid);
  const bool own = pid == ::GetCurrentProcessId();
  for (HWND child = ::FindWindowExA(dialog, nullptr, "Static", nullptr); child;
       child = ::FindWindowExA(dialog, child, "Static", nullptr)) {
    texts.push_back(ControlText(child, own));
  }
  return JoinMessage(texts);
}

std::string MessagePrefill(std::string_view message) {
  message = message.substr(0, kIniValueMax);
  while (!message.empty() && IsProfileBlank(message.front())) message.remove_prefix(1);
  while (!message.empty() && IsProfileBlank(message.back())) message.remove_suffix(1);
  return std::string(message);
}

}  // namespace pallix

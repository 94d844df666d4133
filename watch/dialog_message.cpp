#include "watch/dialog_message.h"

#include <algorithm>
#include <iterator>

#include "config/ini_files.h"

namespace pallix {
namespace {

bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

void AddDescendants(HWND window, std::vector<HWND>& into) {
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    into.push_back(child);
    AddDescendants(child, into);
  }
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  if (!upper.empty()) ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

}  // namespace

// The text is the same whether the control is another program's or this
// one's, and ANSI like every other text Pallix keeps.
std::string ControlText(HWND control) {
  wchar_t wide[1024];
  int n = ::InternalGetWindowText(control, wide, static_cast<int>(std::size(wide)));
  if (n <= 0) return {};
  char text[4 * std::size(wide)];
  int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, n, text, sizeof text, nullptr, nullptr);
  return std::string(text, bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
}

std::wstring WideText(std::string_view text) {
  std::wstring wide(text.size(), L'\0');
  int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return wide;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> all;
  if (window) AddDescendants(window, all);
  return all;
}

std::string ClassName(HWND window) {
  char name[256];
  int n = ::GetClassNameA(window, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool ClassNameIs(std::string_view name, std::string_view is) {
  return Upper(name) == Upper(is);
}

bool ClassNameHas(std::string_view name, std::string_view part) {
  return Upper(name).find(Upper(part)) != std::string::npos;
}

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
  for (HWND window : Descendants(dialog)) {
    std::string window_class = ClassName(window);
    if (ClassNameIs(window_class, "Static") || ClassNameHas(window_class, ".STATIC.")) {
      controls.push_back(window);
    }
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

#include "watch/dialog_program.h"

#include <iterator>

#include "watch/dialog_message.h"

namespace pallix {

std::string_view FileNameOf(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string ProgramFileName(HANDLE process) {
  wchar_t path[4 * MAX_PATH];
  DWORD size = static_cast<DWORD>(std::size(path));
  if (!process || !::QueryFullProcessImageNameW(process, 0, path, &size) || size == 0) return {};
  std::wstring_view full(path, size);
  std::size_t slash = full.find_last_of(L"\\/");
  std::wstring_view name = slash == std::wstring_view::npos ? full : full.substr(slash + 1);
  char ansi[4 * MAX_PATH * 2];
  BOOL lost = FALSE;
  int bytes =
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(),
                            static_cast<int>(name.size()), ansi, sizeof ansi, nullptr, &lost);
  if (bytes <= 0 || lost) return {};
  return std::string(ansi, static_cast<std::size_t>(bytes));
}

std::string ProcessProgram(DWORD process_id) {
  if (!process_id) return {};
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  std::string name = ProgramFileName(process);
  if (process) ::CloseHandle(process);
  return name;
}

std::string WindowProgram(HWND window) {
  DWORD pid = 0;
  if (!window || !::GetWindowThreadProcessId(window, &pid)) return {};
  return ProcessProgram(pid);
}

// Ordinal, as the file system compares names: no language's rules make two
// different names equal.
bool SameProgram(std::string_view a, std::string_view b) {
  std::wstring wa = WideText(a), wb = WideText(b);
  return ::CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                                static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

bool ProgramFits(std::string_view bound, std::string_view program) {
  return bound.empty() || (!program.empty() && SameProgram(bound, program));
}

}  // namespace pallix

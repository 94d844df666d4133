#include "app/autostart.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cctype>

#include "ui/toolkit.h"

namespace pallix {
namespace {

constexpr const char* kShortcutDescription = "Pallix answers recurring dialog boxes";

std::string Folded(std::string_view text) {
  std::string out;
  for (char c : text) {
    char folded = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (folded == '\\' && !out.empty() && out.back() == '\\' && out.size() > 1) continue;
    out += folded;
  }
  return out;
}

// COM for the length of one use, on the user-interface thread. A thread that
// has it already in another mode can still make the calls.
struct ComScope {
  HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(hr)) ::CoUninitialize();
  }
};

template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

std::wstring Wide(const std::string& text) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(n > 0 ? n : 1, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

std::string HresultText(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return SystemErrorText(HRESULT_CODE(hr));
  return SystemErrorText(static_cast<DWORD>(hr));
}

std::string ThisProgram() {
  char path[MAX_PATH];
  return std::string(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
}

// The shortcut's path in the user's own Startup folder, or why Windows
// names no such folder.
std::string StartupLinkPath(HRESULT& hr) {
  PWSTR folder = nullptr;
  hr = ::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder);
  std::string path;
  if (SUCCEEDED(hr)) {
    int n = ::WideCharToMultiByte(CP_ACP, 0, folder, -1, nullptr, 0, nullptr, nullptr);
    path.resize(n > 0 ? n : 1);
    ::WideCharToMultiByte(CP_ACP, 0, folder, -1, path.data(), n, nullptr, nullptr);
    path.resize(path.size() - 1);
    path += '\\';
    path += kStartupLinkName;
  }
  ::CoTaskMemFree(folder);
  return path;
}

HRESULT WriteShortcut(const std::string& path, const std::string& exe) {
  ComScope com;
  Released<IShellLinkA> link;
  HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link.p));
  if (FAILED(hr)) return hr;
  std::string folder = AppPath();
  link.p->SetPath(exe.c_str());
  link.p->SetWorkingDirectory(folder.c_str());
  link.p->SetArguments(kBackgroundSwitch);
  link.p->SetIconLocation(exe.c_str(), 0);
  link.p->SetDescription(kShortcutDescription);
  Released<IPersistFile> file;
  hr = link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
  if (FAILED(hr)) return hr;
  return file.p->Save(Wide(path).c_str(), TRUE);
}

}  // namespace

bool HasBackgroundSwitch(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
    return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-') &&
           Folded(arg.substr(1)) == Folded(kBackgroundSwitch + 1);
  });
}

bool IsSameProgram(std::string_view link_target, std::string_view exe) {
  return !link_target.empty() && Folded(link_target) == Folded(exe);
}

std::optional<ShortcutInfo> ReadShortcut(const std::string& path) {
  ComScope com;
  Released<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.p)))) {
    return std::nullopt;
  }
  Released<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) ||
      FAILED(file.p->Load(Wide(path).c_str(), STGM_READ))) {
    return std::nullopt;
  }
  char text[3][INFOTIPSIZE] = {};
  if (link.p->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return std::nullopt;
  link.p->GetWorkingDirectory(text[1], MAX_PATH);
  link.p->GetArguments(text[2], INFOTIPSIZE);
  return ShortcutInfo{text[0], text[1], text[2]};
}

bool StartsWithWindows() {
  HRESULT hr;
  std::string path = StartupLinkPath(hr);
  if (FAILED(hr)) return false;
  std::optional<ShortcutInfo> link = ReadShortcut(path);
  if (!link) return false;
  // A target written with "." or ".." still names this program.
  char full[MAX_PATH];
  DWORD n = ::GetFullPathNameA(link->target.c_str(), MAX_PATH, full, nullptr);
  std::string target = n > 0 && n < MAX_PATH ? std::string(full, n) : link->target;
  return IsSameProgram(target, ThisProgram());
}

void ShowStartupCheck(HMENU traymenu, int item) {
  ::CheckMenuItem(traymenu, item, MF_BYCOMMAND | (StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED));
}

void startup_Click(HMENU traymenu, int item) {
  HRESULT hr;
  std::string path = StartupLinkPath(hr);
  if (FAILED(hr)) {
    MsgBox("Pallix could not find your Startup folder:\r\n" + HresultText(hr),
           MB_OK | MB_ICONEXCLAMATION, kAppTitle);
  } else if (StartsWithWindows()) {
    if (!::DeleteFileA(path.c_str())) {
      MsgBox("Pallix could not remove " + path + ":\r\n" + SystemErrorText(::GetLastError()),
             MB_OK | MB_ICONEXCLAMATION, kAppTitle);
    }
  } else {
    // A shortcut to another copy of Pallix, or a file that is none, is
    // replaced: the Startup folder should start this one.
    hr = WriteShortcut(path, ThisProgram());
    if (FAILED(hr)) {
      MsgBox("Pallix could not create " + path + ":\r\n" + HresultText(hr),
             MB_OK | MB_ICONEXCLAMATION, kAppTitle);
    }
  }
  ShowStartupCheck(traymenu, item);
}

}  // namespace pallix

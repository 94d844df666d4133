// pallix_driver: a console tool that the journeys, the benchmark and the run
// command run under Wine to find windows and send them what the system or a
// user would, printing plain results. It stands outside the program under
// test on purpose, so it talks to the window system directly.
//
// Output conventions, so that shell scripts can read it with `read`:
//   a window is written as its handle in hex, "0x0001002A"; a rectangle as
//   "left top right bottom"; texts are written with backslash, tab, carriage
//   return and line feed escaped as \\ \t \r \n, so one record is one line.
// Exit status: 0 done or true, 1 not found, timed out or false, 2 bad usage.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "bench/options.h"

namespace {

constexpr int kOk = 0;
constexpr int kNo = 1;
constexpr int kUsage = 2;

// Sent messages can block forever on a hung or modal window; a test should
// fail on that, not hang.
constexpr UINT kSendTimeoutMs = 5000;

const char kUsageText[] =
    "usage: pallix_driver COMMAND [--option value]...\n"
    "  wait-window [--class C] [--title T | --title-prefix P] [--visible]\n"
    "              [--program FILE]       (FILE: its program's file name)\n"
    "              [--timeout-ms N]       first matching top-level window:\n"
    "              [--message-only]       HANDLE LEFT TOP RIGHT BOTTOM\n"
    "                                     (--message-only: among message-only windows)\n"
    "  rect --hwnd H                      LEFT TOP RIGHT BOTTOM on the screen\n"
    "  click-button --parent H --text T [--post]\n"
    "                                     BM_CLICK to a direct child button\n"
    "  send --hwnd H --msg N [--wparam W] [--lparam L]   prints the result\n"
    "  post --hwnd H --msg N [--wparam W] [--lparam L]\n"
    "  text --hwnd H                      the window's text\n"
    "  children --hwnd H                  HANDLE<tab>CLASS<tab>ID<tab>TEXT<tab>\n"
    "                                     LEFT TOP RIGHT BOTTOM per direct child\n"
    "  exists --hwnd H                    yes / no\n"
    "  pid --hwnd H                       the owning process id\n"
    "  state --hwnd H                     visible=0|1 enabled=0|1 topmost=0|1 hscroll=0|1\n"
    "  find-child --parent H --text T [--class C] [--deep]\n"
    "                                     the first direct child with that text\n"
    "                                     (--deep: at any depth, depth first)\n"
    "  client-rect --hwnd H               the client area on the screen:\n"
    "                                     LEFT TOP RIGHT BOTTOM\n"
    "  register-message --name N          the number of a registered message\n"
    "  icon-delete --hwnd H --id N        removes a notification-area icon\n"
    "  version --file F                   the file's version resource as Explorer\n"
    "                                     reads it: NAME<tab>VALUE per line\n"
    "  link --file F                      a shortcut as the shell reads it:\n"
    "                                     TARGET<tab>WORKING FOLDER<tab>ARGUMENTS\n"
    "  windows --class C                  every top-level window of that class:\n"
    "                                     HANDLE<tab>PID<tab>VISIBLE (0|1) per line\n"
    "  table --hwnd H                     a list view's rows, one a line:\n"
    "                                     LEFT TOP RIGHT BOTTOM (on the screen)<tab>\n"
    "                                     SELECTED (0|1)<tab>CELL<tab>CELL...\n"
    "  columns --hwnd H                   a list view's columns, one a line: WIDTH<tab>\n"
    "                                     WIDEST (its caption's or a cell's text width)<tab>\n"
    "                                     CAPTION\n";

using pallix_tools::UsageError;
using Args = pallix_tools::Options;

Args ParseArgs(int argc, char** argv, int first) {
  // Options that stand alone; every other option takes a value.
  return pallix_tools::ParseOptions(argc, argv, first, {"visible", "post", "message-only", "deep"});
}

// Accepts decimal, 0x-prefixed hex, and negative decimal (for LPARAMs such
// as -1); anything else is a usage error rather than a silent zero.
std::int64_t ParseNumber(const std::string& text, std::string_view what) {
  if (text.empty()) throw UsageError(std::string(what) + " is empty");
  errno = 0;
  char* end = nullptr;
  std::int64_t value = 0;
  if (text[0] == '-') {
    value = std::strtoll(text.c_str(), &end, 0);
  } else {
    value = static_cast<std::int64_t>(std::strtoull(text.c_str(), &end, 0));
  }
  if (errno != 0 || *end != '\0') throw UsageError(std::string(what) + " is not a number: " + text);
  return value;
}

std::int64_t NumberOption(const Args& args, std::string_view key,
                          std::optional<std::int64_t> fallback = std::nullopt) {
  const std::string* text = args.Get(key);
  if (text == nullptr) {
    if (fallback) return *fallback;
    throw UsageError("missing --" + std::string(key));
  }
  return ParseNumber(*text, "--" + std::string(key));
}

// Handles carry 32 significant bits; 64-bit Windows sign-extends them, so a
// handle printed as 0xFFFF1234 must come back as the same negative pointer.
HWND HandleFromNumber(std::int64_t number) {
  auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(low));
}

std::uint32_t NumberFromHandle(HWND window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

HWND HandleOption(const Args& args, std::string_view key) {
  return HandleFromNumber(NumberOption(args, key));
}

const std::string& TextOption(const Args& args, std::string_view key) {
  const std::string* text = args.Get(key);
  if (text == nullptr) throw UsageError("missing --" + std::string(key));
  return *text;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  int length = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

// WM_GETTEXT rather than GetWindowText: for another process's controls only
// the message reaches the text the control itself holds.
std::optional<std::string> TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    return std::nullopt;
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    return std::nullopt;
  }
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

std::string Caption(HWND window) {
  char buffer[1024] = {};
  int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

// The file name of the window's program, "" when Windows does not say.
std::string ProgramOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  char path[MAX_PATH * 4] = {};
  DWORD size = sizeof path;
  bool known = process != nullptr && QueryFullProcessImageNameA(process, 0, path, &size);
  if (process != nullptr) CloseHandle(process);
  std::string_view full(path, known ? size : 0);
  return std::string(full.substr(full.find_last_of("\\/") + 1));
}

struct WindowQuery {
  const std::string* class_name = nullptr;
  const std::string* title = nullptr;
  const std::string* title_prefix = nullptr;
  const std::string* program = nullptr;
  bool visible_only = false;
  HWND found = nullptr;

  bool Matches(HWND window) const {
    if (visible_only && !IsWindowVisible(window)) return false;
    if (class_name != nullptr && ClassOf(window) != *class_name) return false;
    if (title != nullptr && Caption(window) != *title) return false;
    if (title_prefix != nullptr && !Caption(window).starts_with(*title_prefix)) return false;
    if (program != nullptr && lstrcmpiA(ProgramOf(window).c_str(), program->c_str()) != 0) {
      return false;
    }
    return true;
  }
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
  auto* query = reinterpret_cast<WindowQuery*>(context);
  if (!query->Matches(window)) return TRUE;
  query->found = window;
  return FALSE;
}

void PrintWindow(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  std::printf("0x%08X %ld %ld %ld %ld\n", NumberFromHandle(window), rect.left, rect.top, rect.right,
              rect.bottom);
}

int WaitWindow(const Args& args) {
  WindowQuery query;
  query.class_name = args.Get("class");
  query.title = args.Get("title");
  query.title_prefix = args.Get("title-prefix");
  query.program = args.Get("program");
  query.visible_only = args.flags.contains("visible");
  if (query.title != nullptr && query.title_prefix != nullptr) {
    throw UsageError("give --title or --title-prefix, not both");
  }
  const std::int64_t timeout_ms = NumberOption(args, "timeout-ms", 10000);
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  const bool message_only = args.flags.contains("message-only");
  for (;;) {
    query.found = nullptr;
    if (message_only) {
      // EnumWindows leaves message-only windows out; they are the children
      // of HWND_MESSAGE.
      for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr);
           window != nullptr && query.found == nullptr;
           window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
        if (query.Matches(window)) query.found = window;
      }
    } else {
      EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
    }
    if (query.found != nullptr) {
      PrintWindow(query.found);
      return kOk;
    }
    if (GetTickCount64() >= deadline) break;
    Sleep(20);
  }
  std::fprintf(stderr, "wait-window: no such window after %lld ms\n",
               static_cast<long long>(timeout_ms));
  return kNo;
}

int ClickButton(const Args& args) {
  HWND parent = HandleOption(args, "parent");
  const std::string& wanted = TextOption(args, "text");
  for (HWND child = FindWindowExA(parent, nullptr, "Button", nullptr); child != nullptr;
       child = FindWindowExA(parent, child, "Button", nullptr)) {
    if (TextOf(child) != wanted) continue;
    // Sending is what the program under test itself does, so it is the
    // default. But a sent click returns only when everything it sets off has
    // returned: a click that leads to a modal box (closing one box may
    // activate a window that opens the next) needs --post, as a user's click.
    if (args.flags.contains("post")) {
      if (!PostMessageA(child, BM_CLICK, 0, 0)) return kNo;
    } else {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutA(child, BM_CLICK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result)) {
        std::fprintf(stderr,
                     "click-button: BM_CLICK still unanswered after %u ms; if the click opens "
                     "a modal window, use --post\n",
                     kSendTimeoutMs);
        return kNo;
      }
    }
    std::printf("0x%08X\n", NumberFromHandle(child));
    return kOk;
  }
  std::fprintf(stderr, "click-button: no button \"%s\" under 0x%08X\n", wanted.c_str(),
               NumberFromHandle(parent));
  return kNo;
}

struct Message {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

Message MessageOptions(const Args& args) {
  return Message{HandleOption(args, "hwnd"), static_cast<UINT>(NumberOption(args, "msg")),
                 static_cast<WPARAM>(NumberOption(args, "wparam", 0)),
                 static_cast<LPARAM>(NumberOption(args, "lparam", 0))};
}

int Send(const Args& args) {
  Message m = MessageOptions(args);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(m.window, m.message, m.wparam, m.lparam, SMTO_NORMAL, kSendTimeoutMs,
                           &result)) {
    std::fprintf(stderr, "send: not answered (error %lu)\n", GetLastError());
    return kNo;
  }
  std::printf("%lld\n", static_cast<long long>(static_cast<LRESULT>(result)));
  return kOk;
}

int Post(const Args& args) {
  Message m = MessageOptions(args);
  if (!PostMessageA(m.window, m.message, m.wparam, m.lparam)) {
    std::fprintf(stderr, "post: failed (error %lu)\n", GetLastError());
    return kNo;
  }
  return kOk;
}

int Text(const Args& args) {
  std::optional<std::string> text = TextOf(HandleOption(args, "hwnd"));
  if (!text) return kNo;
  std::printf("%s\n", Escaped(*text).c_str());
  return kOk;
}

int Children(const Args& args) {
  HWND parent = HandleOption(args, "hwnd");
  if (!IsWindow(parent)) return kNo;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    std::printf("0x%08X\t%s\t%d\t%s\t%ld %ld %ld %ld\n", NumberFromHandle(child),
                Escaped(ClassOf(child)).c_str(), GetDlgCtrlID(child),
                Escaped(TextOf(child).value_or("")).c_str(), rect.left, rect.top, rect.right,
                rect.bottom);
  }
  return kOk;
}

int WindowRect(const Args& args) {
  RECT rect = {};
  if (!GetWindowRect(HandleOption(args, "hwnd"), &rect)) return kNo;
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
  return kOk;
}

int Exists(const Args& args) {
  bool exists = IsWindow(HandleOption(args, "hwnd"));
  std::printf("%s\n", exists ? "yes" : "no");
  return exists ? kOk : kNo;
}

int Pid(const Args& args) {
  DWORD pid = 0;
  if (GetWindowThreadProcessId(HandleOption(args, "hwnd"), &pid) == 0) return kNo;
  std::printf("%lu\n", pid);
  return kOk;
}

int State(const Args& args) {
  HWND window = HandleOption(args, "hwnd");
  if (!IsWindow(window)) return kNo;
  // IsWindowVisible also asks the parents: a control on a hidden window is
  // not visible, as a user would see it.
  bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  bool hscroll = (GetWindowLongA(window, GWL_STYLE) & WS_HSCROLL) != 0;
  std::printf("visible=%d enabled=%d topmost=%d hscroll=%d\n", IsWindowVisible(window) ? 1 : 0,
              IsWindowEnabled(window) ? 1 : 0, topmost ? 1 : 0, hscroll ? 1 : 0);
  return kOk;
}

HWND FindChildOf(HWND parent, const std::string& wanted, const std::string* class_name, bool deep) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((class_name == nullptr || ClassOf(child) == *class_name) && TextOf(child) == wanted) {
      return child;
    }
    if (HWND below = deep ? FindChildOf(child, wanted, class_name, deep) : nullptr) return below;
  }
  return nullptr;
}

int FindChild(const Args& args) {
  HWND child = FindChildOf(HandleOption(args, "parent"), TextOption(args, "text"),
                           args.Get("class"), args.flags.contains("deep"));
  if (!child) return kNo;
  std::printf("0x%08X\n", NumberFromHandle(child));
  return kOk;
}

int ClientRect(const Args& args) {
  HWND window = HandleOption(args, "hwnd");
  RECT rect = {};
  if (!GetClientRect(window, &rect)) return kNo;
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  MapWindowPoints(window, nullptr, corners, 2);
  std::printf("%ld %ld %ld %ld\n", corners[0].x, corners[0].y, corners[1].x, corners[1].y);
  return kOk;
}

int RegisterMessage(const Args& args) {
  UINT message = RegisterWindowMessageA(TextOption(args, "name").c_str());
  if (message == 0) return kNo;
  std::printf("%u\n", message);
  return kOk;
}

// The shell knows an icon by its window and id only, whoever asks.
int IconDelete(const Args& args) {
  NOTIFYICONDATAA record = {};
  record.cbSize = sizeof record;
  record.hWnd = HandleOption(args, "hwnd");
  record.uID = static_cast<UINT>(NumberOption(args, "id"));
  return Shell_NotifyIconA(NIM_DELETE, &record) ? kOk : kNo;
}

// The numbers, then the strings of the first language the resource lists,
// as Explorer's Properties read them.
int Version(const Args& args) {
  const std::string& file = TextOption(args, "file");
  DWORD size = GetFileVersionInfoSizeA(file.c_str(), nullptr);
  std::string data(size, '\0');
  if (size == 0 || !GetFileVersionInfoA(file.c_str(), 0, size, data.data())) {
    std::fprintf(stderr, "version: no version resource in %s (error %lu)\n", file.c_str(),
                 GetLastError());
    return kNo;
  }
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
    return kNo;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  auto numbers = [](const char* name, DWORD high, DWORD low) {
    std::printf("%s\t%u.%u.%u.%u\n", name, HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
  };
  numbers("FILEVERSION", fixed->dwFileVersionMS, fixed->dwFileVersionLS);
  numbers("PRODUCTVERSION", fixed->dwProductVersionMS, fixed->dwProductVersionLS);
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &value, &length) ||
      length < 2 * sizeof(WORD)) {
    return kNo;
  }
  const auto* language = static_cast<const WORD*>(value);
  char block[40];
  std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", language[0], language[1]);
  for (const char* name : {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                           "OriginalFilename", "ProductName", "ProductVersion"}) {
    char* text = nullptr;
    if (!VerQueryValueA(data.data(), (std::string(block) + name).c_str(),
                        reinterpret_cast<void**>(&text), &length)) {
      continue;
    }
    std::printf("%s\t%s\n", name, Escaped(text).c_str());
  }
  return kOk;
}

// Read through IShellLink, as the shell does when it starts the shortcut at
// logon.
int Link(const Args& args) {
  const std::string& file = TextOption(args, "file");
  std::wstring path(file.begin(), file.end());
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkA* link = nullptr;
  IPersistFile* persist = nullptr;
  char text[3][MAX_PATH] = {};
  bool read =
      SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(path.c_str(), STGM_READ)) &&
      link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK &&
      SUCCEEDED(link->GetWorkingDirectory(text[1], MAX_PATH)) &&
      SUCCEEDED(link->GetArguments(text[2], MAX_PATH));
  if (persist) persist->Release();
  if (link) link->Release();
  if (!read) {
    std::fprintf(stderr, "link: %s is no shortcut the shell can read\n", file.c_str());
    return kNo;
  }
  std::printf("%s\t%s\t%s\n", Escaped(text[0]).c_str(), Escaped(text[1]).c_str(),
              Escaped(text[2]).c_str());
  return kOk;
}

BOOL CALLBACK PrintIfOfClass(HWND window, LPARAM class_name) {
  if (ClassOf(window) != *reinterpret_cast<const std::string*>(class_name)) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  std::printf("0x%08X\t%lu\t%d\n", NumberFromHandle(window), pid, IsWindowVisible(window) ? 1 : 0);
  return TRUE;
}

int Windows(const Args& args) {
  EnumWindows(PrintIfOfClass, reinterpret_cast<LPARAM>(&TextOption(args, "class")));
  return kOk;
}

// A list view keeps its rows and columns in its own process: what it is
// asked for is written and read in that process's memory, held here for as
// long as this lives.
struct RemoteMemory {
  HANDLE process = nullptr;
  char* memory = nullptr;
  RemoteMemory(HWND window, SIZE_T size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process) {
      memory =
          static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
  }
  ~RemoteMemory() {
    if (memory) VirtualFreeEx(process, memory, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
};

constexpr SIZE_T kCellText = 1024;
// Room for an LVITEMA or LVCOLUMNA, then for a text.
constexpr SIZE_T kRemoteSize = sizeof(LVCOLUMNA) + sizeof(LVITEMA) + kCellText;
char* RemoteText(const RemoteMemory& held) {
  return held.memory + sizeof(LVCOLUMNA) + sizeof(LVITEMA);
}

// The text of one cell of the list.
std::string CellText(HWND list, const RemoteMemory& held, int row, int column) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = RemoteText(held);
  item.cchTextMax = kCellText;
  WriteProcessMemory(held.process, held.memory, &item, sizeof item, nullptr);
  LRESULT n = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(held.memory));
  char text[kCellText] = "";
  ReadProcessMemory(held.process, RemoteText(held), text, kCellText, nullptr);
  return std::string(text, n > 0 ? std::min<size_t>(static_cast<size_t>(n), kCellText) : 0);
}

int Table(const Args& args) {
  HWND list = HandleOption(args, "hwnd");
  RemoteMemory held(list, kRemoteSize);
  if (!held.memory) return kNo;
  HANDLE process = held.process;
  char* remote = held.memory;
  int columns = static_cast<int>(SendMessageA(
      reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
  int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    SendMessageA(list, LVM_GETITEMRECT, r, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    bool selected = SendMessageA(list, LVM_GETITEMSTATE, r, LVIS_SELECTED) & LVIS_SELECTED;
    std::printf("%ld %ld %ld %ld\t%d", rect.left, rect.top, rect.right, rect.bottom, selected);
    for (int c = 0; c < columns; ++c)
      std::printf("\t%s", Escaped(CellText(list, held, r, c)).c_str());
    std::printf("\n");
  }
  return kOk;
}

// Widths as the list view itself measures texts, in its own font.
int Columns(const Args& args) {
  HWND list = HandleOption(args, "hwnd");
  constexpr SIZE_T kText = kCellText;
  RemoteMemory held(list, kRemoteSize);
  if (!held.memory) return kNo;
  HANDLE process = held.process;
  char* remote = held.memory;
  char* remote_text = RemoteText(held);
  auto text_width = [&](const char* text) {
    WriteProcessMemory(process, remote_text, text, std::strlen(text) + 1, nullptr);
    return static_cast<int>(
        SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(remote_text)));
  };
  int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  char text[kText];
  for (int c = 0;; ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = remote_text;
    column.cchTextMax = kText;
    WriteProcessMemory(process, remote, &column, sizeof column, nullptr);
    if (!SendMessageA(list, LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(remote))) break;
    ReadProcessMemory(process, remote_text, text, kText, nullptr);
    text[kText - 1] = '\0';
    std::string caption = text;
    int widest = text_width(text);
    for (int r = 0; r < rows; ++r) {
      widest = std::max(widest, text_width(CellText(list, held, r, c).c_str()));
    }
    std::printf("%d\t%d\t%s\n", static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0)),
                widest, Escaped(caption).c_str());
  }
  return kOk;
}

using Command = int (*)(const Args&);

const std::map<std::string_view, Command> kCommands = {
    {"wait-window", WaitWindow},
    {"click-button", ClickButton},
    {"send", Send},
    {"post", Post},
    {"text", Text},
    {"children", Children},
    {"rect", WindowRect},
    {"exists", Exists},
    {"pid", Pid},
    {"state", State},
    {"find-child", FindChild},
    {"client-rect", ClientRect},
    {"register-message", RegisterMessage},
    {"icon-delete", IconDelete},
    {"version", Version},
    {"link", Link},
    {"windows", Windows},
    {"table", Table},
    {"columns", Columns},
};

}  // namespace

int main(int argc, char** argv) {
  // Shell scripts read the output on Linux: no CR before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
  // Pixels as the screen has them, at any resolution: a program that is not
  // DPI-aware would be given scaled coordinates.
  SetProcessDPIAware();
  if (argc < 2) {
    std::fputs(kUsageText, stderr);
    return kUsage;
  }
  auto command = kCommands.find(argv[1]);
  if (command == kCommands.end()) {
    std::fprintf(stderr, "unknown command: %s\n%s", argv[1], kUsageText);
    return kUsage;
  }
  int status = kUsage;
  try {
    status = command->second(ParseArgs(argc, argv, 2));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "%s: %s\n%s", argv[1], error.message().c_str(), kUsageText);
  }
  std::fflush(stdout);
  return status;
}

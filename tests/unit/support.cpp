#include "tests/unit/support.h"

#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "config/config_path.h"
#include "ui/toolkit.h"

namespace pallix::test {

std::string FolderPath(const std::string& name) {
  return ConfigPath(AppPath(), name);
}

void WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(FolderPath(name), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(FolderPath(name), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& name) {
  return ::GetFileAttributesA(FolderPath(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

HANDLE HoldForReading(const std::string& name) {
  return ::CreateFileA(FolderPath(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

std::string WatchFile(const std::vector<std::string>& entries) {
  std::string file = "[WindowTitles]\r\nNum_Windows=" + std::to_string(entries.size()) + "\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    file += "Title" + std::to_string(i + 1) + "=" + entries[i] + "\r\n";
  }
  return file;
}

void RegisterWindowClass(const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  ::RegisterClassA(&wc);
}

void RegisterSuperclass(const char* base, const char* name) {
  WNDCLASSA wc{};
  ::GetClassInfoA(nullptr, base, &wc);
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  ::RegisterClassA(&wc);
}

std::vector<std::string> Items(HWND control) {
  std::vector<std::string> items;
  for (int i = 0; i < ListCount(control); ++i) items.push_back(ListItem(control, i));
  return items;
}

std::vector<std::string> Rows(HWND table) {
  std::vector<std::string> rows;
  int columns = Header_GetItemCount(ListView_GetHeader(table));
  for (int r = 0; r < TableRowCount(table); ++r) {
    std::string row = TableCell(table, r, 0);
    for (int c = 1; c < columns; ++c) row.append("|").append(TableCell(table, r, c));
    rows.push_back(row);
  }
  return rows;
}

void FolderTest::SetUp() {
  // The program itself stays; everything else a test left goes.
  char self[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string own_name = std::string(self, n).substr(std::string(self, n).find_last_of('\\') + 1);
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(FolderPath("*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == ".." || name == own_name) continue;
    std::string path = FolderPath(name);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ::RemoveDirectoryA(path.c_str());
    } else {
      ::DeleteFileA(path.c_str());
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

namespace {

struct BoxSearch {
  DWORD pid;
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  char cls[64];
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || !::IsWindowVisible(hwnd)) return TRUE;
  if (::GetClassNameA(hwnd, cls, sizeof cls) && std::string(cls) == "#32770" &&
      ::GetPropA(hwnd, "PallixTestDialog") == nullptr) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::string TextOf(HWND hwnd) {
  char text[1024];
  int n = ::GetWindowTextA(hwnd, text, sizeof text);
  return std::string(text, n > 0 ? n : 0);
}

}  // namespace

BoxAnswerer::BoxAnswerer(std::vector<std::string> answers, std::function<void()> before_answer)
    : answers_(std::move(answers)),
      before_answer_(std::move(before_answer)),
      thread_([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenBox> BoxAnswerer::Seen() {
  std::lock_guard lock(mutex_);
  return seen_;
}

void BoxAnswerer::Run() {
  std::size_t next = 0;
  HWND last = nullptr;
  while (!stop_) {
    BoxSearch search{::GetCurrentProcessId()};
    ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (!search.found || search.found == last) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      if (search.found == nullptr) last = nullptr;
      continue;
    }
    HWND box = search.found;
    SeenBox seen{TextOf(box), "", {}};
    std::vector<HWND> buttons;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      char cls[32];
      ::GetClassNameA(child, cls, sizeof cls);
      if (std::string(cls) == "Button") {
        seen.buttons.push_back(TextOf(child));
        buttons.push_back(child);
      } else if (std::string(cls) == "Static" && !TextOf(child).empty()) {
        seen.text = TextOf(child);
      }
    }
    std::string answer =
        answers_.empty() ? std::string() : answers_[std::min(next, answers_.size() - 1)];
    ++next;
    HWND press = buttons.empty() ? nullptr : buttons.front();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      if (seen.buttons[i] == answer) press = buttons[i];
    }
    {
      std::lock_guard lock(mutex_);
      seen_.push_back(seen);
    }
    last = box;
    if (before_answer_) before_answer_();
    // Posted: the box's own loop handles it, as it would a user's click.
    if (press) ::PostMessageA(press, BM_CLICK, 0, 0);
  }
}

TestDialog::TestDialog(const char* title, const std::vector<const char*>& buttons,
                       const char* window_class) {
  hwnd_ = ::CreateWindowExA(0, window_class, title, WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100,
                            420, 160, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) {
    // A class other than the dialog's: register it as a plain window.
    RegisterWindowClass(window_class);
    hwnd_ = ::CreateWindowExA(0, window_class, title, WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100,
                              420, 160, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  }
  ::SetPropA(hwnd_, "PallixTestDialog", reinterpret_cast<HANDLE>(1));
  int x = 10;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons_.push_back(
        ::CreateWindowExA(0, "Button", buttons[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 80, 90,
                          28, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                          ::GetModuleHandleA(nullptr), nullptr));
    x += 100;
  }
  ::SetWindowSubclass(hwnd_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

HWND TestDialog::Say(const char* text) {
  return ::CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE, 10, 5 + 22 * lines_++, 390, 20,
                           hwnd_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

TestDialog::~TestDialog() {
  if (::IsWindow(hwnd_)) {
    ::RemoveWindowSubclass(hwnd_, Proc, 1);
    ::DestroyWindow(hwnd_);
  }
}

LRESULT CALLBACK TestDialog::Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                  DWORD_PTR self) {
  auto* dialog = reinterpret_cast<TestDialog*>(self);
  if (msg == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    if (dialog->on_click) dialog->on_click();
    dialog->clicks_.push_back(LOWORD(wparam));
    if (dialog->close_on_click_) {
      ::RemoveWindowSubclass(hwnd, Proc, 1);
      ::DestroyWindow(hwnd);
      return 0;
    }
  }
  return ::DefSubclassProc(hwnd, msg, wparam, lparam);
}

void OneEntryForm::SetUp() {
  FolderTest::SetUp();
  WriteFile("w.ini", "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=Old[OK]<<#32770>>\r\n");
  form_.Create();
  form_.Start();
}

std::vector<std::string> OneEntryForm::Offered() const {
  std::vector<std::string> shown;
  for (int i = 0; i < 3; ++i) {
    if (IsVisible(c().cmd1[i])) shown.push_back(GetCaption(c().cmd1[i]));
  }
  return shown;
}

}  // namespace pallix::test

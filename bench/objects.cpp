// pallix_objects: counts the window-system objects another process holds,
// so that a benchmark can tell whether answering dialogs leaks them.
//
//   pallix_objects --pid P        (the Windows process id)
//
// Prints one line:
//   gui_gdi=N gui_user=N gdi_table=N windows=N
// gui_* come from GetGuiResources, or read "unsupported" where the system
// only has a stub of it (Wine). gdi_table counts the live entries the process
// has in its GDI handle table (the one its PEB points to), and windows the
// windows it owns, top-level, child and message-only alike; either reads
// "unsupported" when it cannot be had.
#include <windows.h>

#include <winternl.h>

#include <fcntl.h>
#include <io.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The layout of one entry of the GDI handle table, as the PEB's
// GdiSharedHandleTable holds it on 64-bit systems.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;  // 0: a free entry
  std::uint8_t flags;
  std::uint64_t user_pointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr std::size_t kGdiHandleCount = 0x10000;
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;  // 64-bit PEB

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

std::string GdiTableCount(HANDLE process) {
  auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  if (!query) return "unsupported";
  PROCESS_BASIC_INFORMATION basic{};
  if (query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
      !basic.PebBaseAddress) {
    return "unsupported";
  }
  std::uint64_t table = 0;
  SIZE_T got = 0;
  auto* field = reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiSharedHandleTable;
  if (!ReadProcessMemory(process, field, &table, sizeof table, &got) || got != sizeof table ||
      table == 0) {
    return "unsupported";
  }
  std::vector<GdiHandleEntry> entries(kGdiHandleCount);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)),
                         entries.data(), entries.size() * sizeof(GdiHandleEntry), &got) ||
      got != entries.size() * sizeof(GdiHandleEntry)) {
    return "unsupported";
  }
  std::size_t live = 0;
  for (const GdiHandleEntry& entry : entries) {
    if (entry.type != 0) ++live;
  }
  return std::to_string(live);
}

struct WindowCount {
  DWORD pid;
  std::size_t count = 0;

  void Add(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid) ++count;
  }
};

BOOL CALLBACK CountOne(HWND window, LPARAM context) {
  reinterpret_cast<WindowCount*>(context)->Add(window);
  return TRUE;
}

BOOL CALLBACK CountTree(HWND window, LPARAM context) {
  CountOne(window, context);
  EnumChildWindows(window, CountOne, context);  // every descendant, not only children
  return TRUE;
}

std::size_t WindowsOf(DWORD pid) {
  WindowCount count{pid};
  auto context = reinterpret_cast<LPARAM>(&count);
  EnumWindows(CountTree, context);
  // Message-only windows are not top-level windows to EnumWindows.
  for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
    CountTree(window, context);
  }
  return count.count;
}

}  // namespace

int main(int argc, char** argv) {
  // Shell scripts read the output on Linux: no CR before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc != 3 || std::strcmp(argv[1], "--pid") != 0) {
    std::fputs("usage: pallix_objects --pid P\n", stderr);
    return 2;
  }
  auto pid = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    std::fprintf(stderr, "cannot open process %lu (error %lu)\n", pid, GetLastError());
    return 1;
  }
  SetLastError(ERROR_SUCCESS);
  DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  DWORD gdi_error = GetLastError();
  SetLastError(ERROR_SUCCESS);
  DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  DWORD user_error = GetLastError();
  bool stub = gdi_error == ERROR_CALL_NOT_IMPLEMENTED || user_error == ERROR_CALL_NOT_IMPLEMENTED;
  std::string gui_gdi = stub ? "unsupported" : std::to_string(gdi);
  std::string gui_user = stub ? "unsupported" : std::to_string(user);
  std::string table = GdiTableCount(process);
  CloseHandle(process);
  std::printf("gui_gdi=%s gui_user=%s gdi_table=%s windows=%zu\n", gui_gdi.c_str(),
              gui_user.c_str(), table.c_str(), WindowsOf(pid));
  return 0;
}

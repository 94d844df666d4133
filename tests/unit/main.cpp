// The in-process tests. The same program also stands in for the programs
// Pallix starts: copied as notepad.exe beside it, or started through the
// "https" protocol (--record), it writes its command line to launched.txt in
// its folder and ends, so a test can read what Pallix asked for.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/config_path.h"
#include "ui/toolkit.h"

namespace {

// The maker links start several programs at once, each adding its line; an
// append through a shared handle is a seek and a write, so two could land
// on one end. Each holds the file alone while it writes, the others wait.
void RecordLaunch() {
  std::string path = pallix::ConfigPath(pallix::AppPath(), "launched.txt");
  std::string line = std::string(::GetCommandLineA()) + "\n";
  HANDLE file;
  for (int tries = 0; tries < 3000; ++tries, ::Sleep(10)) {
    file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) break;
  }
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH];
  std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
  std::string name = path.substr(path.find_last_of('\\') + 1);
  CharLowerA(name.data());
  if (name == "notepad.exe" || (argc > 1 && std::string(argv[1]) == "--record")) {
    RecordLaunch();
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// The in-process tests. The same program also stands in for the programs
// Pallix starts: copied as notepad.exe beside it, or started through the
// "https" protocol (--record), it writes its command line to launched.txt in
// its folder and ends, so a test can read what Pallix asked for.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "config/config_path.h"
#include "ui/toolkit.h"

int main(int argc, char** argv) {
  char self[MAX_PATH];
  std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
  std::string name = path.substr(path.find_last_of('\\') + 1);
  CharLowerA(name.data());
  if (name == "notepad.exe" || (argc > 1 && std::string(argv[1]) == "--record")) {
    std::ofstream(pallix::ConfigPath(pallix::AppPath(), "launched.txt"), std::ios::app)
        << ::GetCommandLineA() << "\n";
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Runs the profile corpus through the real kernel32 (under Wine) and prints
// the canonical results.
//
//   profile_probe.exe <scratch folder> < corpus.txt > results.txt
//
// The scratch folder must exist; each case gets its own file in it, so that
// no case sees another's file or kernel32's cached copy of it.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "tests/profile_diff/corpus.h"

namespace pallix::profile_diff {
namespace {

class Kernel32Backend final : public Backend {
 public:
  explicit Kernel32Backend(std::string folder) : folder_(std::move(folder)) {}

  std::string Prepare(int index, const Case& c) override {
    const std::string name = "case" + std::to_string(index);
    std::string path = folder_ + "\\" + name + ".ini";
    switch (c.start) {
      case Start::kNoFile:
        break;
      case Start::kFolder:
        CreateDirectoryA(path.c_str(), nullptr);
        break;
      case Start::kNoFolder:
        path = folder_ + "\\" + name + "-missing\\profile.ini";
        break;
      case Start::kFile: {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, c.bytes.data(), static_cast<DWORD>(c.bytes.size()), &written, nullptr);
        CloseHandle(file);
        break;
      }
    }
    return path;
  }

  std::uint32_t Read(const char* section, const char* key, const char* default_value, char* buffer,
                     std::uint32_t size, const std::string& path) override {
    return GetPrivateProfileStringA(section, key, default_value, buffer, size, path.c_str());
  }

  bool Write(const char* section, const char* key, const char* value,
             const std::string& path) override {
    return WritePrivateProfileStringA(section, key, value, path.c_str()) != FALSE;
  }

  PathState Inspect(const std::string& path) override {
    PathState state;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return state;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      state.kind = PathState::kFolder;
      return state;
    }
    state.kind = PathState::kFile;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
      state.bytes.append(chunk, got);
    }
    CloseHandle(file);
    return state;
  }

 private:
  std::string folder_;
};

}  // namespace
}  // namespace pallix::profile_diff

int main(int argc, char** argv) {
  using namespace pallix::profile_diff;
  // The results are compared byte for byte: no CR LF translation either way.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc != 2) {
    std::fprintf(stderr, "usage: profile_probe.exe <scratch folder> < corpus\n");
    return 2;
  }
  const std::string corpus((std::istreambuf_iterator<char>(std::cin)),
                           std::istreambuf_iterator<char>());
  std::string error;
  const auto cases = ParseCorpus(corpus, error);
  if (!cases) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  std::printf("# kernel32 under code page %u\n", static_cast<unsigned>(GetACP()));
  Kernel32Backend backend(argv[1]);
  const std::string results = RunCorpus(*cases, backend);
  std::fwrite(results.data(), 1, results.size(), stdout);
  return 0;
}

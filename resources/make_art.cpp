// make_art OUTPUT_DIR: writes Pallix's icons, cursor and logo into OUTPUT_DIR.
// The files it writes are committed beside it; the Windows build only
// compiles them in. After changing a drawing, from the repository root:
//   g++ -std=c++20 -I. resources/make_art.cpp resources/art.cpp -o /tmp/make_art
//   /tmp/make_art resources
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "resources/art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_art OUTPUT_DIR\n");
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const pallix::art::ArtFile& file : pallix::art::AllArt()) {
      std::ofstream out(dir / file.name, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(file.bytes.data()),
                static_cast<std::streamsize>(file.bytes.size()));
      out.close();
      if (!out) {
        std::fprintf(stderr, "make_art: cannot write %s\n", (dir / file.name).string().c_str());
        return 1;
      }
      std::printf("%s (%zu bytes)\n", file.name.c_str(), file.bytes.size());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_art: %s\n", e.what());
    return 1;
  }
  return 0;
}

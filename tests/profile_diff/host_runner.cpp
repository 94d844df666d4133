// Runs the profile corpus through our own profile functions and, given the
// results of kernel32 under Wine, compares the two case by case.
//
//   profile_host_runner <corpus> <scratch folder>
//       prints our results
//   profile_host_runner <corpus> <scratch folder> <wine results> <known divergences>
//       fails on every difference that the divergence list does not explain,
//       and on every listed divergence that no longer differs
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel32.h"
#include "tests/profile_diff/corpus.h"

namespace pallix::profile_diff {
namespace {

namespace fs = std::filesystem;

class OurBackend final : public Backend {
 public:
  explicit OurBackend(fs::path folder) : folder_(std::move(folder)) {}

  std::string Prepare(int index, const Case& c) override {
    const std::string name = "case" + std::to_string(index);
    fs::path path = folder_ / (name + ".ini");
    switch (c.start) {
      case Start::kNoFile:
        break;
      case Start::kFolder:
        fs::create_directory(path);
        break;
      case Start::kNoFolder:
        path = folder_ / (name + "-missing") / "profile.ini";
        break;
      case Start::kFile:
        std::ofstream(path, std::ios::binary)
            .write(c.bytes.data(), static_cast<std::streamsize>(c.bytes.size()));
        break;
    }
    return path.string();
  }

  std::uint32_t Read(const char* section, const char* key, const char* default_value, char* buffer,
                     std::uint32_t size, const std::string& path) override {
    return GetPrivateProfileStringA(section, key, default_value, buffer, size, path.c_str());
  }

  bool Write(const char* section, const char* key, const char* value,
             const std::string& path) override {
    return WritePrivateProfileStringA(section, key, value, path.c_str());
  }

  PathState Inspect(const std::string& path) override {
    PathState state;
    if (fs::is_directory(path)) {
      state.kind = PathState::kFolder;
    } else if (fs::exists(path)) {
      state.kind = PathState::kFile;
      std::ifstream in(path, std::ios::binary);
      state.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return state;
  }

 private:
  fs::path folder_;
};

std::optional<std::string> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Case name -> its result lines, in corpus order; '#' lines are notes.
struct Results {
  std::vector<std::string> order;
  std::map<std::string, std::vector<std::string>> cases;
  std::vector<std::string> notes;
};

Results SplitResults(const std::string& text) {
  Results results;
  std::vector<std::string>* current = nullptr;
  for (const std::string& line : Lines(text)) {
    if (line.rfind("#", 0) == 0) {
      results.notes.push_back(line);
    } else if (line.rfind("case ", 0) == 0) {
      const std::string name = line.substr(5);
      results.order.push_back(name);
      current = &results.cases[name];
    } else if (current != nullptr) {
      current->push_back(line);
    }
  }
  return results;
}

// "<case name> <reason>" lines; '#' starts a comment line.
std::map<std::string, std::string> ReadKnown(const std::string& text) {
  std::map<std::string, std::string> known;
  for (const std::string& line : Lines(text)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t space = line.find(' ');
    const std::string name = line.substr(0, space);
    known[name] = space == std::string::npos ? std::string() : line.substr(space + 1);
  }
  return known;
}

void PrintBlock(const char* who, const std::vector<std::string>& lines) {
  constexpr std::size_t kShown = 240;  // values of 100,000 bytes stay readable
  for (const std::string& line : lines) {
    const bool cut = line.size() > kShown;
    std::printf("    %s| %s%s\n", who, line.substr(0, kShown).c_str(), cut ? "..." : "");
  }
}

int Compare(const std::string& ours, const std::string& wine_text, const std::string& known_text) {
  const Results mine = SplitResults(ours);
  const Results theirs = SplitResults(wine_text);
  const std::map<std::string, std::string> known = ReadKnown(known_text);
  for (const std::string& note : theirs.notes) std::printf("wine %s\n", note.c_str());

  int failures = 0;
  int explained = 0;
  if (theirs.order != mine.order) {
    std::printf("FAIL: the Wine run did not produce every case (%zu of %zu)\n", theirs.order.size(),
                mine.order.size());
    ++failures;
  }
  for (const auto& [name, reason] : known) {
    if (mine.cases.count(name) == 0) {
      std::printf("FAIL: divergence listed for unknown case %s\n", name.c_str());
      ++failures;
    }
  }
  for (const std::string& name : mine.order) {
    const auto theirs_case = theirs.cases.find(name);
    if (theirs_case == theirs.cases.end()) continue;
    const std::vector<std::string>& a = mine.cases.at(name);
    const std::vector<std::string>& b = theirs_case->second;
    const auto listed = known.find(name);
    if (a == b) {
      if (listed != known.end()) {
        std::printf("FAIL: %s is listed as diverging but matches Wine\n", name.c_str());
        ++failures;
      }
      continue;
    }
    if (listed != known.end()) {
      std::printf("known divergence %s: %s\n", name.c_str(), listed->second.c_str());
      ++explained;
    } else {
      std::printf("FAIL: %s differs from Wine\n", name.c_str());
      ++failures;
    }
    PrintBlock("ours", a);
    PrintBlock("wine", b);
  }
  std::printf("%zu cases, %d known divergences, %d unexplained differences or list errors\n",
              mine.order.size(), explained, failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace pallix::profile_diff

int main(int argc, char** argv) {
  using namespace pallix::profile_diff;
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr,
                 "usage: %s <corpus> <scratch folder> [<wine results> <known divergences>]\n",
                 argv[0]);
    return 2;
  }
  const std::optional<std::string> corpus = Slurp(argv[1]);
  if (!corpus) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  std::string error;
  const auto cases = ParseCorpus(*corpus, error);
  if (!cases) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  OurBackend backend(argv[2]);
  const std::string ours = RunCorpus(*cases, backend);
  if (argc == 3) {
    std::fwrite(ours.data(), 1, ours.size(), stdout);
    return 0;
  }
  const std::optional<std::string> wine = Slurp(argv[3]);
  const std::optional<std::string> known = Slurp(argv[4]);
  if (!wine || !known) {
    std::fprintf(stderr, "cannot read %s or %s\n", argv[3], argv[4]);
    return 2;
  }
  return Compare(ours, *wine, *known);
}

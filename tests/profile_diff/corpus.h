// The profile corpus: cases of starting file bytes and profile calls, run the
// same way through Windows' kernel32 (under Wine) and through our own
// functions, each run printing the same canonical text.
//
// Corpus syntax, one directive a line, '#' starting a comment line:
//   case <name>                      starts a case
//   file <string>...                 the file's starting bytes (lines add up)
//   nofile | folder | nofolder       instead: no file, a folder at the path,
//                                    or a path inside a missing folder
//   read <section> <key> <default> <size>
//   write <section> <key> <value>
// A <string> is "..." with the escapes \r \n \t \0 \\ \" \xHH, optionally
// followed by *N to repeat it N times, or null for a null pointer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pallix::profile_diff {

enum class Start { kFile, kNoFile, kFolder, kNoFolder };

struct Op {
  bool write = false;
  std::optional<std::string> section;
  std::optional<std::string> key;
  std::optional<std::string> text;  // the default of a read, the value of a write
  std::uint32_t size = 0;
};

struct Case {
  std::string name;
  Start start = Start::kNoFile;
  std::string bytes;
  std::vector<Op> ops;
};

// Parses a corpus; on a syntax error returns nothing and sets `error`.
std::optional<std::vector<Case>> ParseCorpus(std::string_view text, std::string& error);

// Bytes as a quoted string that ParseCorpus reads back.
std::string Quote(std::string_view bytes);

// What sits at a case's path after a call.
struct PathState {
  enum Kind { kAbsent, kFolder, kFile } kind = kAbsent;
  std::string bytes;
};

// The calls under test and the file system around them.
class Backend {
 public:
  // Creates the case's starting state in a fresh place; returns the path the
  // calls are to use.
  virtual std::string Prepare(int index, const Case& c) = 0;
  virtual std::uint32_t Read(const char* section, const char* key, const char* default_value,
                             char* buffer, std::uint32_t size, const std::string& path) = 0;
  virtual bool Write(const char* section, const char* key, const char* value,
                     const std::string& path) = 0;
  virtual PathState Inspect(const std::string& path) = 0;

 protected:
  ~Backend() = default;
};

// Runs every case and returns the canonical text of the results: per case a
// "case" line, one line per call with its result (a read's count and the
// bytes it left in the buffer), the path's state after each write and at the
// end of the case.
std::string RunCorpus(const std::vector<Case>& cases, Backend& backend);

}  // namespace pallix::profile_diff

#include "tests/profile_diff/corpus.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace pallix::profile_diff {
namespace {

// Fills the read buffer beforehand so that whatever the call wrote shows.
constexpr char kUntouched = static_cast<char>(0xCC);
// Bytes past the buffer's end that must stay untouched.
constexpr std::uint32_t kGuard = 16;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool AtEnd() {
    SkipSpaces();
    return pos_ >= line_.size();
  }

  std::optional<std::string> Word() {
    SkipSpaces();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t') ++pos_;
    if (pos_ == start) return std::nullopt;
    return std::string(line_.substr(start, pos_ - start));
  }

  std::optional<std::uint32_t> Number() {
    const std::optional<std::string> word = Word();
    if (!word || word->find_first_not_of("0123456789") != std::string::npos || word->size() > 9) {
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(std::strtoul(word->c_str(), nullptr, 10));
  }

  // A quoted string or null; `ok` turns false on a syntax error.
  std::optional<std::string> String(bool& ok) {
    SkipSpaces();
    if (line_.substr(pos_, 4) == "null") {
      pos_ += 4;
      return std::nullopt;
    }
    if (pos_ >= line_.size() || line_[pos_] != '"') return Fail(ok);
    ++pos_;
    std::string text;
    while (true) {
      if (pos_ >= line_.size()) return Fail(ok);
      const char c = line_[pos_++];
      if (c == '"') break;
      if (c != '\\') {
        text += c;
        continue;
      }
      if (pos_ >= line_.size()) return Fail(ok);
      const char e = line_[pos_++];
      switch (e) {
        case 'r':
          text += '\r';
          break;
        case 'n':
          text += '\n';
          break;
        case 't':
          text += '\t';
          break;
        case '0':
          text += '\0';
          break;
        case '\\':
        case '"':
          text += e;
          break;
        case 'x': {
          if (pos_ + 2 > line_.size()) return Fail(ok);
          const int high = HexDigit(line_[pos_]);
          const int low = HexDigit(line_[pos_ + 1]);
          if (high < 0 || low < 0) return Fail(ok);
          text += static_cast<char>(high * 16 + low);
          pos_ += 2;
          break;
        }
        default:
          return Fail(ok);
      }
    }
    if (pos_ < line_.size() && line_[pos_] == '*') {
      ++pos_;
      const std::optional<std::uint32_t> times = Number();
      if (!times) return Fail(ok);
      std::string repeated;
      repeated.reserve(text.size() * *times);
      for (std::uint32_t i = 0; i < *times; ++i) repeated += text;
      text = std::move(repeated);
    }
    return text;
  }

 private:
  void SkipSpaces() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
  }

  std::optional<std::string> Fail(bool& ok) {
    ok = false;
    return std::nullopt;
  }

  std::string_view line_;
  std::size_t pos_ = 0;
};

std::string Shown(const std::optional<std::string>& text) {
  return text ? Quote(*text) : "null";
}

const char* Pointer(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}

std::string Describe(const PathState& state) {
  switch (state.kind) {
    case PathState::kAbsent:
      return "absent";
    case PathState::kFolder:
      return "folder";
    case PathState::kFile:
      break;
  }
  return "file " + Quote(state.bytes);
}

}  // namespace

std::string Quote(std::string_view bytes) {
  std::string out = "\"";
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\0':
        out += "\\0";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      default:
        if (u >= 0x20 && u < 0x7F) {
          out += c;
        } else {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", u);
          out += hex;
        }
    }
  }
  return out + "\"";
}

std::optional<std::vector<Case>> ParseCorpus(std::string_view text, std::string& error) {
  std::vector<Case> cases;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    LineReader reader(line);
    const std::string directive = reader.Word().value_or(std::string());
    if (directive.empty() || directive.front() == '#') continue;
    const auto fail = [&](const std::string& what) {
      error = "corpus line " + std::to_string(number) + ": " + what;
      return std::nullopt;
    };
    if (directive == "case") {
      const std::optional<std::string> name = reader.Word();
      if (!name) return fail("case without a name");
      for (const Case& c : cases) {
        if (c.name == *name) return fail("case " + *name + " appears twice");
      }
      cases.push_back(Case{*name, Start::kNoFile, {}, {}});
    } else if (cases.empty()) {
      return fail("'" + directive + "' before the first case");
    } else if (directive == "file") {
      cases.back().start = Start::kFile;
      while (!reader.AtEnd()) {
        bool ok = true;
        const std::optional<std::string> part = reader.String(ok);
        if (!ok || !part) return fail("bad file bytes");
        cases.back().bytes += *part;
      }
    } else if (directive == "nofile") {
      cases.back().start = Start::kNoFile;
    } else if (directive == "folder") {
      cases.back().start = Start::kFolder;
    } else if (directive == "nofolder") {
      cases.back().start = Start::kNoFolder;
    } else if (directive == "read" || directive == "write") {
      Op op;
      op.write = directive == "write";
      bool ok = true;
      op.section = reader.String(ok);
      op.key = reader.String(ok);
      op.text = reader.String(ok);
      if (!ok) return fail("bad string in " + directive);
      if (!op.write) {
        const std::optional<std::uint32_t> size = reader.Number();
        if (!size) return fail("read without a size");
        op.size = *size;
      }
      if (!reader.AtEnd()) return fail("unexpected text after " + directive);
      cases.back().ops.push_back(std::move(op));
    } else {
      return fail("unknown directive '" + directive + "'");
    }
  }
  return cases;
}

std::string RunCorpus(const std::vector<Case>& cases, Backend& backend) {
  std::string out;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    out += "case " + c.name + "\n";
    const std::string path = backend.Prepare(static_cast<int>(i), c);
    for (const Op& op : c.ops) {
      const std::string args = Shown(op.section) + " " + Shown(op.key) + " " + Shown(op.text);
      if (op.write) {
        const bool ok = backend.Write(Pointer(op.section), Pointer(op.key), Pointer(op.text), path);
        out += "  write " + args + " -> " + (ok ? "true" : "false") + "\n";
        out += "    " + Describe(backend.Inspect(path)) + "\n";
        continue;
      }
      std::string buffer(op.size + kGuard, kUntouched);
      const std::uint32_t count = backend.Read(Pointer(op.section), Pointer(op.key),
                                               Pointer(op.text), buffer.data(), op.size, path);
      std::size_t written = op.size;
      while (written > 0 && buffer[written - 1] == kUntouched) --written;
      out += "  read " + args + " " + std::to_string(op.size) + " -> " + std::to_string(count) +
             " " + Quote(std::string_view(buffer).substr(0, written));
      if (buffer.find_first_not_of(kUntouched, op.size) != std::string::npos) out += " OVERRUN";
      out += "\n";
    }
    out += "  end " + Describe(backend.Inspect(path)) + "\n";
  }
  return out;
}

}  // namespace pallix::profile_diff

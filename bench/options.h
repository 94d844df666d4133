// Command lines of the driver and the dialog maker: "--name value" options
// and lone flags.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace pallix_tools {

class UsageError {
 public:
  explicit UsageError(std::string message) : message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

struct Options {
  std::map<std::string, std::string, std::less<>> values;
  std::set<std::string, std::less<>> flags;

  bool Has(std::string_view key) const { return values.contains(key); }
  const std::string* Get(std::string_view key) const {
    auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
  }
  const std::string& Text(std::string_view key) const {
    const std::string* text = Get(key);
    if (text == nullptr) throw UsageError("missing --" + std::string(key));
    return *text;
  }
  std::string TextOr(std::string_view key, std::string fallback) const {
    const std::string* text = Get(key);
    return text ? *text : fallback;
  }
};

// argv[first] onwards; the names in `lone` stand alone, every other option
// takes a value.
inline Options ParseOptions(int argc, char** argv, int first,
                            const std::set<std::string_view>& lone) {
  Options options;
  for (int i = first; i < argc; ++i) {
    std::string_view word = argv[i];
    if (!word.starts_with("--")) throw UsageError("unexpected argument: " + std::string(word));
    std::string key(word.substr(2));
    if (lone.contains(key)) {
      options.flags.insert(key);
      continue;
    }
    if (i + 1 >= argc) throw UsageError("option --" + key + " needs a value");
    options.values[key] = argv[++i];
  }
  return options;
}

}  // namespace pallix_tools

// Fuzz target: the profile reader and writer on arbitrary file bytes, and the
// watch-entry parser on arbitrary values. Beyond not crashing, each run checks
// what must hold whatever the input: results fit the caller's buffer, a value
// written reads back, a second identical write changes nothing, and an entry
// put together from pieces parses back into them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sim/profile_text.h"
#include "watch/watch_entry.h"

namespace {

using pallix::profile::ReadResult;

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}

void CheckFits(const ReadResult& result, std::uint32_t size) {
  if (size == 0) {
    Require(result.text.empty() && result.count == 0, "a zero-size buffer is left alone");
    return;
  }
  Require(result.text.size() + 1 <= size, "the text and its NUL fit the buffer");
  Require(result.count <= result.text.size(), "the count covers no more than the text");
}

bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0d) || u == 0x1a || u == 0x20;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A name that the file keeps as written: one line, and no blank other than a
// space at either end (the caller's spaces go, the file's other blanks would
// be lost on reading).
bool PlainName(std::string_view name, std::string_view forbidden) {
  if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  if (name.find_first_of(forbidden) != std::string_view::npos) return false;
  const std::string_view inner = TrimSpaces(name);
  return Trim(inner) == inner;
}

void FuzzProfile(FuzzedDataProvider& in) {
  const std::string section = in.ConsumeRandomLengthString(64);
  const std::string key = in.ConsumeRandomLengthString(64);
  const std::string value = in.ConsumeRandomLengthString(512);
  const auto size = in.ConsumeIntegralInRange<std::uint32_t>(0, 1024);
  const std::string file = in.ConsumeRemainingBytesAsString();

  const ReadResult read = pallix::profile::GetString(file, section, key, value, size);
  CheckFits(read, size);
  Require(read.count == read.text.size(), "a value's count is its length");
  CheckFits(pallix::profile::GetKeyNames(file, section, value, size), size);
  CheckFits(pallix::profile::GetSectionNames(file, size), size);
  pallix::profile::DeleteKey(file, section, key);
  pallix::profile::DeleteSection(file, section);

  const std::string written = pallix::profile::PutString(file, section, key, value).value_or(file);

  // Names that never match their own line (comments, a "=" in a key, a "]"
  // in a section) make every write add a line, as on Windows.
  const bool plain_key =
      PlainName(key, "=") && !TrimSpaces(key).starts_with("[") && !TrimSpaces(key).starts_with(";");
  const bool plain_value = value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
  if (!PlainName(section, "]") || !plain_key || !plain_value) return;
  Require(!pallix::profile::PutString(written, section, key, value).has_value(),
          "writing the same value again changes nothing");
  std::string_view expected = Trim(value);
  if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') &&
      expected.back() == expected.front()) {
    expected = expected.substr(1, expected.size() - 2);
  }
  const ReadResult back = pallix::profile::GetString(written, section, key, "\x01", 1 << 16);
  Require(back.text == expected, "a written value reads back");
}

void FuzzWatchEntry(FuzzedDataProvider& in) {
  const std::string title = in.ConsumeRandomLengthString(64);
  const std::string button = in.ConsumeRandomLengthString(64);
  const std::string window_class = in.ConsumeRandomLengthString(64);
  const auto number = in.ConsumeIntegral<std::int64_t>();
  const std::string text = in.ConsumeRemainingBytesAsString();

  const pallix::WatchEntry any = pallix::ParseWatchEntry(text);
  Require(text.find(any.title) != std::string::npos && text.find(any.button) != std::string::npos &&
              text.find(any.window_class) != std::string::npos,
          "every piece of an entry comes from its text");
  const std::int64_t leading = pallix::LeadingNumber(text);
  if (TrimSpaces(text).empty() || TrimSpaces(text).front() != '-') {
    Require(leading >= 0, "a number without a minus sign is not negative");
  }

  if (number != INT64_MIN) {
    const std::string suffix = text.empty() || (text[0] >= '0' && text[0] <= '9') ? "" : text;
    Require(pallix::LeadingNumber("  " + std::to_string(number) + suffix) == number,
            "a written count reads back");
  }

  const bool pieces_plain =
      title.find_first_of("[]") == std::string::npos && title.find("<<") == std::string::npos &&
      button.find(']') == std::string::npos && button.find("<<") == std::string::npos &&
      TrimSpaces(button) == button && TrimSpaces(window_class) == window_class;
  if (!pieces_plain) return;
  const pallix::WatchEntry back =
      pallix::ParseWatchEntry(title + "[" + button + "]<<" + window_class + ">>");
  Require(back == pallix::WatchEntry{title, button, window_class}, "an entry parses back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool()) {
    FuzzWatchEntry(in);
    return 0;
  }
  FuzzProfile(in);
  return 0;
}

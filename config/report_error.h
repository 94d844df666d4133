// The program's error report: a box for the user, then the error raised on
// to the caller.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pallix {

// An error raised to a caller: number, source and description travel
// together, as the user saw them in the box.
class RaisedError : public std::runtime_error {
 public:
  RaisedError(std::int32_t number, std::string source, std::string description)
      : std::runtime_error(description),
        number_(number),
        source_(std::move(source)),
        description_(std::move(description)) {}

  std::int32_t number() const { return number_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }

 private:
  std::int32_t number_;
  std::string source_;
  std::string description_;
};

// Application-defined error numbers start here when they are raised.
inline constexpr std::uint32_t kRaisedErrorBase = 0x80040000u;

// The text that describes an error number: the program's string table entry
// of that number, or the general text when there is none.
std::string ErrorText(std::int32_t number);

// The prompt of the error box, four lines at least.
std::string ErrorPrompt(std::int32_t number, std::string_view text, std::string_view source);

// The number a reported error is raised with (32-bit wrap-around, as the
// error numbers are 32-bit signed).
std::int32_t RaisedNumber(std::int32_t number);

// Shows the error box and raises the error. Never returns.
[[noreturn]] void ReportError(std::int32_t number, std::string_view source);

}  // namespace pallix

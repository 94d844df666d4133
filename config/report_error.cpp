#include "config/report_error.h"

#include <string>

#include "ui/toolkit.h"

namespace pallix {

std::string ErrorText(std::int32_t number) {
  // String-table ids are 16-bit; anything else cannot be looked up.
  if (number >= 0 && number <= 0xFFFF) {
    if (auto text = LoadResString(static_cast<unsigned>(number))) return *text;
  }
  return "An unknown error has occurred!";
}

std::string ErrorPrompt(std::int32_t number, std::string_view text, std::string_view source) {
  std::string prompt = "Error # " + std::to_string(number) + "\r\n";
  prompt.append(text);
  prompt += "\r\n\r\n";
  prompt.append(source);
  return prompt;
}

std::int32_t RaisedNumber(std::int32_t number) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(number) + kRaisedErrorBase);
}

void ReportError(std::int32_t number, std::string_view source) {
  std::string text = ErrorText(number);
  MsgBox(ErrorPrompt(number, text, source), MB_OK | MB_ICONHAND, "ERROR!");
  throw RaisedError(RaisedNumber(number), std::string(source), std::move(text));
}

}  // namespace pallix

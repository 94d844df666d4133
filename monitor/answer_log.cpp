#include "monitor/answer_log.h"

#include <algorithm>
#include <cstdio>

#include "config/chooser.h"
#include "config/config_path.h"
#include "ui/toolkit.h"
#include "watch/dialog_program.h"

namespace pallix {
namespace {

// A tab or line break inside a title would shift the line's columns or
// split it in two; such characters are written as blanks.
void AppendField(std::string& line, std::string_view field) {
  line += '\t';
  for (char ch : field) line += static_cast<unsigned char>(ch) < ' ' ? ' ' : ch;
}

HANDLE OpenForAppend(const std::string& path) {
  // FILE_APPEND_DATA alone: every write lands at the end, whoever else has
  // the file open. Sharing everything lets the user's editor read it and
  // lets rotation rename it under another reader.
  return ::CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string FormatAnswerLine(const SYSTEMTIME& t, AnswerOutcome outcome, std::string_view title,
                             std::string_view button, std::string_view window_class,
                             std::string_view program, std::string_view message) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  std::string line = stamp;
  AppendField(line, outcome == AnswerOutcome::kAnswered        ? "answered"
                    : outcome == AnswerOutcome::kNotResponding ? "not responding"
                                                               : "no effect");
  AppendField(line, title);
  AppendField(line, button);
  AppendField(line, window_class);
  AppendField(line, program);
  AppendField(line, message.substr(0, kLoggedMessageMax));
  line += "\r\n";
  return line;
}

bool RotateBefore(std::uint64_t size, std::uint64_t line_size, std::uint64_t limit) {
  return size > 0 && size + line_size > limit;
}

AnswerLog::AnswerLog(std::string folder, Report report, std::uint64_t limit)
    : folder_(std::move(folder)), report_(std::move(report)), limit_(limit) {}

std::string AnswerLog::path() const {
  return ConfigPath(folder_, kAnswerLogName);
}

void AnswerLog::Record(HANDLE process, AnswerOutcome outcome, std::string_view title,
                       std::string_view button, std::string_view window_class,
                       std::string_view message) {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  // "?" where Windows does not say whose the dialog was.
  std::string program = ProgramFileName(process);
  Write(FormatAnswerLine(now, outcome, title, button, window_class, program.empty() ? "?" : program,
                         message));
}

bool AnswerLog::Write(std::string_view line) {
  // The file is opened for each line and closed at once. Answers come
  // seconds apart, so the cost is small; in exchange nothing of ours stays
  // open to stop the user's editor, another program, or our own rename at
  // rotation, and a log that failed once is simply tried afresh next time.
  const std::string path = this->path();
  DWORD error = ERROR_SUCCESS;
  HANDLE file = OpenForAppend(path);
  LARGE_INTEGER size{};
  if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size)) {
    error = ::GetLastError();
  } else if (RotateBefore(static_cast<std::uint64_t>(size.QuadPart), line.size(), limit_)) {
    // A file open here could not be renamed.
    ::CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (::MoveFileExA(path.c_str(), ConfigPath(folder_, kOldAnswerLogName).c_str(),
                      MOVEFILE_REPLACE_EXISTING)) {
      file = OpenForAppend(path);
    }
    // A log that cannot move aside gets no more lines: the two files
    // together must stay within twice the limit.
    if (file == INVALID_HANDLE_VALUE) error = ::GetLastError();
  }
  if (error == ERROR_SUCCESS) {
    DWORD written = 0;
    if (!::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
      error = ::GetLastError();
    } else if (written != line.size()) {
      error = ERROR_DISK_FULL;
    }
  }
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  if (error == ERROR_SUCCESS) return true;
  if (!std::exchange(reported_, true) && report_) {
    report_("Pallix could not write its answer log " + path + ": " + SystemErrorText(error));
  }
  return false;
}

void answerlog_Click(const AnswerLog& log) {
  const std::string path = log.path();
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
          ? data.nFileSizeLow == 0 && data.nFileSizeHigh == 0
          : ::GetLastError() == ERROR_FILE_NOT_FOUND) {
    MsgBox(kNoAnswersYet, MB_OK | MB_ICONINFORMATION, kAppTitle);
    return;
  }
  // Started as "Edit ini" starts it; Pallix does not wait for it.
  if (::WinExec(EditorCommand(path).c_str(), SW_SHOWNORMAL) <= 31) {
    MsgBox("Pallix could not start the editor for " + path + ".", MB_OK | MB_ICONEXCLAMATION,
           kAppTitle);
  }
}

}  // namespace pallix

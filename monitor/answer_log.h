// The answer log: one line in pallix.log, beside the watch lists, for every
// dialog the monitor answers, so that the user can see afterwards what was
// pressed on their behalf, when, and whether the program took the click.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pallix {

inline constexpr const char* kAnswerLogName = "pallix.log";
inline constexpr const char* kOldAnswerLogName = "pallix.log.1";
// pallix.log never grows past this; the older half lives in pallix.log.1.
inline constexpr std::uint64_t kAnswerLogLimit = 1 << 20;
// A dialog that stays open is clicked on every tick; it gets a line at most
// this often.
inline constexpr std::uint64_t kRepeatQuietMs = 10000;
inline constexpr const char* kNoAnswersYet =
    "No dialog has been answered yet, so the answer log is empty.";

// How much of a dialog's message its line keeps.
inline constexpr std::size_t kLoggedMessageMax = 200;

// One line, CR LF included: "2026-12-07 14:02:11.123<TAB>answered<TAB>title
// <TAB>button<TAB>class<TAB>program<TAB>message", the message as the dialog
// showed it, cut at kLoggedMessageMax characters.
std::string FormatAnswerLine(const SYSTEMTIME& local_time, bool answered, std::string_view title,
                             std::string_view button, std::string_view window_class,
                             std::string_view program, std::string_view message);

// Whether a log of `size` bytes moves aside before `line_size` more bytes
// are appended: it would pass the limit otherwise. An empty log takes any
// line, so that a line longer than the limit is still written somewhere.
bool RotateBefore(std::uint64_t size, std::uint64_t line_size, std::uint64_t limit);

// The 10-second rule, per dialog window.
class RepeatFilter {
 public:
  // Whether an answer to `dialog` at `now_ms` (a millisecond clock) gets a
  // line; if so, it counts as that window's latest line.
  bool Admit(HWND dialog, std::uint64_t now_ms);

 private:
  std::vector<std::pair<HWND, std::uint64_t>> last_line_;
};

// The file name of the program that owns `process` (opened with
// PROCESS_QUERY_LIMITED_INFORMATION), or "?" when Windows does not say.
std::string ProgramFileName(HANDLE process);

class AnswerLog {
 public:
  // Told, once per run, why a line could not be written. It must return at
  // once: it is called from the monitor's tick.
  using Report = std::function<void(const std::string& why)>;

  AnswerLog(std::string folder, Report report, std::uint64_t limit = kAnswerLogLimit);

  std::string path() const;

  // Called after a click on `dialog` (whose program is `process`, opened
  // before the click, or null): writes its line unless the window had one
  // within the last ten seconds.
  void Record(HWND dialog, HANDLE process, bool answered, std::string_view title,
              std::string_view button, std::string_view window_class, std::string_view message);

  // Appends one finished line, moving a full log aside first. False when
  // Windows refused; the first refusal of the run is reported.
  bool Write(std::string_view line);

 private:
  std::string folder_;
  Report report_;
  std::uint64_t limit_;
  RepeatFilter repeats_;
  bool reported_ = false;
};

// The tray menu's "Answer log": the log in the editor, or a box saying that
// there is nothing in it yet.
void answerlog_Click(const AnswerLog& log);

}  // namespace pallix

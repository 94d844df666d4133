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

namespace pallix {

inline constexpr const char* kAnswerLogName = "pallix.log";
inline constexpr const char* kOldAnswerLogName = "pallix.log.1";
// pallix.log never grows past this; the older half lives in pallix.log.1.
inline constexpr std::uint64_t kAnswerLogLimit = 1 << 20;
inline constexpr const char* kNoAnswersYet =
    "No dialog has been answered yet, so the answer log is empty.";

// What became of a click: the program took it; it gave up (the program did
// not take it within a second, or Windows reports it hung); or the
// window was still there after clicks taken on three ticks in a row, and
// Pallix stopped pressing it.
enum class AnswerOutcome { kAnswered, kNotResponding, kNoEffect };

// How much of a dialog's message its line keeps.
inline constexpr std::size_t kLoggedMessageMax = 200;

// One line, CR LF included: "2026-12-07 14:02:11.123<TAB>answered<TAB>title
// <TAB>button<TAB>class<TAB>program<TAB>message", the second field
// "answered", "not responding" or "no effect", the message as the dialog
// showed it, cut at kLoggedMessageMax characters.
std::string FormatAnswerLine(const SYSTEMTIME& local_time, AnswerOutcome outcome,
                             std::string_view title, std::string_view button,
                             std::string_view window_class, std::string_view program,
                             std::string_view message);

// Whether a log of `size` bytes moves aside before `line_size` more bytes
// are appended: it would pass the limit otherwise. An empty log takes any
// line, so that a line longer than the limit is still written somewhere.
bool RotateBefore(std::uint64_t size, std::uint64_t line_size, std::uint64_t limit);

class AnswerLog {
 public:
  // Told, once per run, why a line could not be written. It must return at
  // once: it is called from the monitor's tick.
  using Report = std::function<void(const std::string& why)>;

  AnswerLog(std::string folder, Report report, std::uint64_t limit = kAnswerLogLimit);

  std::string path() const;

  // Writes the line of a click on a dialog whose program is `process`
  // (opened before the click, or null) and that showed `message`. Which
  // clicks get one is the monitor's choice.
  void Record(HANDLE process, AnswerOutcome outcome, std::string_view title,
              std::string_view button, std::string_view window_class, std::string_view message);

  // Appends one finished line, moving a full log aside first. False when
  // Windows refused; the first refusal of the run is reported.
  bool Write(std::string_view line);

 private:
  std::string folder_;
  Report report_;
  std::uint64_t limit_;
  bool reported_ = false;
};

// The tray menu's "Answer log": the log in the editor, or a box saying that
// there is nothing in it yet.
void answerlog_Click(const AnswerLog& log);

}  // namespace pallix

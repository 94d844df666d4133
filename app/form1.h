// The main window: it owns the run's state and the handles of its controls,
// and hands each event to the handler of the subsystem that owns it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "app/entry_list.h"
#include "app/recent_window.h"
#include "config/chooser.h"
#include "config/file_stamp.h"
#include "monitor/answer_log.h"
#include "monitor/monitor.h"
#include "picker/notice.h"
#include "picker/picker.h"
#include "ui/toolkit.h"
#include "watch/read_ini.h"
#include "watch/recent_dialogs.h"
#include "watch/watch_table.h"

namespace pallix {

// Control and menu-item ids, as the platform reports them with each command.
enum ControlId : int {
  kIdLabel3 = 1001,
  kIdText5,
  kIdPic1,
  kIdText1,
  kIdLabel1,
  kIdPicture2,
  kIdShape1,
  kIdCmd1First,  // three in a row
  kIdOp1First = kIdCmd1First + 3,
  kIdCommand1 = kIdOp1First + 3,
  kIdCombo1,
  kIdCommand4,
  kIdCommand3,
  kIdCommand2,
  kIdText4,
  kIdText2,
  kIdText3,
  kIdList2,
  kIdCommand5,
  kIdList1,
  kIdText6,
  kIdLabel2,
  kIdCommand6,
  kIdCheck1,
  kIdCommand7,
  // traymenu
  kIdKorrelcom = 2001,
  kIdSwenable,
  kIdSwopen,
  kIdExit,
  kIdAnswerLog,
  kIdStartup,
  kIdRecent,
};

// The main window's timers besides the monitor's two: List2's counts
// brought up to date at most once a second; the loaded file looked at once
// a second; "Last" turned from a time into a date at midnight.
inline constexpr UINT_PTR kCountsTimerId = kLookAgainTimerId + 1;
inline constexpr UINT_PTR kFileTimerId = kCountsTimerId + 1;
inline constexpr UINT_PTR kMidnightTimerId = kFileTimerId + 1;
// Looks at the windows just opened until they show as dialogs, only while
// some wait.
inline constexpr UINT_PTR kNoticeTimerId = kMidnightTimerId + 1;
inline constexpr unsigned kCountsPeriodMs = 1000;
inline constexpr unsigned kFilePeriodMs = 1000;

inline constexpr const char* kRemoveWhileMonitoringMessage =
    "Switch monitoring off first. NOT removed!";

// The handles of every control, under their names.
struct Form1Controls {
  HWND Label3, Text5, Pic1, Text1, Text6, Label1, Label2, Picture2, Shape1;
  std::array<HWND, 3> cmd1, Op1;
  HWND Command1, Combo1, Command4, Command3, Command2;
  HWND Text4, Text2, Picture1, Text3, List2, Command5, List1;
  HWND Command6;  // "Remove"
  HWND Check1;    // "Only from <program>"
  HWND Command7;  // "Recent dialogs"

  HMENU traymenu;
};

class Form1 final : public EventSink {
 public:
  Form1();
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Creates the window, its controls and the tray menu, hidden.
  void Create();
  // The start-up sequence: load, then show (which activates). A start in
  // the background, with something to watch, stays in the tray with
  // monitoring on instead of showing the window.
  void Start(bool background = false);

  void Form_Load();
  void Form_Activate();
  void Form_Click();
  // The list and "Remove" follow the window's size; the controls above stay
  // where they are, and those never seen stay below the client area.
  void Form_Resize();
  void Form_DblClick();
  void Form_QueryUnload(std::int16_t& cancel, std::int16_t unload_mode);
  void Form_Unload();
  void exit_Click();
  static void DisableCloseButton(HWND window);
  // The file list of the program's folder.
  FileList& file1() { return File1; }

  HWND hwnd() const { return hwnd_; }
  const Form1Controls& controls() const { return c_; }
  const WatchTable& watch() const { return watch_; }
  const AnswerCounts& answers() const { return answers_; }
  Picker& picker() { return picker_; }
  const RecentDialogs& recent() const { return recent_; }
  RecentWindow& recent_window() { return recent_window_; }
  // The main window filled from that record, brought forward, and the
  // user asked to choose the button.
  void TeachFrom(std::uint64_t record_id);
  DialogMonitor& monitor() { return monitor_; }

  // EventSink
  void OnCommand(int control_id) override;
  void OnTimer(UINT_PTR timer_id) override;
  void OnTrayMessage(UINT mouse_message) override;
  void OnTaskbarCreated() override;
  void OnOpenRequest() override;
  void OnShowWindow(bool shown) override;
  void OnActivate() override;
  void OnShownWhileActive() override;
  void OnBackgroundClick() override;
  void OnBackgroundDblClick() override;
  void OnPictureMouse(int control_id, UINT message, POINT at) override;
  void OnTableKey(int control_id, WORD key) override;
  void OnTableSelection(int control_id) override;
  std::string OnTableTip(int control_id, int row) override;
  void OnTableDividerDblClick(int control_id, int column) override;
  void OnResize(int width, int height) override;
  bool OnQueryClose(int reason) override;
  void OnDestroy() override { Form_Unload(); }

 private:
  // Runs one event's handler. An error it raised was already shown to the
  // user by the error report; it ends that handler and nothing else.
  void Handle(const std::function<void()>& handler);

  void ArmPicker();
  bool MonitoringOn() const;
  // The window events follow the switch; returns `on`, for the tip.
  bool Switched(bool on);
  // List2 filled from the table, and the counts' cells brought up to date.
  void ShowEntries();
  void ShowCounts();
  void CountAnswer(const WatchedEntry& entry);
  // A dialog noticed goes into the records; one answered gets the entry's
  // button there.
  void NoteDialog(HWND dialog, const ClickedDialog* clicking);
  void NoteAnswer(HWND dialog, const std::string& button);
  // "Remove" can be pressed only when there is something it may remove.
  void ShowRemovable();
  void List2_KeyDown(WORD key);
  void Command6_Click();
  // A change of the loaded file on disk loads it again.
  void CheckFile();
  MonitorSwitch Switch() const;
  ChooserControls Chooser() const;
  ReadIniControls ReadIni();

  HWND hwnd_ = nullptr;
  Form1Controls c_;
  FileList File1;
  WatchTable watch_;
  DialogMonitor monitor_;
  AnswerLog answer_log_;
  AnswerCounts answers_;
  // Counts changed since List2 last showed them; whether their timer runs.
  bool counts_changed_ = false;
  bool counts_timer_ = false;
  Picker picker_;
  // Activation counts once per showing: switching back from another
  // program is no new activation.
  bool activation_pending_ = true;
  // The loaded file's folder, watched by Windows, so that the file's bytes
  // are read only when something there changed; and whether a change was
  // noticed that the file check has not yet compared (it waits while the
  // file is being written).
  FolderWatch file_watch_;
  bool file_to_compare_ = false;
  RecentDialogs recent_;
  DialogNoticer noticer_;
  RecentWindow recent_window_{recent_, [this](std::uint64_t id) { TeachFrom(id); }};
};

}  // namespace pallix

#include "app/form1.h"

#include <fstream>
#include <utility>

#include "app/autostart.h"
#include "app/maker_links.h"
#include "app/tray.h"
#include "config/file_stamp.h"
#include "config/report_error.h"
#include "resources/resource_ids.h"
#include "watch/add.h"
#include "watch/remove.h"

namespace pallix {

inline constexpr const char* kCreateDefaultPrompt =
    "There is no default_px.ini file in the path!\r\nDo you want to create it?";

Form1::Form1()
    : File1("*.ini"),
      // A log that cannot be written must not stop the answering: the user
      // hears of it from a balloon, never from a box the tick would wait on.
      answer_log_(AppPath(), [this](const std::string& why) {
        ShowTrayBalloon(c_.Picture1, kAppTitle, why);
      }) {
  // A dialog answered within milliseconds of its making may be gone before
  // the noticer's own look: it is noticed as it is clicked.
  monitor_.BeforeClick(
      [this](const ClickedDialog& clicking) { noticer_.Notice(clicking.dialog, &clicking); });
  monitor_.OnAnswer([this](const WatchedEntry& entry, HWND dialog) {
    CountAnswer(entry);
    NoteAnswer(dialog, entry.button);
  });
  SetIdleWork([this] { return monitor_.LookAtNewWindows(); });
}

Form1::~Form1() {
  SetIdleWork(nullptr);
  if (c_.Picture1) ::DestroyWindow(c_.Picture1);
  if (hwnd_) ::DestroyWindow(hwnd_);
  if (c_.traymenu) ::DestroyMenu(c_.traymenu);
}

void Form1::Handle(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const RaisedError&) {
    // Already reported in its box; the program goes on.
  }
}

MonitorSwitch Form1::Switch() const {
  return MonitorSwitch{hwnd_, c_.Command1, c_.Command2, c_.Command3, c_.traymenu, kIdSwenable};
}

ChooserControls Form1::Chooser() const {
  return ChooserControls{c_.Combo1, c_.Command1, c_.Command2, c_.Command3, c_.Command4};
}

ReadIniControls Form1::ReadIni() {
  return ReadIniControls{c_.Combo1, c_.Text3, [this] { ShowEntries(); }};
}

bool Form1::MonitoringOn() const {
  return GetCaption(c_.Command2) == kDisableCaption;
}

bool Form1::Switched(bool on) {
  if (on) {
    monitor_.StartEvents(watch_, &answer_log_, hwnd_);
  } else {
    monitor_.StopEvents();
  }
  return on;
}

void Form1::ShowEntries() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(static_cast<std::size_t>(watch_.Count()));
  for (int i = 1; i <= watch_.Count(); ++i) rows.push_back(EntryRow(watch_, i, answers_, now));
  TableSetRows(c_.List2, rows);
  ShowRemovable();
}

void Form1::ShowCounts() {
  counts_changed_ = false;
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  for (int i = 1; i <= watch_.Count() && i <= TableRowCount(c_.List2); ++i) {
    std::vector<std::string> row = EntryRow(watch_, i, answers_, now);
    for (int column : {kAnsweredColumn, kLastColumn}) {
      TableSetCell(c_.List2, i - 1, column, row[column]);
    }
  }
  // A time of today becomes a date once today is over: once, just after
  // midnight.
  UINT to_midnight =
      ((23 - now.wHour) * 3600 + (59 - now.wMinute) * 60 + (60 - now.wSecond)) * 1000;
  ::SetTimer(hwnd_, kMidnightTimerId, to_midnight + 1000, nullptr);
}

void Form1::CountAnswer(const WatchedEntry& entry) {
  EntryAnswers& answers = answers_[entry];
  ++answers.answered;
  ::GetLocalTime(&answers.last);
  counts_changed_ = true;
  // The first change shows at once; those that follow within the second
  // wait for its end, so that a burst of answers repaints once.
  if (counts_timer_) return;
  ShowCounts();
  counts_timer_ = ::SetTimer(hwnd_, kCountsTimerId, kCountsPeriodMs, nullptr) != 0;
}

void Form1::NoteDialog(HWND dialog, const ClickedDialog* clicking) {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  // A dialog seen before is told by what Windows keeps of it: a dialog
  // about to be clicked waits for this, and reading its buttons would ask
  // its program a dozen times.
  SeenDialog key = ReadDialogKey(dialog, clicking);
  if (!recent_.NoteAgain(dialog, key, now)) {
    recent_.Note(dialog, ReadSeenDialog(dialog, std::move(key)), now);
  }
  recent_window_.Update();
}

void Form1::NoteAnswer(HWND dialog, const std::string& button) {
  // Noticed before its click, while it still stood.
  if (recent_.Answered(dialog, button)) recent_window_.Update();
}

void Form1::TeachFrom(std::uint64_t record_id) {
  const DialogRecord* record = recent_.Find(record_id);
  if (!record) return;
  picker_.TeachFrom(record->dialog);
  OpenMainWindow(TrayControls{hwnd_, c_.traymenu, kIdSwopen});
  SayInLabel3(c_.Label3, MonitoringOn() ? kTeachWhileMonitoringMessage : kChooseThenAddMessage,
              kAddedColour);
  // The keyboard goes on from the chosen button: arrows choose another,
  // Tab goes on to Add.
  for (HWND option : c_.Op1) {
    if (IsVisible(option) && GetOptionValue(option)) ::SetFocus(option);
  }
}

void Form1::ShowRemovable() {
  ::EnableWindow(c_.Command6, TableSelected(c_.List2) >= 0 && !MonitoringOn());
}

void Form1::Command6_Click() {
  int row = TableSelected(c_.List2);
  if (row < 0) return;
  if (MonitoringOn()) return SayInLabel3(c_.Label3, kRemoveWhileMonitoringMessage, kRefusedColour);
  pallix::Command6_Click(c_.Label3, row + 1, watch_, ReadIni());
}

void Form1::List2_KeyDown(WORD key) {
  if (key == VK_DELETE) Command6_Click();
}

void Form1::CheckFile() {
  if (watch_.source.empty()) return;
  // A file of the same size put in place with its old write time (a copy
  // from a backup, a program that keeps the time) changes only its bytes:
  // they are compared whenever something in its folder changed.
  file_watch_.WatchFolderOf(watch_.source);
  if (file_watch_.Changed()) file_to_compare_ = true;
  const bool stamp_changed = StampOf(watch_.source) != watch_.stamp;
  if (!stamp_changed && !file_to_compare_) return;
  // Half a write is not read: the check comes again once it is over.
  if (BeingWritten(watch_.source)) return;
  file_to_compare_ = false;
  if (!stamp_changed && FileBytes(watch_.source) == watch_.loaded_bytes) return;
  int selected = TableSelected(c_.List2);
  ReloadWatchTable(watch_, ReadIni());
  if (selected >= 0 && selected < TableRowCount(c_.List2)) TableSelect(c_.List2, selected);
}

void Form1::OnTableKey(int control_id, WORD key) {
  if (control_id == kIdList2) Handle([&] { List2_KeyDown(key); });
}

void Form1::OnTableSelection(int control_id) {
  if (control_id == kIdList2) ShowRemovable();
}

std::string Form1::OnTableTip(int control_id, int row) {
  return control_id == kIdList2 ? EntryTip(watch_, row + 1) : std::string();
}

void Form1::OnTableDividerDblClick(int control_id, int column) {
  if (control_id == kIdList2) TableFitColumn(c_.List2, column);
}

void Form1::OnResize(int, int) {
  Handle([&] { Form_Resize(); });
}

void Form1::Form_Load() {
  AddTrayIcon(c_.Picture1, kIconTray);
  combo_refresh(File1, c_.Combo1);
  Handle([&] { Command5_Click(watch_, ReadIni()); });
  ::SetTimer(hwnd_, kFileTimerId, kFilePeriodMs, nullptr);
  // Dialogs are noticed whether or not monitoring is on: a dialog answered
  // by hand is one the user may want to teach. (A build of the benchmark's
  // own leaves the window events alone, for their idle cost.)
#ifndef PALLIX_BENCH_WITHOUT_WINDOW_EVENTS
  recent_window_.Noticing(noticer_.Start(
      hwnd_, kNoticeTimerId,
      [this](HWND dialog, const ClickedDialog* clicking) { NoteDialog(dialog, clicking); }));
#endif
}

void Form1::Start(bool background) {
  Form_Load();
  // With no file, or nothing in it, nothing would be watched: the window
  // shows, and its boxes tell the user so.
  if (background && File1.ListCount() >= 1 && watch_.HasEntries()) {
    SetTrayTip(c_.Picture1, Switched(Command2_Click(Switch())));
    return;
  }
  SetVisible(hwnd_, true);
}

void Form1::ArmPicker() {
  SetPicture(c_.Picture2, kCursorPicker);
  SetCustomPointer(hwnd_, kCursorPicker);
}

void Form1::Form_Activate() {
  ArmPicker();
  if (File1.ListCount() < 1) {
    // create_ini leaves "Create Ini" and the buttons that need a file as
    // they must be, whether or not the file could be made.
    if (MsgBox(kCreateDefaultPrompt, MB_YESNO, "default_px.ini?") == IDYES) {
      create_ini(File1, Chooser());
    } else {
      ShowCreateIni(Chooser(), true);
    }
  }
  DisableCloseButton(::GetActiveWindow());
}

void Form1::DisableCloseButton(HWND window) {
  HMENU menu = ::GetSystemMenu(window, FALSE);
  if (!menu) return;
  int n = ::GetMenuItemCount(menu);
  ::RemoveMenu(menu, static_cast<UINT>(n - 1), MF_BYPOSITION | MF_REMOVE);
  ::DrawMenuBar(window);
}

void Form1::Form_Click() {
  ArmPicker();
}

void Form1::Form_DblClick() {
  SetVisible(hwnd_, false);
}

void Form1::OnBackgroundClick() {
  Handle([&] { Form_Click(); });
}

void Form1::OnBackgroundDblClick() {
  Handle([&] { Form_DblClick(); });
}

void Form1::Form_QueryUnload(std::int16_t& cancel, std::int16_t unload_mode) {
  if (unload_mode != kCloseFromCode) cancel = 1;
}

void Form1::Form_Unload() {
  noticer_.Stop();
  monitor_.StopEvents();
  file_watch_.Close();
  RemoveTrayIcon(c_.Picture1);
  DoEvents();
}

void Form1::exit_Click() {
  noticer_.Stop();
  monitor_.StopEvents();
  file_watch_.Close();
  RemoveTrayIcon(c_.Picture1);
  ::ExitProcess(0);
}

void Form1::OnCommand(int id) {
  Handle([&] {
    TrayControls tray{hwnd_, c_.traymenu, kIdSwopen};
    switch (id) {
      case kIdCommand1:
        Command1_Click(c_.Combo1);
        break;
      case kIdCommand2:
        SetTrayTip(c_.Picture1, Switched(Command2_Click(Switch())));
        ShowRemovable();
        break;
      case kIdCommand3:
        Command3_Click(
            AddControls{c_.Combo1, c_.Text1, c_.Text6, c_.cmd1, c_.Op1, c_.Label3, c_.Check1},
            PickedWindow{picker_.picked_class(), picker_.picked_title_cut(),
                         picker_.title_beyond_ansi(), picker_.captions_beyond_ansi(),
                         picker_.picked_program(), picker_.twins()},
            watch_, ReadIni());
        break;
      case kIdCommand4:
        Command4_Click(File1, Chooser());
        break;
      case kIdCommand5:
        Command5_Click(watch_, ReadIni());
        break;
      case kIdLabel1:
      case kIdPic1:
      case kIdText5:
      case kIdKorrelcom:
        toUrl(hwnd_);
        break;
      case kIdSwenable:
        SetTrayTip(c_.Picture1, Switched(swenable_Click(Switch())));
        ShowRemovable();
        break;
      case kIdCommand6:
        Command6_Click();
        break;
      case kIdSwopen:
        swopen_Click(tray);
        break;
      case kIdExit:
        exit_Click();
        break;
      case kIdAnswerLog:
        answerlog_Click(answer_log_);
        break;
      case kIdStartup:
        startup_Click(c_.traymenu, kIdStartup);
        break;
      case kIdCommand7:
      case kIdRecent:
        recent_window_.Open();
        break;
      case kIdCmd1First:
      case kIdCmd1First + 1:
      case kIdCmd1First + 2:
        // A button's caption chooses it, as its option does.
        SetOptionValue(c_.Op1[id - kIdCmd1First], true);
        ::SetFocus(c_.Op1[id - kIdCmd1First]);
        break;
      default:
        break;
    }
  });
}

#ifdef PALLIX_BENCH_FIRST_TICK
// A build of the benchmark's own (bench/CMakeLists.txt): the system clock at
// the first tick, in microseconds since 1970, goes to first_tick.txt beside
// the program, for the time from a start to its first tick.
void NoteFirstTick() {
  static bool noted = false;
  if (noted) return;
  noted = true;
  FILETIME now;
  ::GetSystemTimePreciseAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  std::ofstream(AppPath() + "\\first_tick.txt") << (t.QuadPart - 116444736000000000ULL) / 10;
}
#endif

void Form1::OnTimer(UINT_PTR timer_id) {
#ifdef PALLIX_BENCH_FIRST_TICK
  if (timer_id == kMonitorTimerId) NoteFirstTick();
#endif
  switch (timer_id) {
    case kMonitorTimerId:
      // The dialogs that showed since the last look are noticed before the
      // pass answers them: their records are there to say so.
      Handle([&] { noticer_.Look(); });
      Handle([&] { monitor_.Monitor_timer_Timer(watch_, &answer_log_, hwnd_); });
      break;
    case kLookAgainTimerId:
      // A switch-off in the yields of a pass that then set the look again
      // leaves it set: the switch's caption tells.
      if (GetCaption(c_.Command2) == kDisableCaption) {
        Handle([&] { noticer_.Look(); });
        Handle([&] { monitor_.LookAgain_Timer(watch_, &answer_log_, hwnd_); });
      }
      break;
    case kCountsTimerId:
      // Nothing changed for a second: no more work till the next answer.
      if (counts_changed_) {
        ShowCounts();
      } else {
        ::KillTimer(hwnd_, kCountsTimerId);
        counts_timer_ = false;
      }
      break;
    case kMidnightTimerId:
      ::KillTimer(hwnd_, kMidnightTimerId);
      ShowCounts();
      break;
    case kFileTimerId:
      Handle([&] { CheckFile(); });
      break;
    case kNoticeTimerId:
      Handle([&] { noticer_.Look(); });
      break;
    default:
      break;
  }
}

void Form1::OnTrayMessage(UINT mouse_message) {
  Handle([&] {
    // The user may have changed the Startup folder since the menu was last
    // open: the check mark is read afresh each time it is shown.
    if (mouse_message == WM_RBUTTONDOWN) ShowStartupCheck(c_.traymenu, kIdStartup);
    Picture1_MouseMove(TrayControls{hwnd_, c_.traymenu, kIdSwopen},
                       mouse_message * TwipsPerPixelX());
  });
}

void Form1::OnPictureMouse(int control_id, UINT message, POINT) {
  if (control_id != kIdPicture2) return;
  Handle([&] {
    switch (message) {
      case WM_MOUSEMOVE:
        picker_.Picture2_MouseMove();
        break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        picker_.Picture2_MouseUp();
        break;
      case WM_CAPTURECHANGED:
        picker_.Picture2_LostCapture();
        break;
      default:  // a press, or the second press of a double-click
        picker_.Picture2_MouseDown();
        break;
    }
  });
}

void Form1::OnTaskbarCreated() {
  // A new shell has an empty notification area: without the icon again, a
  // user whose window is hidden could neither reach nor end the program.
  AddTrayIcon(c_.Picture1, kIconTray);
}

void Form1::OnOpenRequest() {
  Handle([&] { OpenMainWindow(TrayControls{hwnd_, c_.traymenu, kIdSwopen}); });
}

void Form1::OnShowWindow(bool shown) {
  if (!shown) activation_pending_ = true;
}

void Form1::OnActivate() {
  // A box closed while the window is still hidden hands the activation back
  // to it; that is no showing of the window.
  if (!activation_pending_ || !IsVisible(hwnd_)) return;
  activation_pending_ = false;
  Handle([&] { Form_Activate(); });
}

void Form1::OnShownWhileActive() {
  // The tray menu makes the hidden window the foreground window before
  // "Open" shows it: the showing is the activation then.
  OnActivate();
}

bool Form1::OnQueryClose(int reason) {
  std::int16_t cancel = 0;
  Form_QueryUnload(cancel, static_cast<std::int16_t>(reason));
  return cancel != 0;
}

}  // namespace pallix

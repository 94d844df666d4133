// "Pallix - recent dialogs": the dialogs Pallix has seen lately, newest
// first, and "Teach" to fill the main window from one. It keeps nothing of
// its own: opened again, it shows the records as they are.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit.h"
#include "watch/recent_dialogs.h"

namespace pallix {

inline constexpr const char* kRecentTitle = "Pallix - recent dialogs";
inline constexpr const char* kChooseThenAddMessage = "Choose the button, then press Add.";
// Shown in the window when Windows would not report new windows: an empty
// list must not pass for "no dialog came".
inline constexpr const char* kNotNoticingMessage =
    "Windows does not report new windows to Pallix: no dialog is noticed.";
// Add waits for monitoring to be off.
inline constexpr const char* kTeachWhileMonitoringMessage =
    "Switch monitoring off, choose the button, then press Add.";

// Its controls' ids: Teach and Close are the ones Enter and Esc press.
enum RecentControlId : int {
  kIdRecentTeach = IDOK,
  kIdRecentClose = IDCANCEL,
  kIdRecentList = 3001,
};

// The columns of a record's row, in this order.
enum RecentColumn : int {
  kSeenAtColumn,
  kSeenColumn,
  kRecordProgramColumn,
  kRecordTitleColumn,
  kSaysColumn,
  kButtonsColumn,
  kRecordAnsweredColumn,
};
std::vector<std::string> RecordRow(const DialogRecord& record, const SYSTEMTIME& now);

struct RecentControls {
  HWND window = nullptr;
  HWND List = nullptr;
  HWND Teach = nullptr;
  HWND Close = nullptr;
  HWND Note = nullptr;  // kNotNoticingMessage, when it applies
};

class RecentWindow final : public EventSink {
 public:
  // `teach` is told the record chosen.
  RecentWindow(const RecentDialogs& records, std::function<void(std::uint64_t)> teach)
      : records_(records), teach_(std::move(teach)) {}
  ~RecentWindow();
  RecentWindow(const RecentWindow&) = delete;
  RecentWindow& operator=(const RecentWindow&) = delete;

  // Made if it is not there, filled, and brought to the front, the newest
  // record chosen.
  void Open();
  // The rows brought up to date with the records, while it is open: only
  // the rows that changed change, so that it does not flicker.
  void Update();
  bool open() const { return c_.window != nullptr; }
  // Whether dialogs are being noticed at all.
  void Noticing(bool on) { noticing_ = on; }
  const RecentControls& controls() const { return c_; }

  // EventSink
  void OnCommand(int control_id) override;
  void OnTimer(UINT_PTR) override {}
  void OnTableSelection(int control_id) override;
  void OnTableDblClick(int control_id, int row) override;
  void OnResize(int width, int height) override;
  void OnDestroy() override { c_ = {}; }

 private:
  void Teach_Click();
  void Create();

  const RecentDialogs& records_;
  bool noticing_ = true;
  std::function<void(std::uint64_t)> teach_;
  RecentControls c_;
};

}  // namespace pallix

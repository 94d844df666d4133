// The main window: it owns the run's state and the handles of its controls,
// and hands each event to the handler of the subsystem that owns it.
#pragma once

#include <cstdint>

#include "platform/toolkit.h"
#include "platform/types.h"
#include "watch/watch_table.h"

namespace pallix {

// Control ids, as the platform reports them with each command.
enum ControlId : int {
  kIdCombo1 = 1001,
  kIdCommand5 = 1005,
  kIdList2 = 1012,
  kIdText3 = 1023,
};

class Form1 final : public EventSink {
 public:
  // Creates the window and its controls, hidden.
  void Create();
  // Start-up work before the window is first shown.
  void Form_Load();
  void Show();

  Hwnd hwnd() const { return hwnd_; }
  Hwnd Combo1() const { return combo1_; }
  Hwnd Command5() const { return command5_; }
  Hwnd List2() const { return list2_; }
  Hwnd Text3() const { return text3_; }
  const WatchTable& watch() const { return watch_; }

  void OnCommand(int control_id) override;
  void OnTimer(std::uintptr_t timer_id) override;

 private:
  // Runs one event's handler. An error it raised was already shown to the
  // user by the error report; it ends that handler and nothing else.
  template <typename Handler>
  void Handle(Handler&& handler);

  Hwnd hwnd_;
  Hwnd combo1_;
  Hwnd command5_;
  Hwnd list2_;
  Hwnd text3_;
  WatchTable watch_;
};

}  // namespace pallix

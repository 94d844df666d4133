#include "app/single_instance.h"

#include <windows.h>

#include "ui/toolkit.h"

namespace pallix {

// "Local\": the lock belongs to the session, so that two users' sessions on
// one machine never block each other.
constexpr const char* kSessionLock = "Local\\Pallix.SingleInstance";

bool AnotherPallixRuns() {
  // Held, never closed: the lock goes with the process.
  HANDLE lock = ::CreateMutexA(nullptr, FALSE, kSessionLock);
  return lock != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void BringRunningPallixToFront() {
  // The running one may still be loading, before its window exists.
  for (int tries = 0; tries < 100; ++tries, ::Sleep(100)) {
    HWND running = ::FindWindowA(kMainWindowClass, nullptr);
    if (!running) continue;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(running, &pid);
    // The user started this process, so it may hand the foreground on.
    ::AllowSetForegroundWindow(pid);
    ::PostMessageA(running, OpenRequestMessage(), 0, 0);
    return;
  }
}

}  // namespace pallix

// The simulated shell: the notification area, program starts and the end
// of the process.
#include <algorithm>
#include <cstring>

#include "platform/shell32.h"
#include "platform/sim/sim.h"
#include "platform/sim/state.h"
#include "platform/toolkit.h"

namespace pallix {

using sim::detail::Find;
using sim::detail::S;

bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) {
  auto& s = S();
  s.notify_calls.push_back(sim::NotifyCall{message, record});
  auto same = [&](const sim::TrayIcon& icon) {
    return icon.window == record.window && icon.id == record.id;
  };
  auto it = std::find_if(s.tray_icons.begin(), s.tray_icons.end(), same);
  if (message == kNimAdd) {
    // An icon that is already there, or no notification area: refused.
    if (!s.tray_available || it != s.tray_icons.end()) return false;
    sim::TrayIcon icon;
    icon.window = record.window;
    icon.id = record.id;
    if (record.flags & kNifMessage) icon.callback_message = record.callback_message;
    if (record.flags & kNifIcon) icon.icon_resource = record.icon_resource;
    if (record.flags & kNifTip) icon.tip.assign(record.tip, strnlen(record.tip, sizeof record.tip));
    s.tray_icons.push_back(std::move(icon));
    return true;
  }
  if (message == kNimDelete) {
    if (it == s.tray_icons.end()) return false;
    s.tray_icons.erase(it);
    return true;
  }
  return false;
}

Hwnd CreateTrayWindow(EventSink& sink, std::uint32_t callback_message) {
  // Not a child of the desktop: like a message-only window, nothing finds it
  // and it is never on the screen.
  sim::detail::Window w;
  w.class_name = "PallixTray";
  w.visible = false;
  w.popup = false;
  w.sink = &sink;
  w.ours = true;
  w.tray_callback = callback_message;
  auto& s = S();
  w.handle = Hwnd{s.next_handle};
  s.next_handle += 2;
  Hwnd handle = w.handle;
  s.windows.emplace(handle.value, std::move(w));
  return handle;
}

void Shell(std::string_view command_line) {
  S().started_programs.emplace_back(command_line);
}

void EndProcess() {
  throw sim::ProcessEnded{};
}

namespace sim {

std::vector<TrayIcon> TrayIcons() {
  return S().tray_icons;
}
const std::vector<NotifyCall>& NotifyCalls() {
  return S().notify_calls;
}
void SetTrayAvailable(bool available) {
  S().tray_available = available;
}

void RestartShell() {
  auto& s = S();
  s.tray_icons.clear();
  s.tray_available = true;
  // The broadcast reaches top-level windows only.
  std::vector<EventSink*> sinks;
  for (auto& [value, w] : s.windows) {
    if (w.sink && w.parent == s.desktop) sinks.push_back(w.sink);
  }
  for (EventSink* sink : sinks) sink->OnTaskbarCreated();
}

void TrayMouse(std::uint32_t mouse_message) {
  auto icons = S().tray_icons;
  for (const TrayIcon& icon : icons) {
    detail::Window* w = Find(icon.window);
    if (w && w->sink && w->tray_callback && w->tray_callback == icon.callback_message) {
      w->sink->OnTrayMessage(mouse_message);
      return;
    }
  }
}

const std::vector<std::string>& StartedPrograms() {
  return S().started_programs;
}

}  // namespace sim
}  // namespace pallix

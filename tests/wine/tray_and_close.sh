#!/usr/bin/env bash
# Closing the main window is no way out of Pallix: WM_CLOSE, the window
# menu's Close (SC_CLOSE) and the end of the session (WM_QUERYENDSESSION,
# answered FALSE) leave it running and its window as it was, shown or
# hidden. A double-click on the icon hides the shown window and shows the
# hidden one above all others. A shell that announces itself anew
# ("TaskbarCreated") to a notification area without the icon gets it back.
# The press of the right button opens the menu at the pointer, and its
# "Exit" ends Pallix with status 0 and takes the icon away.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_tray_and_close

readonly WM_CLOSE=0x10 WM_QUERYENDSESSION=0x11 WM_SYSCOMMAND=0x112 SC_CLOSE=0xF060
readonly ENDSESSION_LOGOFF=0x80000000 HWND_BROADCAST=0xFFFF

# expect_refused WHEN VISIBLE
expect_refused() {
  local place result lparam
  place=$(drv client-rect --hwnd "$MAIN") || fail "$1: main window gone"
  drv send --hwnd "$MAIN" --msg $WM_CLOSE >/dev/null || fail "$1: WM_CLOSE not answered"
  drv send --hwnd "$MAIN" --msg $WM_SYSCOMMAND --wparam $SC_CLOSE >/dev/null ||
    fail "$1: SC_CLOSE not answered"
  for lparam in 0 $ENDSESSION_LOGOFF; do
    result=$(drv send --hwnd "$MAIN" --msg $WM_QUERYENDSESSION --lparam "$lparam") ||
      fail "$1: WM_QUERYENDSESSION not answered"
    [[ $result == 0 ]] || fail "$1: the session-end query ($lparam) was answered $result, not FALSE"
  done
  # A close that went ahead would show by now: the process ends with its
  # window.
  sleep 0.5
  running || fail "$1: Pallix ended after a close request"
  expect_state "$MAIN" "$1: after the close requests" "visible=$2"
  [[ $(drv client-rect --hwnd "$MAIN") == "$place" ]] || fail "$1: the window moved"
}

start_pallix app 'Save changes[&Yes]<<#32770>>'
wait_main
wait_tray_icons 1 || fail "Pallix's icon did not appear in the tray"
expect_state "$MAIN" "at start" visible=1 topmost=0
expect_refused "window shown" 1
tray_click click --repeat 2 --delay 80 1
expect_state "$MAIN" "after the first double-click on the icon" visible=0
expect_refused "window hidden" 0
tray_click click --repeat 2 --delay 80 1
expect_state "$MAIN" "after the second double-click" visible=1 topmost=1
echo "close requests refused, shown and hidden; double-clicks on the icon hide and show it topmost"

# A restarted shell has an empty notification area: the icon is removed as
# such a shell would have it, then the shell's broadcast is sent.
tray=$(drv wait-window --message-only --class PallixTray --timeout-ms 5000) || fail "no PallixTray"
drv icon-delete --hwnd "${tray%% *}" --id 1 || fail "the shell has no icon 1 of PallixTray"
wait_tray_icons 0 || fail "the icon stayed after it was removed"
sleep 1
[[ $(tray_icons) == 0 ]] || fail "the icon came back before the shell announced itself"
drv post --hwnd $HWND_BROADCAST --msg "$(drv register-message --name TaskbarCreated)" ||
  fail "could not broadcast TaskbarCreated"
wait_tray_icons 1 || fail "TaskbarCreated did not bring the icon back"
echo "after TaskbarCreated the icon is back"

# The menu opens where the pointer is, on the icon; then Exit.
tray_menu
[[ ${MENU% * *} == "$ICON_X $ICON_Y" ]] ||
  fail "the menu opened at ${MENU% * *}, not at the pointer ($ICON_X $ICON_Y)"
menu_choose "$MENU_EXIT"
wait_ended 10 || fail "Exit from the tray menu did not end Pallix"
[[ $PALLIX_STATUS == 0 ]] || fail "Pallix ended with status $PALLIX_STATUS"
wait_tray_icons 0 || fail "the icon is still in the tray after Exit"
echo "the menu opened at the pointer on the press; Exit ended Pallix with 0 and removed its icon"

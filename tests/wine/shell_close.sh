#!/usr/bin/env bash
# Closing the main window is no way out of Pallix: WM_CLOSE, the window
# menu's Close (WM_SYSCOMMAND SC_CLOSE) and the end of the session
# (WM_QUERYENDSESSION, answered FALSE) leave the program running and its
# window as it was, shown or hidden. Each activation takes the last item off
# the window menu.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
# shellcheck source-path=SCRIPTDIR source=shell_lib.sh
source "$(dirname "$0")/shell_lib.sh"
wine_test_begin wine_shell_close

readonly WM_CLOSE=0x10 WM_QUERYENDSESSION=0x11 WM_SYSCOMMAND=0x112 SC_CLOSE=0xF060
readonly ENDSESSION_LOGOFF=0x80000000

shell_new_folder app
wine_write_watch_list "$PALLIX_DIR/alpha.ini" 'Save changes[&Yes]<<#32770>>'
shell_start_pallix
shell_wait_main 30000
shell_tray_window

# A window menu as Wine makes it, to measure Pallix's against.
wine_start "$PALLIX_WIN64_DIR" pallix_wine_target.exe
target_pid=$WINE_PID
target=$(drv wait-window --class PallixDriverTarget --visible --timeout-ms 30000) ||
  fail "the target window did not appear"
full_menu=$(shell_popup_height "${target%% *}")
wine_end "$target_pid"
after_first=$(shell_popup_height "$MAIN")

# expect_refused WHEN VISIBLE: every close request is refused, and the
# window stays where, how big and how visible it was.
expect_refused() {
  local when=$1 visible=$2 place result
  place=$(drv client-rect --hwnd "$MAIN") || fail "$when: main window gone"
  drv send --hwnd "$MAIN" --msg "$WM_CLOSE" >/dev/null || fail "$when: WM_CLOSE not answered"
  drv send --hwnd "$MAIN" --msg "$WM_SYSCOMMAND" --wparam "$SC_CLOSE" >/dev/null ||
    fail "$when: SC_CLOSE not answered"
  result=$(drv send --hwnd "$MAIN" --msg "$WM_QUERYENDSESSION") ||
    fail "$when: WM_QUERYENDSESSION not answered"
  [[ $result == 0 ]] || fail "$when: the session-end query (shut-down) was answered $result, not FALSE"
  result=$(drv send --hwnd "$MAIN" --msg "$WM_QUERYENDSESSION" --lparam "$ENDSESSION_LOGOFF") ||
    fail "$when: WM_QUERYENDSESSION not answered"
  [[ $result == 0 ]] || fail "$when: the session-end query (log-off) was answered $result, not FALSE"
  # A close that went ahead would show now: the process ends with its window.
  sleep 0.5
  shell_running || fail "$when: Pallix ended after a close request"
  shell_expect_state "$MAIN" "$when: main window after the close requests" "visible=$visible"
  [[ $(drv client-rect --hwnd "$MAIN") == "$place" ]] ||
    fail "$when: the window moved from $place to $(drv client-rect --hwnd "$MAIN")"
}

expect_refused "window shown" 1
drv send --hwnd "$TRAY" --msg "$TRAY_CALLBACK" --wparam 1 --lparam "$TRAY_DOUBLE_CLICK" >/dev/null ||
  fail "the icon's double-click was not answered"
shell_expect_state "$MAIN" "main window after a double-click on the icon" visible=0
expect_refused "window hidden" 0

# Shown again: a new activation, which takes the next item off.
drv send --hwnd "$TRAY" --msg "$TRAY_CALLBACK" --wparam 1 --lparam "$TRAY_DOUBLE_CLICK" >/dev/null ||
  fail "the icon's double-click was not answered"
shell_expect_state "$MAIN" "main window after the second double-click" visible=1
after_second=$(shell_popup_height "$MAIN")

echo "window menu heights: untouched $full_menu, after one activation $after_first," \
  "after two $after_second"
((after_first < full_menu)) || fail "the first activation left the window menu whole"
((after_second < after_first)) || fail "the second activation took no item off the window menu"
# The menu ends in a text item (Close on Windows, About Wine on Wine) below
# a separator, and a text item is taller than a separator: taken from the
# end, the first step is the taller one.
((full_menu - after_first > after_first - after_second)) ||
  fail "the steps do not match the last text item, then the separator above it"
echo "Close requests refused with the window shown and hidden; each activation shortened the window menu"

#!/usr/bin/env bash
# Helpers of the application-shell tests, sourced after harness.sh and
# wine_test_begin: Pallix started in a fresh folder of its own, its windows
# and controls looked at from outside, its tray icon and Wine's tray window,
# and pixels of screenshots.

# The icon's callback message and the mouse messages it carries.
# shellcheck disable=SC2034 # for the tests that source this file
readonly TRAY_CALLBACK=512
readonly TRAY_DOUBLE_CLICK=515 TRAY_RIGHT_DOWN=516

# shell_new_folder NAME: a fresh folder WINE_WORK/NAME with a copy of
# pallix.exe in it, and nothing else; sets PALLIX_DIR.
shell_new_folder() {
  PALLIX_DIR="$WINE_WORK/$1"
  mkdir -p "$PALLIX_DIR"
  cp "$PALLIX_WIN64_DIR/pallix.exe" "$PALLIX_DIR/"
}
# shell_start_pallix: starts Pallix in PALLIX_DIR; sets PALLIX_PID.
shell_start_pallix() {
  [[ -d $PALLIX_DIR ]] || fail "shell_new_folder first"
  wine_start "$PALLIX_DIR" pallix.exe
  PALLIX_PID=$WINE_PID
}

# shell_wait_main MILLISECONDS: waits for the main window to be shown; sets
# MAIN.
shell_wait_main() {
  local found
  found=$(drv wait-window --class PallixMain --visible --timeout-ms "$1") ||
    fail "Pallix's main window was not shown"
  MAIN=${found%% *}
}

# shell_tray_window: sets TRAY to the window that receives the icon's
# messages (a message-only window, out of reach of EnumWindows).
shell_tray_window() {
  local found
  found=$(drv wait-window --message-only --class PallixTray --timeout-ms 10000) ||
    fail "Pallix has no icon window of class PallixTray"
  # shellcheck disable=SC2034 # for the tests that source this file
  TRAY=${found%% *}
}

# shell_child TEXT: the main window's direct child with that text.
shell_child() {
  drv find-child --parent "$MAIN" --text "$1" || fail "no control \"$1\" on the main window"
}

# shell_expect_state HWND WHAT KEY=VALUE...: each pair appears in the
# driver's state of HWND (within a few seconds: a change made by a handler
# that is still running shows when it is done).
shell_expect_state() {
  local hwnd=$1 what=$2 state pair missing deadline=$((SECONDS + 5))
  shift 2
  while :; do
    state=$(drv state --hwnd "$hwnd") || fail "$what ($hwnd) is gone"
    missing=""
    for pair in "$@"; do
      [[ " $state " == *" $pair "* ]] || missing+=" $pair"
    done
    [[ -z $missing ]] && return 0
    ((SECONDS < deadline)) || fail "$what: wanted$missing, found $state"
    sleep 0.1
  done
}

# shell_running: Pallix's process is alive (a zombie counts as ended).
shell_running() {
  [[ -e /proc/$PALLIX_PID ]] && [[ $(awk '{ print $3 }' "/proc/$PALLIX_PID/stat") != Z ]]
}

# shell_wait_ended SECONDS: waits for Pallix's process to end; sets
# PALLIX_STATUS to its exit status.
shell_wait_ended() {
  local deadline=$((SECONDS + $1))
  while shell_running; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
  # shellcheck disable=SC2034 # for the tests that source this file
  PALLIX_STATUS=0
  wait "$PALLIX_PID" || PALLIX_STATUS=$?
}

# shell_tray_icons: how many icons Wine's own tray window shows (Wine keeps
# one when the display has no notification area). It hides, or goes, with
# its last icon: then the answer is 0.
shell_tray_icons() {
  local found hwnd
  found=$(drv wait-window --title "Wine System Tray" --visible --timeout-ms 0 2>/dev/null) ||
    {
      echo 0
      return
    }
  hwnd=${found%% *}
  drv children --hwnd "$hwnd" | grep -c . || true
}

# shell_wait_tray_icons N SECONDS: waits until the tray shows N icons.
shell_wait_tray_icons() {
  local want=$1 deadline=$((SECONDS + $2))
  while [[ $(shell_tray_icons) != "$want" ]]; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# shell_popup_height HWND: opens the window menu of HWND as Alt+Space does,
# prints the height of the menu that appears, and closes it again. The
# window menu of another process cannot be read here, but its height
# follows its items.
shell_popup_height() {
  local hwnd=$1 popup top bottom
  # WM_SYSCOMMAND SC_KEYMENU with a blank: the window menu from the keyboard.
  drv post --hwnd "$hwnd" --msg 0x112 --wparam 0xF100 --lparam 32 ||
    fail "could not ask $hwnd for its window menu"
  popup=$(drv wait-window --class '#32768' --visible --timeout-ms 5000) ||
    fail "the window menu of $hwnd did not open"
  read -r _ _ top _ bottom <<<"$popup"
  # Escape ends the menu's own message loop in that window's thread.
  drv post --hwnd "$hwnd" --msg 0x100 --wparam 0x1B >/dev/null
  local tries=0
  while drv wait-window --class '#32768' --visible --timeout-ms 0 >/dev/null 2>&1; do
    ((tries++ < 50)) || fail "the window menu of $hwnd did not close"
    sleep 0.1
  done
  echo $((bottom - top))
}

# shell_px TWIPS DPI: twips to pixels, rounded to the nearest.
shell_px() {
  awk -v t="$1" -v dpi="$2" 'BEGIN { v = t * dpi / 1440; printf "%d\n", (v < 0 ? -int(-v + 0.5) : int(v + 0.5)) }'
}

# shell_pixels IMAGE X,Y...: "R,G,B" of each point, one per line.
shell_pixels() {
  local image=$1 format="" point x y
  shift
  for point in "$@"; do
    x=${point%,*} y=${point#*,}
    format+="%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]\n"
  done
  convert "$image" -format "$format" info:
}

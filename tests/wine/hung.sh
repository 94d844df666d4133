#!/usr/bin/env bash
# A dialog whose program has stopped answering (its user-interface thread
# busy): dragging the picker over it (which reads its message) and
# monitoring it for its message leave Pallix's window and its icon's window
# answering, and once the program wakes up it gets
# the click it was sent.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_hung

# responding WHEN: Pallix's message loop runs: a double-click on its icon,
# posted as the shell does, hides the window and another shows it, each
# within expect_state's five seconds. (Sent messages would not tell: a
# thread waiting on another thread still answers those.)
responding() {
  local tray
  tray=$(drv wait-window --message-only --class PallixTray --timeout-ms 0) || fail "no icon window"
  drv post --hwnd "${tray%% *}" --msg 512 --wparam 1 --lparam 515
  expect_state "$MAIN" "the window $1, after a double-click on the icon" visible=0
  drv post --hwnd "${tray%% *}" --msg 512 --wparam 1 --lparam 515
  expect_state "$MAIN" "the window $1, after another double-click" visible=1
}

# The entry asks for the dialog's message: reading it, at the capture and on
# every tick, must not wait on the hung program either.
mkdir -p "$WINE_LOGS/app"
wine_write_watch_list "$WINE_LOGS/app/default_px.ini" 'Hung dialog[OK]<<#32770>>'
printf 'Message1=Still working\r\n' >>"$WINE_LOGS/app/default_px.ini"
start_pallix app
wait_main
dialog hung dialog --title 'Hung dialog' --button OK --text 'Still working on it' --hang-ms 15000 \
  --timeout-ms 30000
read -r _ left top right bottom < <(drv wait-window --title 'Hung dialog' --visible \
  --timeout-ms 20000) || fail "the dialog did not open"
read -r x y < <(drv rect --hwnd "$(drv children --hwnd "$MAIN" | awk -F'\t' '$3 == 1006 { print $1 }')" |
  awk '{ print int(($1 + $3) / 2), int(($2 + $4) / 2) }') || fail "no picker picture"
xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2 \
  mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) sleep 0.3 \
  mousemove $(((left + right) / 2 + 5)) $(((top + bottom) / 2)) sleep 0.3 mouseup 1
responding "after a drag over the dialog"
COMMAND2=$(child "Enable monitoring")
click "$COMMAND2"
expect_caption "Disable monitoring"
sleep 2
responding "while it monitors the dialog"
expect_end hung button
echo "Pallix kept answering; the dialog got its click once it woke up"

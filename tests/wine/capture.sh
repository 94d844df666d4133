#!/usr/bin/env bash
# From a dialog to its answer, as a user does it, against another program's
# message boxes under one title: a drag from the picker dropped on one box's
# "&No" captures the box with "&No" chosen and its message offered; the
# message shortened with the keyboard and "Add" confirmed, monitoring on
# answers that box at once and leaves alone the box that says something
# else. A second entry answers that one with its own button, and a dialog
# taught by a drop on its fourth button is answered with that button.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_capture

# by_id ID: the main window's control with that id, as Pallix numbers them.
readonly ID_LABEL3=1001 ID_TEXT1=1004 ID_PICTURE2=1006 ID_CMD1=1008 ID_OP1=1011 ID_TEXT6=1025
by_id() { drv children --hwnd "$MAIN" | awk -F'\t' -v id="$1" '$3 == id { print $1; exit }'; }
text_of() { drv text --hwnd "$(by_id "$1")"; }
centre() {
  local left top right bottom
  read -r left top right bottom < <(drv rect --hwnd "$1") || fail "window $1 is gone"
  echo $(((left + right) / 2)) $(((top + bottom) / 2))
}
# open_box NAME TITLE TEXT ARGS...: a dialog of another program; sets BOX.
open_box() {
  local tries=0
  dialog "$1" "${@:4}" --title "$2" --text "$3" --timeout-ms 60000
  until BOX=$(drv wait-window --class '#32770' --title "$2" --visible --timeout-ms 0) &&
    BOX=${BOX%% *} && drv children --hwnd "$BOX" | cut -f4 | grep -qxF "$3"; do
    ((tries++ < 100)) || fail "no dialog \"$2\" says \"$3\""
    sleep 0.2
  done
}
# drop_on BUTTON: a drag from the picker, let go over that button of BOX.
drop_on() {
  local x y step to_x to_y button
  button=$(drv find-child --parent "$BOX" --text "$1") || fail "no button \"$1\" on $BOX"
  read -r to_x to_y < <(centre "$button")
  read -r x y < <(centre "$(by_id $ID_PICTURE2)")
  xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $((x + (to_x - x) * step / 6)) $((y + (to_y - y) * step / 6)) sleep 0.1
  done
  xdotool sleep 0.5 mouseup 1 sleep 0.5
}
# expect_capture TITLE OFFERED CHOSEN MESSAGE: the main window after a drop.
expect_capture() {
  local offered
  [[ $(drv text --hwnd "$MAIN") == "$(printf '%X' "$BOX")" && $(text_of $ID_TEXT1) == "$1" ]] ||
    fail "the caption and Text1 read \"$(drv text --hwnd "$MAIN")\", \"$(text_of $ID_TEXT1)\""
  offered=$(for i in 0 1 2; do text_of $((ID_CMD1 + i)); done | paste -sd'|')
  [[ $offered == "$2" ]] || fail "the chooser offers $offered"
  # BM_GETCHECK
  [[ $(drv send --hwnd "$(by_id $((ID_OP1 + $3)))" --msg 240) == 1 ]] ||
    fail "the button let go over is not the one chosen"
  [[ $(text_of $ID_TEXT6) == "$4" ]] || fail "\"When it says:\" reads \"$(text_of $ID_TEXT6)\""
}
# add NAME: "Add" confirmed in dark green text where Label3 is (screenshot NAME).
add() {
  local label left top right bottom tries=0
  click "$(child Add)"
  label=$(by_id $ID_LABEL3)
  until [[ $(drv text --hwnd "$label") == "Added. Answered from now on." ]]; do
    ((tries++ < 25)) || fail "Label3 reads \"$(drv text --hwnd "$label")\""
    sleep 0.2
  done
  read -r left top right bottom < <(drv rect --hwnd "$label")
  shot "$1"
  convert "$ARTIFACTS/$1.png" -crop $((right - left))x$((bottom - top))+$left+$top +repage \
    -format %c histogram:info:- | grep -q '#006400' || fail "no dark green text where Label3 is"
}
# switch CAPTION: Command2 pressed (a real click is the monitor journey's),
# showing CAPTION afterwards.
switch() {
  drv click-button --parent "$MAIN" --text "$(drv text --hwnd "$COMMAND2")" >/dev/null
  expect_caption "$1"
}

start_pallix app 'Other dialog[OK]<<#32770>>'
wait_main
COMMAND2=$(child "Enable monitoring")
open_box delete Generic 'Delete all objects?' box --type yesno
delete_box=$BOX
open_box save Generic 'Save changes to part1.3dm?' box --type yesnocancel
drop_on "&No"
expect_capture Generic "&Yes|&No|Cancel" 1 "Save changes to part1.3dm?"
shot wine_capture-chooser

# Shortened to the part that stays the same, with the keyboard.
click "$(by_id $ID_TEXT6)"
xdotool key End sleep 0.1 key --repeat 11 --delay 30 BackSpace sleep 0.3
[[ $(text_of $ID_TEXT6) == "Save changes to" ]] || fail "the message reads \"$(text_of $ID_TEXT6)\""
add wine_capture-added
[[ $(tr -d '\r' <"$PALLIX_DIR/default_px.ini") == $'[WindowTitles]\nNum_Windows=2
Title1=Other dialog[OK]<<#32770>>\nMessage2=Save changes to\nTitle2=Generic[&No]<<#32770>>' ]] ||
  fail "the file holds:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"

# Answered at once, without a restart; the other box of the title stays.
switch "Disable monitoring"
expect_end save no
sleep 1.5
[[ $(drv exists --hwnd "$delete_box") == yes ]] || fail "the box that says otherwise was answered"

# A second entry of that title, for the other message.
switch "Enable monitoring"
BOX=$delete_box
drop_on "&Yes"
expect_capture Generic "&Yes|&No|" 0 "Delete all objects?"
add wine_capture-added-second
switch "Disable monitoring"
expect_end delete yes

# A five-button dialog, taught by a drop on its fourth button.
switch "Enable monitoring"
open_box five 'Replace files' 'Replace part1.3dm?' dialog --button 'Yes|Yes to All|No|No to All|Cancel'
drop_on "No to All"
expect_capture "Replace files" "Yes|Yes to All|No to All" 2 "Replace part1.3dm?"
add wine_capture-added-fifth
switch "Disable monitoring"
expect_end five button4

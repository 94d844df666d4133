#!/usr/bin/env bash
# From a dialog to its answer, as a user does it, against another program's
# message boxes that share one title: a drag from the picker onto the "&No"
# button of one of them (its handle in the caption while dragging) captures
# the box, offers its buttons with "&No" chosen and its message in
# "When it says:"; the message shortened with the keyboard and "Add"
# confirmed, monitoring on answers that box at once, and leaves alone the
# box of that title that says something else. A second entry for that box
# answers it with its own button, and a dialog taught by a drop onto its
# fourth button is answered with that button.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_capture

# by_id ID: the main window's control with that id, as Pallix numbers them.
readonly ID_LABEL3=1001 ID_TEXT1=1004 ID_PICTURE2=1006 ID_CMD1=1008 ID_OP1=1011 ID_TEXT6=1025
readonly BM_GETCHECK=240
by_id() { drv children --hwnd "$MAIN" | awk -F'\t' -v id="$1" '$3 == id { print $1; exit }'; }
centre() {
  local left top right bottom
  read -r left top right bottom < <(drv rect --hwnd "$1") || fail "window $1 is gone"
  echo $(((left + right) / 2)) $(((top + bottom) / 2))
}
# open_box NAME TITLE TEXT ARGS...: a box of another program; sets BOX.
open_box() {
  dialog "$1" "${@:4}" --title "$2" --text "$3" --timeout-ms 60000
  local found tries=0
  found=$(drv wait-window --class '#32770' --title "$2" --visible --timeout-ms 20000) ||
    fail "the dialog \"$3\" did not open"
  BOX=${found%% *}
  # Two boxes of one title: wait for this one, the last opened, on top.
  until drv children --hwnd "$BOX" | cut -f4 | grep -qxF "$3"; do
    ((tries++ < 50)) || fail "no box of the title \"$2\" says \"$3\""
    sleep 0.2
    found=$(drv wait-window --class '#32770' --title "$2" --visible --timeout-ms 0) && BOX=${found%% *}
  done
}

# drag_to X Y: press on the picker, move in steps to X Y, hold there.
drag_to() {
  local x y step
  read -r x y < <(centre "$(by_id $ID_PICTURE2)")
  xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $((x + ($1 - x) * step / 6)) $((y + ($2 - y) * step / 6)) sleep 0.1
  done
  sleep 0.5
}
# drop_on BUTTON_TEXT: a drag let go over that button of BOX.
drop_on() {
  BUTTON=$(drv find-child --parent "$BOX" --text "$1") || fail "no button \"$1\" on $BOX"
  drag_to $(centre "$BUTTON")
  # While dragging, the caption names the window under the pointer.
  [[ $(drv text --hwnd "$MAIN") == "$(printf '%X' "$BUTTON")" ]] ||
    fail "the caption reads \"$(drv text --hwnd "$MAIN")\" over the button $BUTTON"
  xdotool mouseup 1 sleep 0.5
}
# expect_capture TITLE OFFERED CHOSEN MESSAGE: what the main window shows
# after a drop on BOX.
expect_capture() {
  local offered i
  [[ $(drv text --hwnd "$MAIN") == "$(printf '%X' "$BOX")" ]] ||
    fail "the caption reads \"$(drv text --hwnd "$MAIN")\", not the box $BOX"
  [[ $(drv text --hwnd "$(by_id $ID_TEXT1)") == "$1" ]] || fail "Text1 does not show \"$1\""
  offered=$(for i in 0 1 2; do drv text --hwnd "$(by_id $((ID_CMD1 + i)))"; done | paste -sd'|')
  [[ $offered == "$2" ]] || fail "the chooser offers $offered"
  [[ $(drv send --hwnd "$(by_id $((ID_OP1 + $3)))" --msg $BM_GETCHECK) == 1 ]] ||
    fail "the button let go over is not the one chosen"
  [[ $(drv text --hwnd "$(by_id $ID_TEXT6)") == "$4" ]] ||
    fail "\"When it says:\" reads \"$(drv text --hwnd "$(by_id $ID_TEXT6)")\""
}
# expect_label TEXT NAME COLOUR: Label3 shows TEXT, and the screenshot NAME
# has text of that colour (#RRGGBB) where Label3 is.
expect_label() {
  local label left top right bottom
  label=$(by_id $ID_LABEL3)
  expect_state "$label" "Label3" visible=1
  [[ $(drv text --hwnd "$label") == "$1" ]] || fail "Label3 reads \"$(drv text --hwnd "$label")\""
  read -r left top right bottom < <(drv rect --hwnd "$label")
  shot "$2"
  convert "$ARTIFACTS/$2.png" -crop $((right - left))x$((bottom - top))+$left+$top +repage \
    -format %c histogram:info:- | grep -q "$3" || fail "no $3 text where Label3 is"
}
add() {
  click "$(child Add)"
  sleep 0.5
  expect_label "Added. Answered from now on." "$1" '#006400'
}
switch() {
  click "$COMMAND2"
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
echo "dropped on &No: the box captured, &No chosen, its message offered"

# Shortened to the part that stays the same, with the keyboard.
click "$(by_id $ID_TEXT6)"
xdotool key End sleep 0.1 key --repeat 11 --delay 30 BackSpace sleep 0.3
[[ $(drv text --hwnd "$(by_id $ID_TEXT6)") == "Save changes to" ]] ||
  fail "the shortened message reads \"$(drv text --hwnd "$(by_id $ID_TEXT6)")\""
add wine_capture-added
[[ $(tr -d '\r' <"$PALLIX_DIR/default_px.ini") == $'[WindowTitles]\nNum_Windows=2
Title1=Other dialog[OK]<<#32770>>\nMessage2=Save changes to\nTitle2=Generic[&No]<<#32770>>' ]] ||
  fail "the file holds:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"

# Answered at once, without a restart; the other box of the title stays.
switch "Disable monitoring"
expect_end save no
sleep 1.5
[[ $(drv exists --hwnd "$delete_box") == yes ]] || fail "the box that says otherwise was answered"
echo "the box that says \"Save changes to\" answered with No at once; \"Delete all\" left alone"

# A second entry of that title, for the other message.
switch "Enable monitoring"
BOX=$delete_box
drop_on "&Yes"
expect_capture Generic "&Yes|&No|" 0 "Delete all objects?"
add wine_capture-added-second
switch "Disable monitoring"
expect_end delete yes

# A five-button dialog, taught by a drop onto its fourth button.
switch "Enable monitoring"
open_box five 'Replace files' 'Replace part1.3dm?' dialog --button 'Yes|Yes to All|No|No to All|Cancel'
drop_on "No to All"
expect_capture "Replace files" "Yes|Yes to All|No to All" 2 "Replace part1.3dm?"
add wine_capture-added-fifth
switch "Disable monitoring"
expect_end five button4

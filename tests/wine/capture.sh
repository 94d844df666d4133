#!/usr/bin/env bash
# From a dialog to its answer, as a user does it: a first drag let go over
# the message box's text, which "Add" refuses, saying why, with the file
# unchanged; then a drag from the picker onto another program's message box
# (the red frame and the box's handle show while dragging), its second
# button chosen, "Add" confirmed; then quit from the tray, start again,
# switch monitoring on, and the box is answered with that button.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_capture

# by_id ID: the main window's control with that id, as Pallix numbers them.
readonly ID_LABEL3=1001 ID_TEXT1=1004 ID_PICTURE2=1006 ID_CMD1=1008 ID_OP1=1011
by_id() { drv children --hwnd "$MAIN" | awk -F'\t' -v id="$1" '$3 == id { print $1; exit }'; }
centre() {
  local left top right bottom
  read -r left top right bottom < <(drv rect --hwnd "$1") || fail "window $1 is gone"
  echo $(((left + right) / 2)) $(((top + bottom) / 2))
}

start_pallix app 'Other dialog[OK]<<#32770>>'
wait_main
dialog first box --title 'Save drawing' --type yesnocancel --timeout-ms 60000
read -r box left top right bottom < <(drv wait-window --class '#32770' --title 'Save drawing' \
  --visible --timeout-ms 20000) || fail "the message box did not open"

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

# Let go over the box's text: a control the monitor could never find.
text=$(drv children --hwnd "$box" | awk -F'\t' '$2 == "Static" && $4 != "" { print $1; exit }')
drag_to $(centre "$text")
xdotool mouseup 1 sleep 0.5
before=$(cat "$PALLIX_DIR/default_px.ini")
click "$(child Add)"
expect_label "Let go over the dialog's title bar. NOT added!" wine_capture-refused '#FF0000'
[[ $(cat "$PALLIX_DIR/default_px.ini") == "$before" ]] || fail "the refused Add changed the file"
echo "let go over the box's text: Add refused, the reason in Label3, the file unchanged"

# Onto the box's caption bar.
to_x=$(((left + right) / 2)) to_y=$((top + 8))
drag_to "$to_x" "$to_y"
shot wine_capture-dragging
mid=$(((top + bottom) / 2))
[[ $(pixels "$ARTIFACTS/wine_capture-dragging.png" "$left,$mid" "$((right - 1)),$mid" \
  "$to_x,$((bottom - 1))") == $'255,0,0\n255,0,0\n255,0,0' ]] ||
  fail "no red frame round the box while dragging over it"
# The handle in upper-case hexadecimal, without prefix or leading zeros.
[[ $(drv text --hwnd "$MAIN") == "$(printf '%X' "$box")" ]] ||
  fail "the caption reads \"$(drv text --hwnd "$MAIN")\" over the box $box"
xdotool mouseup 1 sleep 0.5

[[ $(drv text --hwnd "$(by_id $ID_TEXT1)") == "Save drawing" ]] ||
  fail "Text1 does not show the captured title"
offered=$(for i in 0 1 2; do drv text --hwnd "$(by_id $((ID_CMD1 + i)))"; done | paste -sd'|')
[[ $offered == "&Yes|&No|Cancel" ]] || fail "the chooser offers $offered"
click "$(by_id $((ID_OP1 + 1)))"
click "$(child Add)"
sleep 0.5
expect_label "Added. Answered from the next start on." wine_capture-added '#006400'
[[ $(tr -d '\r' <"$PALLIX_DIR/default_px.ini") == $'[WindowTitles]\nNum_Windows=2
Title1=Other dialog[OK]<<#32770>>\nTitle2=Save drawing[&No]<<#32770>>' ]] ||
  fail "the file holds:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"
echo "captured by drag; stored $(tail -n 1 "$PALLIX_DIR/default_px.ini")"

# The new entry is watched from the next start on, and the box still open
# is answered with the chosen button.
restart_monitoring
expect_end first no
dialog again box --title 'Save drawing' --type yesnocancel --timeout-ms 10000
expect_end again no

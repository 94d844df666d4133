#!/usr/bin/env bash
# From a dialog to its answer, as a user does it, against another program's
# message boxes under one title: a drag from the picker dropped on one box's
# "&No" captures the box with "&No" chosen and its message offered; the
# message shortened with the keyboard and "Add" confirmed, monitoring on
# answers that box at once and leaves alone the box that says something
# else, and the same box of another program. A second entry answers that
# one with its own button, and a dialog taught by a drop on its fourth
# button is answered with that button.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_capture

# add NAME: "Add" confirmed in dark green text where Label3 is (screenshot NAME).
add() {
  local label left top right bottom
  click "$(child Add)"
  expect_label3 "Added. Answered as soon as monitoring is on."
  label=$(by_id $ID_LABEL3)
  read -r left top right bottom < <(drv rect --hwnd "$label") || fail "Label3 $label is gone"
  shot "$1"
  convert "$ARTIFACTS/$1.png" -crop $((right - left))x$((bottom - top))+$left+$top +repage \
    -format %c histogram:info:- | grep -q '#006400' || fail "no dark green text where Label3 is"
}

start_pallix app 'Other dialog[OK]<<#32770>>'
wait_main
COMMAND2=$(child "Enable monitoring")
open_box delete Generic 'Delete all objects?' box --type yesno
delete_box=$BOX
open_box save Generic 'Save changes to part1.3dm?' box --type yesnocancel
drop_on "&No"
expect_capture Generic "&Yes|&No|Cancel" 1 "Save changes to part1.3dm?"
[[ $(text_of $ID_CHECK1) == "Only from pallix_dialogs.exe" &&
  $(drv send --hwnd "$(by_id $ID_CHECK1)" --msg 240) == 1 ]] ||
  fail "the program offered reads \"$(text_of $ID_CHECK1)\", ticked or not"
shot wine_capture-chooser

# Shortened to the part that stays the same, with the keyboard.
click "$(by_id $ID_TEXT6)"
xdotool key End sleep 0.1 key --repeat 11 --delay 30 BackSpace sleep 0.3
[[ $(text_of $ID_TEXT6) == "Save changes to" ]] || fail "the message reads \"$(text_of $ID_TEXT6)\""
add wine_capture-added
[[ $(tr -d '\r' <"$PALLIX_DIR/default_px.ini") == $'[WindowTitles]\nNum_Windows=2
Title1=Other dialog[OK]<<#32770>>\nMessage2=Save changes to\nProgram2=pallix_dialogs.exe
Title2=Generic[&No]<<#32770>>' ]] ||
  fail "the file holds:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"

# The same box from another program: the dialog program copied under
# another name.
cp "$PALLIX_EXE_DIR/pallix_dialogs.exe" "$WINE_LOGS/other_dialogs.exe"
DIALOGS=$WINE_LOGS/other_dialogs.exe open_box copy Generic 'Save changes to part1.3dm?' box \
  --type yesnocancel
copy_box=$BOX

# Answered at once, without a restart; the box that says something else,
# and the other program's box, stay.
switch "Disable monitoring"
expect_end save no
sleep 1.5
[[ $(drv exists --hwnd "$delete_box") == yes ]] || fail "the box that says otherwise was answered"
[[ $(drv exists --hwnd "$copy_box") == yes ]] || fail "another program's box was answered"
drv click-button --parent "$copy_box" --text Cancel >/dev/null
expect_end copy cancel

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

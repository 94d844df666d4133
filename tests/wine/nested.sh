#!/usr/bin/env bash
# Dialogs of another program laid out as Windows and Windows Forms lay them
# out, their buttons in hosts and panels below the dialog: a TaskDialog is
# answered; a Windows Forms dialog is answered by its message, read from a
# label inside a panel, while one of its title that says something else is
# left alone; a drop on a TaskDialog's nested button teaches that button,
# and the dialog, still open, is answered once monitoring is on; a title
# beyond the code page is refused with its reason, the file left as it was.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_nested

readonly FORMS=WindowsForms10.Window.8.app.0.pallix_bench
mkdir -p "$WINE_LOGS/app"
wine_write_watch_list "$WINE_LOGS/app/default_px.ini" 'Confirm Save As[&Yes]<<#32770>>' \
  "Forms box[OK]<<$FORMS>>"
printf 'Message2=Replace part1\r\n' >>"$WINE_LOGS/app/default_px.ini"
start_pallix app
wait_main
COMMAND2=$(child "Enable monitoring")
switch "Disable monitoring"

dialog task dialog --layout taskdialog --title 'Confirm Save As' --button '&Yes|&No' \
  --text 'part1.3dm already exists. Do you want to replace it?' --timeout-ms 10000
dialog other dialog --layout forms --class $FORMS --title 'Forms box' --button 'OK|Cancel' \
  --text 'Delete everything?' --timeout-ms 20000
drv wait-window --class $FORMS --title 'Forms box' --visible --timeout-ms 20000 >/dev/null ||
  fail "the Windows Forms dialog that says something else did not open"
dialog forms dialog --layout forms --class $FORMS --title 'Forms box' --button 'OK|Cancel' \
  --text 'Replace part1.3dm?' --timeout-ms 8000
expect_end task button
expect_end forms button
drv wait-window --class $FORMS --title 'Forms box' --visible --timeout-ms 0 >/dev/null ||
  fail "the dialog that says something else closed before the other was answered"
expect_end other none

# Taught with monitoring off, by a drop on the second button's host's
# button; the TaskDialog draws its text itself, so it has no message.
switch "Enable monitoring"
open_box replace 'Replace files' 'Replace part1.3dm?' dialog --layout taskdialog \
  --button '&Yes|&No'
drop_on "&No"
expect_capture 'Replace files' "&Yes|&No|" 1 ""
click "$(child Add)"
expect_label3 "Added. Answered as soon as monitoring is on."
[[ $(tr -d '\r' <"$PALLIX_DIR/default_px.ini") == $'[WindowTitles]\nNum_Windows=3
Title1=Confirm Save As[&Yes]<<#32770>>\nTitle2=Forms box[OK]<<'$FORMS$'>>
Message2=Replace part1\nProgram3=pallix_dialogs.exe\nTitle3=Replace files[&No]<<#32770>>' ]] ||
  fail "the file holds:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"
switch "Disable monitoring"
expect_end replace button2

# "模型 Model" reads "?? Model" in the code page, and no look-up by that
# title would find it.
switch "Enable monitoring"
dialog wide dialog --title '\u6A21\u578B Model' --button OK --timeout-ms 60000
BOX=$(drv wait-window --class '#32770' --title '?? Model' --visible --timeout-ms 20000) ||
  fail "the dialog with a title beyond the code page did not open"
BOX=${BOX%% *}
drop_on OK
before=$(cat "$PALLIX_DIR/default_px.ini")
click "$(child Add)"
expect_label3 "The title has characters this system cannot store. NOT added!"
shot wine_nested-refused
[[ $(cat "$PALLIX_DIR/default_px.ini") == "$before" ]] ||
  fail "the file changed:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"
drv click-button --parent "$BOX" --text OK >/dev/null
expect_end wide button
echo "TaskDialog and Windows Forms dialogs answered and taught; a title beyond the code page refused"

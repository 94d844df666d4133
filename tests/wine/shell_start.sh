#!/usr/bin/env bash
# Start-up as the user meets it. In a folder without any INI file: first the
# message that nothing is set up, while the main window is still hidden;
# then, with the window shown, the offer to create default_px.ini, answered
# Yes in one run and No in another. In a folder with two INI files: no
# question, and the first of them by name is the one chosen and loaded.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
# shellcheck source-path=SCRIPTDIR source=shell_lib.sh
source "$(dirname "$0")/shell_lib.sh"
wine_test_begin wine_shell_start

readonly nothing_set_up="There is no windows set up  for control"
# As the driver writes it: CR and LF escaped.
readonly create_question='There is no default_px.ini file in the path!\r\nDo you want to create it?'

# expect_box TITLE TEXT BUTTONS: a message box with that title, text and
# buttons (their texts, blank-separated) is shown; sets BOX.
expect_box() {
  local title=$1 text=$2 buttons=$3 found children
  found=$(drv wait-window --class '#32770' --title "$title" --visible --timeout-ms 30000) ||
    fail "no message box titled \"$title\" appeared"
  BOX=${found%% *}
  children=$(drv children --hwnd "$BOX") || fail "message box $BOX vanished"
  want=$text awk -F'\t' '$2 == "Static" && $4 == ENVIRON["want"] { found = 1 }
    END { exit !found }' <<<"$children" ||
    fail "the box \"$title\" does not say \"$text\"; its children:"$'\n'"$children"
  local have
  have=$(awk -F'\t' '$2 == "Button" { printf "%s%s", sep, $4; sep = " " }' <<<"$children")
  [[ $have == "$buttons" ]] || fail "the box \"$title\" has the buttons \"$have\", not \"$buttons\""
}

# wait_box_gone: the box BOX has closed.
wait_box_gone() {
  local tries=0
  while drv exists --hwnd "$BOX" >/dev/null; do
    ((tries++ < 100)) || fail "message box $BOX did not close"
    sleep 0.05
  done
}

# The start in an empty folder up to the question; sets MAIN and BOX.
start_in_empty_folder() {
  shell_new_folder "$1"
  shell_start_pallix
  expect_box Pallix "$nothing_set_up" OK
  # The message belongs to loading, which comes before the window is shown.
  if drv wait-window --class PallixMain --visible --timeout-ms 0 >/dev/null 2>&1; then
    fail "the main window is shown while the message that nothing is set up is open"
  fi
  drv click-button --parent "$BOX" --text OK >/dev/null || fail "could not press OK"
  expect_box "default_px.ini?" "$create_question" "&Yes &No"
  # Asked on activation, so behind the question the window is shown.
  shell_wait_main 5000
  [[ ! -e $PALLIX_DIR/default_px.ini ]] || fail "default_px.ini exists before the answer"
}

# --- Yes: the default file is created empty, and the buttons that need a
# file are usable.
start_in_empty_folder empty-yes
drv click-button --parent "$BOX" --text '&Yes' >/dev/null || fail "could not press Yes"
wait_box_gone
edit_ini=$(shell_child "Edit ini")
command2=$(shell_child "Enable monitoring")
add=$(shell_child "Add")
create_ini=$(shell_child "Create Ini")
shell_expect_state "$create_ini" '"Create Ini" after Yes' visible=0
shell_expect_state "$edit_ini" '"Edit ini" after Yes' visible=1 enabled=1
shell_expect_state "$command2" '"Enable monitoring" after Yes' visible=1 enabled=1
shell_expect_state "$add" '"Add" after Yes' visible=1 enabled=1
[[ -f $PALLIX_DIR/default_px.ini ]] || fail "Yes did not create default_px.ini"
size=$(stat -c %s "$PALLIX_DIR/default_px.ini")
[[ $size == 0 ]] || fail "the new default_px.ini holds $size bytes, not none"
# The chooser lists the new file at once.
drv children --hwnd "$MAIN" | awk -F'\t' '$2 == "ComboBox" && $4 == "default_px.ini" { ok = 1 }
  END { exit !ok }' || fail "the chooser does not show default_px.ini after Yes"
shell_running || fail "Pallix ended after Yes"
wine_end "$PALLIX_PID"
echo "Yes: default_px.ini created empty, Edit ini, Enable monitoring and Add usable"

# --- No: nothing is created; "Create Ini" covers the chooser and the three
# buttons are disabled. Every later activation asks again.
start_in_empty_folder empty-no
drv click-button --parent "$BOX" --text '&No' >/dev/null || fail "could not press No"
wait_box_gone
edit_ini=$(shell_child "Edit ini")
command2=$(shell_child "Enable monitoring")
add=$(shell_child "Add")
create_ini=$(shell_child "Create Ini")
shell_expect_state "$create_ini" '"Create Ini" after No' visible=1 enabled=1
shell_expect_state "$edit_ini" '"Edit ini" after No' enabled=0
shell_expect_state "$command2" '"Enable monitoring" after No' enabled=0
shell_expect_state "$add" '"Add" after No' enabled=0
files=$(find "$PALLIX_DIR" -mindepth 1 ! -name pallix.exe -printf '%f ')
[[ -z $files ]] || fail "No left files behind: $files"
drv children --hwnd "$MAIN" | awk -F'\t' '$2 == "ComboBox" && $4 == "Combo1" { ok = 1 }
  END { exit !ok }' || fail "with no file the chooser should keep its text Combo1"

shell_tray_window
drv send --hwnd "$TRAY" --msg "$TRAY_CALLBACK" --wparam 1 --lparam "$TRAY_DOUBLE_CLICK" >/dev/null ||
  fail "the icon's double-click was not answered"
shell_expect_state "$MAIN" "main window after a double-click on the icon" visible=0
# Posted: showing the window asks again, and the question is modal.
drv post --hwnd "$TRAY" --msg "$TRAY_CALLBACK" --wparam 1 --lparam "$TRAY_DOUBLE_CLICK" ||
  fail "could not double-click the icon"
expect_box "default_px.ini?" "$create_question" "&Yes &No"
drv click-button --parent "$BOX" --text '&No' >/dev/null || fail "could not press No again"
wait_box_gone
shell_expect_state "$create_ini" '"Create Ini" after the second No' visible=1
wine_end "$PALLIX_PID"
echo "No: nothing created, Create Ini shown, three buttons disabled, asked again when shown again"

# --- Two INI files: no message and no question; alpha.ini, first by name,
# is chosen and loaded rather than the default file.
shell_new_folder two-files
wine_write_watch_list "$PALLIX_DIR/alpha.ini" 'Save changes[&Yes]<<#32770>>'
wine_write_watch_list "$PALLIX_DIR/default_px.ini" 'One[OK]<<#32770>>' 'Two[OK]<<#32770>>'
shell_start_pallix
shell_wait_main 30000
# A question would come with the activation that showing the window starts.
sleep 1
if box=$(drv wait-window --class '#32770' --visible --timeout-ms 0 2>/dev/null); then
  fail "a box appeared although the folder has INI files: $(drv text --hwnd "${box%% *}")"
fi
children=$(drv children --hwnd "$MAIN")
chosen=$(awk -F'\t' '$2 == "ComboBox" { print $4; exit }' <<<"$children")
[[ $chosen == alpha.ini ]] || fail "the chooser shows \"$chosen\", not alpha.ini"
# The hidden count box holds the number of entries loaded: alpha.ini has
# one, default_px.ini two.
awk -F'\t' '$2 == "Edit" && $4 == "1" { one = 1 } $2 == "Edit" && $4 == "2" { two = 1 }
  END { exit !(one && !two) }' <<<"$children" ||
  fail "the loaded count is not alpha.ini's; children:"$'\n'"$children"
shell_expect_state "$(shell_child "Create Ini")" '"Create Ini" with files' visible=0
for name in "Edit ini" "Enable monitoring" "Add"; do
  shell_expect_state "$(shell_child "$name")" "\"$name\" with files" visible=1 enabled=1
done
echo "alpha.ini and default_px.ini: no question, alpha.ini chosen and loaded"

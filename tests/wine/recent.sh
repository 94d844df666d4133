#!/usr/bin/env bash
# Teaching from what Pallix has seen, by the keyboard: another program's box
# answered by hand twice shows in "Recent dialogs" (from the icon's menu)
# once, seen twice, with its program and its message; Enter teaches it, the
# Down arrow chooses "&No", Tab and Space press Add, and the entry is in the
# file. Opened again with monitoring on, the box is answered with No, and
# the window, still open, shows it answered. Its picture is kept.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_recent

start_pallix app 'Answer with OK[OK]<<#32770>>'
wait_main
COMMAND2=$(child "Enable monitoring")
for answer in no yes; do
  open_box "$answer" "Delete file" "Delete report.txt?" box --type yesno
  answer "&${answer^}"
  expect_end "$answer" "$answer"
done

tray_menu
menu_choose "$MENU_RECENT"
RECENT=$(drv wait-window --title "Pallix - recent dialogs" --visible --timeout-ms 10000) ||
  fail "\"Recent dialogs\" in the icon's menu opened no window"
RECENT=${RECENT%% *}
LIST=$(drv children --hwnd "$RECENT" | awk -F'\t' '$2 == "SysListView32" { print $1 }')
# expect_row ROW: the list's one row (chosen or not, then its cells joined
# by "|", a time of today as a pattern) within a few seconds.
expect_row() {
  local got deadline=$((SECONDS + 5))
  # shellcheck disable=SC2053 # the time is matched as a pattern
  until got=$(drv table --hwnd "$LIST" | cut -f2- | tr '\t' '|') && [[ $got == $1 ]]; do
    ((SECONDS < deadline)) || fail "the recent dialogs are:"$'\n'"$got"$'\n'"not: $1"
    sleep 0.2
  done
}
# row SEEN ANSWERED: the box's row.
row() {
  echo "1|[0-2][0-9]:[0-5][0-9]:[0-5][0-9]|$1|pallix_dialogs.exe|Delete file|Delete report.txt?|\
&Yes (default), &No|$2"
}
expect_row "$(row 2 "")"
read -r left top right bottom < <(drv rect --hwnd "$RECENT") || fail "the window is gone"
shot "$JOURNEY-window"
convert "$ARTIFACTS/$JOURNEY-window.png" -crop "$((right - left))x$((bottom - top))+$left+$top" \
  +repage "$ARTIFACTS/recent-dialogs.png"

# From here on, the keyboard alone: Enter teaches the chosen row.
xdotool key Return
expect_label3 "Choose the button, then press Add."
checked() { drv send --hwnd "$(by_id $((ID_OP1 + $1)))" --msg 240; } # BM_GETCHECK
taught=$(for id in $ID_TEXT1 $ID_TEXT6 $ID_CHECK1 $ID_CMD1 $((ID_CMD1 + 1)); do text_of "$id"; done |
  paste -sd'|')
[[ $taught == "Delete file|Delete report.txt?|Only from pallix_dialogs.exe|&Yes|&No" &&
  $(checked 0) == 1 ]] || fail "Teach filled $taught, the first chosen: $(checked 0)"
xdotool key Down
for ((tries = 0; $(checked 1) != 1; tries++)); do
  ((tries < 25)) || fail "the Down arrow did not choose \"&No\""
  sleep 0.2
done
xdotool key Tab sleep 0.2 key space
expect_label3 "Added. Answered as soon as monitoring is on."
[[ $(tr -d '\r' <"$PALLIX_DIR/default_px.ini") == $'[WindowTitles]\nNum_Windows=2
Title1=Answer with OK[OK]<<#32770>>\nMessage2=Delete report.txt?\nProgram2=pallix_dialogs.exe
Title2=Delete file[&No]<<#32770>>' ]] ||
  fail "default_px.ini after Add:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"

# Monitoring on, the box is answered as taught, and the window says so.
click "$COMMAND2"
expect_caption "Disable monitoring"
dialog third box --title "Delete file" --text "Delete report.txt?" --type yesno --timeout-ms 10000
expect_end third no
expect_row "$(row 3 "&No")"
echo "a box answered by hand twice was taught from Recent dialogs by the keyboard, and answered"

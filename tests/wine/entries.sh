#!/usr/bin/env bash
# The entries in view, worked as a user would: the list under the
# monitoring switch shows the file's entries; an answered box counts on its
# row; a row chosen with the mouse goes with "Remove" and Yes, and the Del
# key asks the same question; a save of the file by another program shows
# in the list within a second or two and is answered at once. The window
# with its list and a few answers counted is kept among the artifacts.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_entries

# Two of the entries bound to the program the boxes come from.
mkdir -p "$WINE_LOGS/app"
wine_write_watch_list "$WINE_LOGS/app/default_px.ini" 'Answer with Yes[&Yes]<<#32770>>' \
  'Answer with OK[OK]<<#32770>>' 'Save changes[&Yes]<<#32770>>'
printf 'Program1=pallix_dialogs.exe\r\nProgram3=pallix_dialogs.exe\r\n' \
  >>"$WINE_LOGS/app/default_px.ini"
start_pallix app
wait_main
LIST=$(drv children --hwnd "$MAIN" | awk -F'\t' '$2 == "SysListView32" { print $1 }')
[[ -n $LIST ]] || fail "no list view on the main window"

# A time of today, as "Last" shows it.
readonly TODAY='[0-2][0-9]:[0-5][0-9]:[0-5][0-9]'
# expect_rows ROW...: the list's rows (cells joined by "|", TODAY as a
# pattern) within a few seconds; the counts show at most a second late.
expect_rows() {
  local want got deadline=$((SECONDS + 5))
  want=$(printf '%s\n' "$@")
  # shellcheck disable=SC2053 # TODAY is matched as a pattern
  until got=$(drv table --hwnd "$LIST" | cut -f3- | tr '\t' '|') && [[ $got == $want ]]; do
    ((SECONDS < deadline)) || fail "the list shows:"$'\n'"$got"$'\n'"not:"$'\n'"$want"
    sleep 0.2
  done
}
# pick ROW: a real click on that row (from 1).
pick() {
  local rect
  read -r rect < <(drv table --hwnd "$LIST" | sed -n "$1p" | cut -f1) || fail "the list has no row $1"
  read -r left top right bottom <<<"$rect"
  xdotool mousemove $((left + 20)) $(((top + bottom) / 2)) sleep 0.1 click 1
}

expect_rows 'Answer with Yes|pallix_dialogs.exe||&Yes|0|' 'Answer with OK|||OK|0|' \
  'Save changes|pallix_dialogs.exe||&Yes|0|'
COMMAND2=$(child "Enable monitoring")
REMOVE=$(child "Remove")
expect_state "$REMOVE" "Remove, nothing chosen" enabled=0
click "$COMMAND2"
expect_caption "Disable monitoring"
dialog yes box --title 'Answer with Yes' --type yesnocancel --timeout-ms 10000
expect_end yes yes
dialog again box --title 'Answer with Yes' --type yesnocancel --timeout-ms 10000
expect_end again yes
dialog save box --title 'Save changes' --type yesno --timeout-ms 10000
expect_end save yes
expect_rows "Answer with Yes|pallix_dialogs.exe||&Yes|2|$TODAY" 'Answer with OK|||OK|0|' \
  "Save changes|pallix_dialogs.exe||&Yes|1|$TODAY"
# Made wider with a real drag of its corner, the list reads whole.
read -r left _ right _ < <(drv rect --hwnd "$MAIN") || fail "the main window is gone"
drag_corner 260 0
deadline=$((SECONDS + 5))
until read -r l _ r _ < <(drv rect --hwnd "$MAIN") && ((r - l == right - left + 260)); do
  ((SECONDS < deadline)) ||
    fail "the window is $((r - l)) wide after a drag of 260 from $((right - left))"
  sleep 0.1
done
read -r left top right bottom < <(drv rect --hwnd "$MAIN") || fail "the main window is gone"
shot "$JOURNEY-window"
convert "$ARTIFACTS/$JOURNEY-window.png" -crop "$((right - left))x$((bottom - top))+$left+$top" \
  +repage "$ARTIFACTS/main-window.png"

# Monitoring on locks Remove as it locks Add.
pick 2
expect_state "$REMOVE" "Remove while monitoring" enabled=0
click "$COMMAND2"
expect_caption "Enable monitoring"
expect_state "$REMOVE" "Remove, a row chosen" enabled=1
click "$REMOVE"
expect_box Pallix 'Remove the entry for "Answer with OK"?' "&Yes &No"
answer "&Yes"
expect_rows "Answer with Yes|pallix_dialogs.exe||&Yes|2|$TODAY" \
  "Save changes|pallix_dialogs.exe||&Yes|1|$TODAY"
drv find-child --parent "$MAIN" --text "Removed." >/dev/null || fail "Label3 does not say Removed."
# The entry's line gone, the next one renumbered with its program, the
# count one less, and nothing else.
[[ $(tr -d '\r' <"$PALLIX_DIR/default_px.ini") == $'[WindowTitles]\nNum_Windows=2
Title1=Answer with Yes[&Yes]<<#32770>>\nTitle2=Save changes[&Yes]<<#32770>>
Program1=pallix_dialogs.exe\nProgram2=pallix_dialogs.exe' ]] ||
  fail "default_px.ini after Remove:"$'\n'"$(cat "$PALLIX_DIR/default_px.ini")"

pick 2
xdotool key Delete
expect_box Pallix 'Remove the entry for "Save changes"?' "&Yes &No"
answer "&No"
expect_rows "Answer with Yes|pallix_dialogs.exe||&Yes|2|$TODAY" \
  "Save changes|pallix_dialogs.exe||&Yes|1|$TODAY"

# Another program saves the file, with monitoring on.
click "$COMMAND2"
expect_caption "Disable monitoring"
wine_write_watch_list "$PALLIX_DIR/default_px.ini.part" 'Save changes[&Yes]<<#32770>>' \
  'Written by hand[OK]<<#32770>>'
printf 'Program1=pallix_dialogs.exe\r\n' >>"$PALLIX_DIR/default_px.ini.part"
mv "$PALLIX_DIR/default_px.ini.part" "$PALLIX_DIR/default_px.ini"
expect_rows "Save changes|pallix_dialogs.exe||&Yes|1|$TODAY" 'Written by hand|||OK|0|'
dialog hand box --title 'Written by hand' --type okcancel --timeout-ms 10000
expect_end hand ok
echo "the list shows the entries and their answers; Remove, Del and a save by hand change it"

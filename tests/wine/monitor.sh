#!/usr/bin/env bash
# Pallix answers the message boxes of another program: switched on with a
# real click on its button, it presses in each watched box the button that
# its entry names, and leaves alone a box whose title is spaced otherwise
# (other look-alikes are tried in-process). Each answer is a line of
# pallix.log, which "Answer log" in the real tray menu opens in the editor.
# Switched off from the tray menu, it answers nothing.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_monitor

# The buttons' texts as the system's message boxes write them.
start_pallix app 'Answer with Yes[&Yes]<<#32770>>' 'Answer with No[&No]<<#32770>>' \
  'Answer with Cancel[Cancel]<<#32770>>' 'Answer with OK[OK]<<#32770>>' \
  'Save changes[&Yes]<<#32770>>'
# The test program stands in for the editor: it writes its command line to
# launched.txt.
cp "$PALLIX_BUILD_DIR/pallix_tests.exe" "$PALLIX_DIR/notepad.exe"
wait_main
# Before any answer, "Answer log" says so instead of opening an empty file.
tray_menu
menu_choose "$MENU_LOG"
expect_box Pallix "No dialog has been answered yet, so the answer log is empty." OK
answer OK
COMMAND2=$(child "Enable monitoring")
click "$COMMAND2"
expect_caption "Disable monitoring"

# The look-alike is up before the watched boxes open, and stays until those
# have been answered.
dialog spaced box --title 'Save  changes' --type yesno --timeout-ms 6000
drv wait-window --title 'Save  changes' --visible --timeout-ms 20000 >/dev/null ||
  fail "the look-alike did not open"
dialog yes box --title 'Answer with Yes' --type yesnocancel --timeout-ms 10000
dialog no box --title 'Answer with No' --type yesnocancel --timeout-ms 10000
dialog cancel box --title 'Answer with Cancel' --type yesnocancel --timeout-ms 10000
dialog ok box --title 'Answer with OK' --type okcancel --timeout-ms 10000
# Window titles are looked up without regard to case, on Windows as on Wine.
dialog capitals box --title 'SAVE CHANGES' --type yesno --timeout-ms 10000
for name in yes no cancel ok; do expect_end $name $name; done
expect_end capitals yes
drv wait-window --title 'Save  changes' --visible --timeout-ms 0 >/dev/null ||
  fail "the look-alike closed before the watched boxes were answered"
expect_end spaced none

# One line per answered box, CR LF ended, the box's message last (as read:
# a box answered while its program is still filling it in has none yet);
# the look-alike gets none.
log=$PALLIX_DIR/pallix.log
cp "$log" "$ARTIFACTS/$JOURNEY-pallix.log" || fail "no pallix.log after five answers"
(($(grep -c $'\r$' "$log") == 5 && $(wc -l <"$log") == 5)) || fail "pallix.log:"$'\n'"$(cat -A "$log")"
d='[0-9][0-9]'
answers='Answer with Cancel|Cancel,Answer with No|&No,Answer with OK|OK,Answer with Yes|&Yes'
tr -d '\r' <"$log" | awk -F'\t' -v t="^$d$d-$d-$d $d:$d:$d[.][0-9]$d\$" 'NF != 7 || $1 !~ t ||
  $2 != "answered" || $5 != "#32770" || $6 != "pallix_dialogs.exe" || ($7 != "Pallix test" && $7 != "") {
  exit 1 } { print $3 "|" $4 }' |
  LC_ALL=C sort | paste -sd, | grep -qxF "$answers,Save changes|&Yes" ||
  fail "pallix.log's lines do not name the five answers:"$'\n'"$(cat -A "$log")"

tray_menu
menu_choose "$MENU_LOG"
for ((tries = 0; tries < 100; tries++)); do [[ -s $PALLIX_DIR/launched.txt ]] && break; sleep 0.1; done
[[ $(tr -d '\r' <"$PALLIX_DIR/launched.txt") == "notepad "*'\'"${PALLIX_DIR##*/}"'\pallix.log' ]] ||
  fail "\"Answer log\" started: $(cat "$PALLIX_DIR/launched.txt" 2>&1)"

tray_menu
menu_choose "$MENU_DISABLE"
expect_caption "Enable monitoring"
# Some thirty ticks' time.
dialog off box --title 'Answer with Yes' --type yesnocancel --timeout-ms 1700
expect_end off none
echo "watched boxes answered with their buttons, a look-alike left alone, nothing answered when off"

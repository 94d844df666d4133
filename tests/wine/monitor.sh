#!/usr/bin/env bash
# Pallix answers the message boxes of another program: switched on with a
# real click on its button, it presses in each watched box the button that
# its entry names, and leaves alone a box whose title is spaced otherwise
# (other look-alikes are tried in-process). Switched off from the real tray
# menu, it answers nothing.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_monitor

# The buttons' texts as the system's message boxes write them.
start_pallix app 'Answer with Yes[&Yes]<<#32770>>' 'Answer with No[&No]<<#32770>>' \
  'Answer with Cancel[Cancel]<<#32770>>' 'Answer with OK[OK]<<#32770>>' \
  'Save changes[&Yes]<<#32770>>'
wait_main
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

tray_menu
menu_choose "$MENU_DISABLE"
expect_caption "Enable monitoring"
# Some thirty ticks' time.
dialog off box --title 'Answer with Yes' --type yesnocancel --timeout-ms 1700
expect_end off none
echo "watched boxes answered with their buttons, a look-alike left alone, nothing answered when off"

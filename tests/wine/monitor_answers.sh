#!/usr/bin/env bash
# With monitoring on, Pallix answers each watched message box with the
# button its entry names, whichever of the box's buttons that is; when two
# slots name the same dialog, the lower slot's button is the one pressed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
# shellcheck source-path=SCRIPTDIR source=monitor_lib.sh
source "$(dirname "$0")/monitor_lib.sh"
wine_test_begin wine_monitor_answers

# The message boxes' button texts, as Wine's user32 writes them.
monitor_start_pallix \
  'Answer with Yes[&Yes]<<#32770>>' \
  'Answer with No[&No]<<#32770>>' \
  'Answer with Cancel[Cancel]<<#32770>>' \
  'Answer with OK[OK]<<#32770>>' \
  'Two slots[&No]<<#32770>>' \
  'Two slots[&Yes]<<#32770>>' \
  'Two slots again[&Yes]<<#32770>>' \
  'Two slots again[&No]<<#32770>>'

monitor_click_command2
monitor_expect_caption "$MONITOR_DISABLE"

# Every box offers more than the one button, so only the stored one fits.
monitor_box yes 'Answer with Yes' yesnocancel 10000 yes
monitor_box no 'Answer with No' yesnocancel 10000 no
monitor_box cancel 'Answer with Cancel' yesnocancel 10000 cancel
monitor_box ok 'Answer with OK' okcancel 10000 ok
# A box whose only button is the stored one.
monitor_box ok_only 'Answer with OK' ok 10000 ok

# Slot 5 says &No and slot 6 &Yes; slots 7 and 8 the other way round. The
# click of the lower slot closes the box before the higher slot looks.
monitor_box two_slots 'Two slots' yesno 10000 no
monitor_box two_slots_again 'Two slots again' yesno 10000 yes

echo "every watched box was answered with its stored button"

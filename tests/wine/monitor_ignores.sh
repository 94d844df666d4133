#!/usr/bin/env bash
# Dialogs that only look like a watched one are left alone: the stored title
# on another class, an entry stored without a class, the stored button
# inside a child panel rather than directly on the dialog, and the caption
# DEFAULT on a box without such a button. Beside each, a dialog that differs
# in just that point is answered at the same time, so monitoring was on and
# the dialog program's windows can be clicked.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
# shellcheck source-path=SCRIPTDIR source=monitor_lib.sh
source "$(dirname "$0")/monitor_lib.sh"
wine_test_begin wine_monitor_ignores

monitor_start_pallix \
  'Other class[&Yes]<<#32770>>' \
  'Own class[&Yes]<<PallixOtherDialog>>' \
  'No class[&Yes]' \
  'Nested[&Yes]<<#32770>>' \
  'Direct[&Yes]<<#32770>>' \
  'Default caption[DEFAULT]<<#32770>>' \
  'Default button[DEFAULT]<<#32770>>'

monitor_click_command2
monitor_expect_caption "$MONITOR_DISABLE"

# Long enough for about a hundred ticks, and for the answered ones to come
# and go while these stand.
readonly unanswered_ms=6000
declare -A look_alike_titles=(
  [other_class]='Other class' [no_class]='No class' [nested]=Nested
  [default_caption]='Default caption'
)
monitor_dialog_start other_class dialog --title 'Other class' --class PallixOtherDialog \
  --button '&Yes' --timeout-ms $unanswered_ms
monitor_dialog_start no_class box --title 'No class' --type yesno --timeout-ms $unanswered_ms
monitor_dialog_start nested dialog --title Nested --button '&Yes' --in-panel \
  --timeout-ms $unanswered_ms
monitor_dialog_start default_caption box --title 'Default caption' --type yesnocancel \
  --timeout-ms $unanswered_ms

# The look-alikes are all up before the ones that match are opened. One
# that was clicked at once is gone before it can be seen.
declare -A standing=()
for name in "${!look_alike_titles[@]}"; do
  title=${look_alike_titles[$name]}
  found=$(drv wait-window --title "$title" --visible --timeout-ms 20000) ||
    fail "the dialog \"$title\" is not there; it reported: $(cat "$WINE_WORK/$name.out")"
  standing[$name]=${found%% *}
done
# Each differs from its entry in the one point under test and no other.
drv wait-window --class PallixOtherDialog --title 'Other class' --timeout-ms 0 >/dev/null ||
  fail "the dialog \"Other class\" is not of the class PallixOtherDialog"
[[ $(drv children --hwnd "${standing[nested]}" | cut -f2) == PallixDialogsPanel ]] ||
  fail "the nested dialog's only direct child should be its panel"
drv children --hwnd "${standing[no_class]}" | cut -f2,4 | grep -qx $'Button\t&Yes' ||
  fail "the box \"No class\" has no direct &Yes button"

monitor_dialog_start own_class dialog --title 'Own class' --class PallixOtherDialog \
  --button '&Yes' --timeout-ms 10000
monitor_dialog_start direct dialog --title Direct --button '&Yes' --timeout-ms 10000
monitor_dialog_start default_button dialog --title 'Default button' --button DEFAULT \
  --timeout-ms 10000
monitor_expect own_class button
monitor_expect direct button
monitor_expect default_button button

# All of them answered while every look-alike was still open.
for name in "${!standing[@]}"; do
  [[ $(drv exists --hwnd "${standing[$name]}") == yes ]] ||
    fail "\"${look_alike_titles[$name]}\" closed before the matching dialogs were answered;" \
      "it reported: $(cat "$WINE_WORK/$name.out")"
done

monitor_expect other_class none
monitor_expect no_class none
monitor_expect nested none
monitor_expect default_caption none

echo "no look-alike was clicked; each matching counterpart was"

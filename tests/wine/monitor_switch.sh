#!/usr/bin/env bash
# Monitoring is off at start and is switched on and off from the button
# Command2 and from the tray menu's "Disable" item, in both pairings; the
# button's caption follows every switch, and while monitoring is off no
# watched dialog is answered.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
# shellcheck source-path=SCRIPTDIR source=monitor_lib.sh
source "$(dirname "$0")/monitor_lib.sh"
wine_test_begin wine_monitor_switch

monitor_start_pallix 'Switch probe[OK]<<#32770>>'

# Long enough for about 30 ticks.
readonly off_ms=1700
probe() { monitor_box "$1" 'Switch probe' okcancel "$2" "$3"; }

monitor_expect_caption "$MONITOR_ENABLE"
probe off_at_start $off_ms none

# On with the button, off from the tray.
monitor_click_command2
monitor_expect_caption "$MONITOR_DISABLE"
probe on_by_command2 10000 ok
monitor_tray_swenable
monitor_expect_caption "$MONITOR_ENABLE"
probe off_by_tray $off_ms none

# On from the tray, off with the button.
monitor_tray_swenable
monitor_expect_caption "$MONITOR_DISABLE"
probe on_by_tray 10000 ok
monitor_click_command2
monitor_expect_caption "$MONITOR_ENABLE"
probe off_by_command2 $off_ms none

echo "both switches turned monitoring on and off, and Command2 said so each time"

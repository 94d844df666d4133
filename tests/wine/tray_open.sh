#!/usr/bin/env bash
# A new user declines the default file, hides the window with a double-click
# on the icon, and brings it back with "Open" from the icon's menu: the
# window is shown and, as on every showing while the folder has no INI file,
# the offer to create default_px.ini comes again. The menu makes the hidden
# window the foreground window before "Open" shows it, so this showing
# brings no activation of its own.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_tray_open

readonly question='There is no default_px.ini file in the path!\r\nDo you want to create it?'
start_pallix new-user
expect_box Pallix "There is no windows set up  for control" OK
answer OK
expect_box "default_px.ini?" "$question" "&Yes &No"
answer '&No'
wait_main
tray_click click --repeat 2 --delay 80 1
expect_state "$MAIN" "after a double-click on the icon" visible=0
tray_menu
menu_choose "$MENU_OPEN"
expect_state "$MAIN" "after Open" visible=1
expect_box "default_px.ini?" "$question" "&Yes &No"
answer '&No'
expect_state "$(child "Create Ini")" "after the second No: Create Ini" visible=1
expect_state "$MAIN" "after the second No" visible=1
echo "Open from the tray menu showed the window and asked again for default_px.ini"

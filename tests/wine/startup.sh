#!/usr/bin/env bash
# Start-up as a new user meets it, in a folder without any INI file, the
# offer to create default_px.ini answered No (the package journey answers
# Yes): nothing is created, "Create Ini" shows, the buttons that need a file
# are disabled, and the offer comes again when the window, hidden with a
# double-click on the icon, is shown with "Open" from the icon's menu (the
# menu makes the hidden window the foreground window first, so the showing
# itself is the activation).
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_startup

start_new_user no
answer '&No'
expect_buttons "after No" 1 0
[[ $(ls "$PALLIX_DIR") == pallix.exe ]] || fail "No left files behind: $(ls "$PALLIX_DIR")"
tray_click click --repeat 2 --delay 80 1
expect_state "$MAIN" "after a double-click on the icon" visible=0
tray_menu
menu_choose "$MENU_OPEN"
expect_box "default_px.ini?" \
  'There is no default_px.ini file in the path!\r\nDo you want to create it?' "&Yes &No"
answer '&No'
expect_state "$MAIN" "shown again and answered No" visible=1
expect_buttons "after the second No" 1 0
echo "No: nothing created, Create Ini shown, the question asked again when shown with Open"

#!/usr/bin/env bash
# Start-up as a new user meets it, in a folder without any INI file: the
# message that nothing is set up comes while the main window is still
# hidden, then, over the shown window, the offer to create default_px.ini.
# Yes creates it empty and leaves the buttons that need a file usable. No
# creates nothing, shows "Create Ini" and disables those buttons, and the
# offer comes again when the window, hidden with a double-click on the icon,
# is shown with "Open" from the icon's menu (the menu makes the hidden window
# the foreground window first, so the showing itself is the activation).
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_startup

# start_new_user FOLDER: up to the question; sets MAIN and BOX.
start_new_user() {
  start_pallix "$1"
  expect_box Pallix "There is no windows set up  for control" OK
  ! drv wait-window --class PallixMain --visible --timeout-ms 0 >/dev/null 2>&1 ||
    fail "the main window is shown while the message that nothing is set up is open"
  answer OK
  expect_box "default_px.ini?" \
    'There is no default_px.ini file in the path!\r\nDo you want to create it?' "&Yes &No"
  wait_main
  [[ ! -e $PALLIX_DIR/default_px.ini ]] || fail "default_px.ini exists before the answer"
}

# expect_buttons WHEN CREATE_INI_SHOWN OTHERS_ENABLED
expect_buttons() {
  local name
  expect_state "$(child "Create Ini")" "$1: Create Ini" "visible=$2"
  for name in "Edit ini" "Enable monitoring" "Add"; do
    expect_state "$(child "$name")" "$1: $name" "enabled=$3"
  done
}

start_new_user yes
answer '&Yes'
expect_buttons "after Yes" 0 1
[[ -f $PALLIX_DIR/default_px.ini && ! -s $PALLIX_DIR/default_px.ini ]] ||
  fail "Yes did not create an empty default_px.ini"
running || fail "Pallix ended after Yes"
end_pallix
echo "Yes: default_px.ini created empty; Edit ini, Enable monitoring and Add usable"

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

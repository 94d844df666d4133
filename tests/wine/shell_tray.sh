#!/usr/bin/env bash
# The notification-area icon, driven through its callback as the shell
# sends it: a double-click hides the shown window and shows the hidden one
# above all others; other mouse messages do nothing; the right button's press
# opens the tray menu at the pointer, and its "Exit" ends the program and
# takes the icon away. When the shell announces itself anew ("TaskbarCreated")
# to a notification area that has lost the icon, the icon comes back.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
# shellcheck source-path=SCRIPTDIR source=shell_lib.sh
source "$(dirname "$0")/shell_lib.sh"
wine_test_begin wine_shell_tray

readonly HWND_BROADCAST=0xFFFF

icon_message() {
  drv send --hwnd "$TRAY" --msg "$TRAY_CALLBACK" --wparam 1 --lparam "$1" >/dev/null ||
    fail "the icon's message $1 was not answered"
}

no_popup_menu() {
  if drv wait-window --class '#32768' --visible --timeout-ms 0 >/dev/null 2>&1; then
    fail "a popup menu is open after $1"
  fi
}

shell_new_folder app
wine_write_watch_list "$PALLIX_DIR/alpha.ini" 'Save changes[&Yes]<<#32770>>'
# Wine's tray starts empty here; count what is there all the same.
before=$(shell_tray_icons)
shell_start_pallix
shell_wait_main 30000
shell_tray_window
shell_wait_tray_icons $((before + 1)) 10 || fail "Pallix's icon did not appear in the tray"
shell_expect_state "$MAIN" "main window at start" visible=1 topmost=0

# Moves, single clicks and the right button's release: nothing.
for message in 512 513 514 517; do
  icon_message "$message"
  shell_expect_state "$MAIN" "main window after icon message $message" visible=1 topmost=0
  no_popup_menu "icon message $message"
done

icon_message "$TRAY_DOUBLE_CLICK"
shell_expect_state "$MAIN" "main window after the first double-click" visible=0
icon_message "$TRAY_DOUBLE_CLICK"
shell_expect_state "$MAIN" "main window after the second double-click" visible=1 topmost=1
icon_message "$TRAY_DOUBLE_CLICK"
shell_expect_state "$MAIN" "main window after the third double-click" visible=0
icon_message "$TRAY_DOUBLE_CLICK"
shell_expect_state "$MAIN" "main window after the fourth double-click" visible=1 topmost=1
echo "double-clicks on the icon hide and show the window, shown topmost"

# A restarted shell has an empty notification area: the icon is removed as
# such a shell would have it, then the shell's broadcast is sent.
drv icon-delete --hwnd "$TRAY" --id 1 || fail "the shell has no icon 1 of $TRAY"
shell_wait_tray_icons "$before" 5 || fail "the icon stayed after it was removed"
sleep 1
[[ $(shell_tray_icons) == "$before" ]] || fail "the icon came back before the shell announced itself"
taskbar_created=$(drv register-message --name TaskbarCreated) ||
  fail "could not register TaskbarCreated"
drv post --hwnd "$HWND_BROADCAST" --msg "$taskbar_created" || fail "could not broadcast TaskbarCreated"
shell_wait_tray_icons $((before + 1)) 10 || fail "TaskbarCreated did not bring the icon back"
echo "after TaskbarCreated the icon is back"

# The menu opens where the pointer is; "Exit" is its last item.
xdotool mousemove 600 500
icon_message_posted() {
  drv post --hwnd "$TRAY" --msg "$TRAY_CALLBACK" --wparam 1 --lparam "$1" ||
    fail "could not post the icon's message $1"
}
# Posted: the menu is modal, a sent message would return only when it closes.
icon_message_posted "$TRAY_RIGHT_DOWN"
menu=$(drv wait-window --class '#32768' --visible --timeout-ms 5000) ||
  fail "the right button on the icon opened no menu"
read -r _ left top right bottom <<<"$menu"
[[ "$left $top" == "600 500" ]] || fail "the menu opened at $left,$top, not at the pointer (600,500)"
wine_screenshot wine_shell_tray-menu
xdotool mousemove $(((left + right) / 2)) $((bottom - 8)) click 1
shell_wait_ended 10 || fail "Exit from the tray menu did not end Pallix"
[[ $PALLIX_STATUS == 0 ]] || fail "Pallix ended with status $PALLIX_STATUS"
if drv exists --hwnd "$MAIN" >/dev/null; then
  fail "the main window outlived the process"
fi
shell_wait_tray_icons "$before" 5 || fail "the icon is still in the tray after Exit"
echo "the tray menu opened at the pointer; Exit ended Pallix and removed its icon"

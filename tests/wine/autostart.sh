#!/usr/bin/env bash
# "Start with Windows" in the real tray menu makes the shortcut in the
# prefix's Startup folder, read back through IShellLink by another process.
# Started as Windows starts it at logon, Pallix shows only its icon and
# answers a watched box. A second start ends by itself, and the running
# Pallix shows its window. Chosen again, the item removes the shortcut.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_autostart

# Windows paths on the prefix's Z: drive, which is the host's root.
windows_path() { local p=${1//\//\\} && echo "Z:$p"; }
unix_path() { local p=${1#[Zz]:} && echo "${p//\\//}"; }
# start_again ARGS...: pallix.exe started once more ends by itself, with 0.
start_again() {
  wine_start "$PALLIX_DIR" pallix.exe "$@"
  for ((tries = 0; tries < 100; tries++)); do
    [[ $(awk '{ print $3 }' "/proc/$WINE_PID/stat" 2>/dev/null) =~ ^[^Z]$ ]] || break
    sleep 0.1
  done
  ((tries < 100)) && wait "$WINE_PID"
}
main_windows() { drv windows --class PallixMain | cut -f3 | paste -sd' '; }

touch "$WINE_LOGS/begun"
# Wine spells the folder "StartUp" on the host's disk.
link=$(find "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" \
  -maxdepth 1 -iname startup)/Pallix.lnk
rm -f "$link"
start_pallix app 'Answer with Yes[&Yes]<<#32770>>'
wait_main
tray_menu
menu_choose "$MENU_STARTUP"
for ((tries = 0; tries < 50; tries++)); do [[ -e $link ]] && break; sleep 0.1; done
IFS=$'\t' read -r target folder arguments < <(drv link --file "$(windows_path "$link")") ||
  fail "no shortcut the shell can read at $link"
# The driver doubles backslashes.
target=${target//\\\\/\\} folder=${folder//\\\\/\\}
[[ ${target,,} == "$(windows_path "$PALLIX_DIR/pallix.exe" | tr '[:upper:]' '[:lower:]')" &&
  ${folder,,} == "$(windows_path "$PALLIX_DIR" | tr '[:upper:]' '[:lower:]')" &&
  $arguments == /background ]] || fail "the shortcut holds \"$target\" \"$folder\" \"$arguments\""
echo "\"Start with Windows\" made the shortcut: $target $arguments, in $folder"

tray_menu
menu_choose "$MENU_EXIT"
wait_ended 10 || fail "Exit did not end Pallix"
wait_tray_icons 0 || fail "the icon stayed after Exit"
# As Windows at logon: the target with the arguments, in the working folder.
# shellcheck disable=SC2086 # the arguments are split as a command line
wine_start "$(unix_path "$folder")" "$target" $arguments
PALLIX_PID=$WINE_PID
wait_tray_icons 1 || fail "no icon after the start at logon"
dialog yes box --title 'Answer with Yes' --type yesnocancel --timeout-ms 10000
expect_end yes yes
[[ $(main_windows) == 0 ]] || fail "the main windows' visibility after the start at logon: $(main_windows)"
echo "the start at logon shows only the icon, and answers a watched box"

start_again || fail "a second Pallix did not end by itself with status 0"
wait_main
[[ $(main_windows) == 1 && $(tray_icons) == 1 ]] ||
  fail "after a second start: main windows $(main_windows), icons $(tray_icons)"
start_again -BACKGROUND other || fail "a second start in the background did not end by itself"
[[ $(main_windows) == 1 && $(tray_icons) == 1 ]] ||
  fail "after a start in the background: main windows $(main_windows), icons $(tray_icons)"
echo "a second start ends by itself, and the running Pallix shows its window"

tray_menu
menu_choose "$MENU_STARTUP"
for ((tries = 0; tries < 50; tries++)); do [[ -e $link ]] || break; sleep 0.1; done
[[ ! -e $link ]] || fail "the shortcut is still there after the item was chosen again"
made=$(find ~/.config/autostart ~/.local/share/applications -newer "$WINE_LOGS/begun" 2>/dev/null || true)
[[ -z $made ]] || fail "Wine made files on the host's desktop: $made"
echo "chosen again, the item removed the shortcut"

#!/usr/bin/env bash
# What a user downloads: the package made from this build holds one folder
# with the tested pallix.exe and a README.txt with Windows line ends, and
# nothing else. Unzipped into an empty folder, that pallix.exe tells another
# program its version, and its first start offers default_px.ini (Yes
# creates it empty and leaves the buttons usable). With an entry written
# into that file as an editor would, started again and switched on, it
# answers the watched box.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_package
: "${PALLIX_VERSION:?set by CTest from project()}" "${PALLIX_CPACK:?set by CTest}"
top=pallix-$PALLIX_VERSION

"$PALLIX_CPACK" --config "$PALLIX_BUILD_DIR/CPackConfig.cmake" -B "$WINE_LOGS/cpack" \
  >"$WINE_LOGS/cpack.log" || fail "cpack failed"
zip=$WINE_LOGS/cpack/$top-win64.zip
[[ $(zipinfo -1 "$zip" | sort | paste -sd' ') == "$top/ $top/README.txt $top/pallix.exe" ]] ||
  fail "the package holds: $(zipinfo -1 "$zip")"
unzip -q "$zip" -d "$WINE_LOGS/user"
cmp "$WINE_LOGS/user/$top/pallix.exe" "$PALLIX_BUILD_DIR/pallix.exe" ||
  fail "the packaged pallix.exe is not the one tested"
! grep -qv $'\r$' "$WINE_LOGS/user/$top/README.txt" || fail "README.txt has lines without CR LF"

IFS=. read -r major minor patch <<<"$PALLIX_VERSION"
version=$(drv version --file "Z:${WINE_LOGS//\//\\}\\user\\$top\\pallix.exe") ||
  fail "no version resource in the unzipped pallix.exe"
echo "$version"
expected=("FILEVERSION	$major.$minor.${patch:-0}.0" "PRODUCTVERSION	$major.$minor.${patch:-0}.0"
  "CompanyName	Korrel" "FileVersion	$PALLIX_VERSION" "OriginalFilename	pallix.exe"
  "ProductName	Pallix" "ProductVersion	$PALLIX_VERSION")
for line in "${expected[@]}"; do grep -qxF "$line" <<<"$version" || fail "no \"$line\""; done

start_new_user "user/$top"
answer '&Yes'
expect_buttons "after Yes" 0 1
[[ -f $PALLIX_DIR/default_px.ini && ! -s $PALLIX_DIR/default_px.ini ]] ||
  fail "Yes did not create an empty default_px.ini"
wine_write_watch_list "$PALLIX_DIR/default_px.ini" 'Unzipped box[&No]<<#32770>>'
tray_menu
menu_choose "$MENU_EXIT"
wait_ended 10 || fail "Exit did not end Pallix"
wine_start "$PALLIX_DIR" pallix.exe
PALLIX_PID=$WINE_PID
wait_main
COMMAND2=$(child "Enable monitoring")
click "$COMMAND2"
expect_caption "Disable monitoring"
dialog box box --title 'Unzipped box' --type yesnocancel --timeout-ms 10000
expect_end box no

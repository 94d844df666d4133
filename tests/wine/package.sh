#!/usr/bin/env bash
# The package of this build holds only the tested pallix.exe and a CRLF
# README.txt. Unzipped into an empty folder, that program tells another its
# version, creates an empty default_px.ini at its first start (Yes), and,
# with an entry written there and started again, answers the watched box.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_package
: "${PALLIX_VERSION:?set by CTest from project()}" "${PALLIX_CPACK:?set by CTest}"
top=pallix-$PALLIX_VERSION zip=$WINE_LOGS/pallix-$PALLIX_VERSION-win64.zip

"$PALLIX_CPACK" --config "$PALLIX_BUILD_DIR/CPackConfig.cmake" -B "$WINE_LOGS" \
  >"$WINE_LOGS/cpack.log" || fail "cpack failed"
[[ $(zipinfo -1 "$zip" | sort | paste -sd' ') == "$top/ $top/README.txt $top/pallix.exe" ]] ||
  fail "the package holds: $(zipinfo -1 "$zip")"
unzip -q "$zip" -d "$WINE_LOGS/user"
cmp "$WINE_LOGS/user/$top/pallix.exe" "$PALLIX_BUILD_DIR/pallix.exe" || fail "not the tested exe"
! grep -qv $'\r$' "$WINE_LOGS/user/$top/README.txt" || fail "README.txt has lines without CR LF"

numbers=$(awk -F. '{ printf "%d.%d.%d.0", $1, $2, $3 }' <<<"$PALLIX_VERSION")
version=$(drv version --file "Z:${WINE_LOGS//\//\\}\\user\\$top\\pallix.exe") || fail "no version"
echo "$version"
for line in "FILEVERSION	$numbers" "PRODUCTVERSION	$numbers" "FileVersion	$PALLIX_VERSION" \
  "ProductVersion	$PALLIX_VERSION" "CompanyName	Korrel"; do
  grep -qxF "$line" <<<"$version" || fail "no \"$line\" in the version resource"
done

start_new_user "user/$top"
answer '&Yes'
expect_buttons "after Yes" 0 1
[[ -f $PALLIX_DIR/default_px.ini && ! -s $PALLIX_DIR/default_px.ini ]] ||
  fail "Yes did not create an empty default_px.ini"
wine_write_watch_list "$PALLIX_DIR/default_px.ini" 'Unzipped box[&No]<<#32770>>'
# Exit from the tray menu, a new start in the same folder (the watch list is
# read at start), monitoring on with a real click.
tray_menu
menu_choose "$MENU_EXIT"
wait_ended 10 || fail "Exit did not end Pallix"
start_pallix "user/$top"
wait_main
COMMAND2=$(child "Enable monitoring")
click "$COMMAND2"
expect_caption "Disable monitoring"
dialog box box --title 'Unzipped box' --type yesnocancel --timeout-ms 10000
expect_end box no

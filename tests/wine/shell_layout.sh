#!/usr/bin/env bash
# The main window as laid out in twips, read off screenshots: the client
# area's place on the screen, the light green monitoring switch, the blue
# frame of the button row and the grey background, each where its twips put
# it. Once at 96 dpi, then at 120 dpi in a copy of the prefix (the
# resolution is set in the registry, and the other tests keep 96 dpi).
# Screenshots stay under the build tree's Wine artifacts.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
# shellcheck source-path=SCRIPTDIR source=shell_lib.sh
source "$(dirname "$0")/shell_lib.sh"
wine_test_begin wine_shell_layout

readonly GREEN=128,255,128 BLUE=0,0,255 GREY=192,192,192

# The design, in twips: the client area's place on the screen and its size;
# Command2 and Shape1 within the client area (left, top, width, height).
readonly CLIENT_TWIPS="3435 2610 4680 2025"
readonly COMMAND2_TWIPS="90 1680 4545 315"
readonly SHAPE1_TWIPS="120 810 4395 435"
# Places where nothing but the background is: between the title row and the
# frame, below the switch, right of the frame.
readonly GREY_TWIPS=("2250 660" "2250 2005" "4600 1000")

# check_layout DPI IMAGE: prints one line per point that is not as designed.
check_layout() {
  local dpi=$1 image=$2
  local cx cy l t w h left top right bottom mid_x mid_y
  read -r cx cy _ _ <<<"$CLIENT_TWIPS"
  cx=$(shell_px "$cx" "$dpi") cy=$(shell_px "$cy" "$dpi")
  local -a points=() wants=() names=()
  add() { points+=("$1,$2") wants+=("$3") names+=("$4"); }

  read -r l t w h <<<"$COMMAND2_TWIPS"
  left=$((cx + $(shell_px "$l" "$dpi"))) top=$((cy + $(shell_px "$t" "$dpi")))
  right=$((cx + $(shell_px $((l + w)) "$dpi"))) bottom=$((cy + $(shell_px $((t + h)) "$dpi")))
  mid_y=$(((top + bottom) / 2))
  # Clear of the raised edge and of the centred caption.
  add $((left + 5)) "$mid_y" "$GREEN" "Command2 near its left end"
  add $((left + 12)) "$mid_y" "$GREEN" "Command2 near its left end"
  add $((right - 12)) "$mid_y" "$GREEN" "Command2 near its right end"
  add $((right - 6)) "$mid_y" "$GREEN" "Command2 near its right end"
  add $((left - 3)) "$mid_y" "$GREY" "left of Command2"

  read -r l t w h <<<"$SHAPE1_TWIPS"
  left=$((cx + $(shell_px "$l" "$dpi"))) top=$((cy + $(shell_px "$t" "$dpi")))
  right=$((cx + $(shell_px $((l + w)) "$dpi"))) bottom=$((cy + $(shell_px $((t + h)) "$dpi")))
  mid_x=$(((left + right) / 2)) mid_y=$(((top + bottom) / 2))
  # The one-pixel outline, a pixel either way for rounding.
  local d
  for d in -1 0 1; do
    add "$mid_x" $((top + d)) "$BLUE" "Shape1's top edge"
    add "$mid_x" $((bottom - 1 + d)) "$BLUE" "Shape1's bottom edge"
    add $((left + d)) "$mid_y" "$BLUE" "Shape1's left edge"
    add $((right - 1 + d)) "$mid_y" "$BLUE" "Shape1's right edge"
  done
  add "$mid_x" "$mid_y" "$GREY" "inside Shape1"
  add "$mid_x" $((top - 3)) "$GREY" "above Shape1"
  add $((right + 2)) "$mid_y" "$GREY" "right of Shape1"

  local place
  for place in "${GREY_TWIPS[@]}"; do
    read -r l t <<<"$place"
    add $((cx + $(shell_px "$l" "$dpi"))) $((cy + $(shell_px "$t" "$dpi"))) "$GREY" \
      "background at $l,$t twips"
  done

  local -a got
  mapfile -t got < <(shell_pixels "$image" "${points[@]}")
  # An edge passes when one of its three candidate pixels is blue.
  local -A edge_hit=()
  local i
  for i in "${!points[@]}"; do
    if [[ ${wants[i]} == "$BLUE" ]]; then
      [[ ${got[i]} == "$BLUE" ]] && edge_hit[${names[i]}]=1
      [[ -v edge_hit[${names[i]}] ]] || edge_hit[${names[i]}]=0
    elif [[ ${got[i]} != "${wants[i]}" ]]; then
      echo "${names[i]} at ${points[i]}: ${got[i]}, not ${wants[i]}"
    fi
  done
  local name
  for name in "${!edge_hit[@]}"; do
    ((edge_hit[$name])) || echo "$name: no blue pixel near where its twips put it"
  done
}

# layout_at DPI NAME: Pallix started in a fresh folder; its client area is
# where the twips put it, and the screenshot shows the layout. Leaves the
# screenshot as NAME.png and the main window cut out as NAME-window.png.
layout_at() {
  local dpi=$1 name=$2 want place problems="" tries=0
  shell_new_folder "app-$dpi"
  wine_write_watch_list "$PALLIX_DIR/default_px.ini" 'Save changes[&Yes]<<#32770>>'
  # The pointer away from the window: no tooltip over the picture.
  xdotool mousemove 1270 1010
  shell_start_pallix
  shell_wait_main 30000
  local x y w h
  read -r x y w h <<<"$CLIENT_TWIPS"
  want="$(shell_px "$x" "$dpi") $(shell_px "$y" "$dpi")"
  want+=" $(shell_px $((x + w)) "$dpi") $(shell_px $((y + h)) "$dpi")"
  place=$(drv client-rect --hwnd "$MAIN") || fail "main window gone"
  local a b
  read -r -a a <<<"$want"
  read -r -a b <<<"$place"
  for i in 0 1 2 3; do
    ((b[i] - a[i] <= 1 && a[i] - b[i] <= 1)) ||
      fail "at $dpi dpi the client area is at $place, the twips say $want"
  done
  # Painting follows the showing; give it a moment before calling it wrong.
  while :; do
    wine_screenshot "$name" || fail "no screenshot"
    problems=$(check_layout "$dpi" "$WINE_ARTIFACTS/$name.png")
    [[ -z $problems ]] && break
    ((tries++ < 10)) || fail "at $dpi dpi:"$'\n'"$problems"
    sleep 0.5
  done
  local frame
  frame=$(drv wait-window --class PallixMain --visible --timeout-ms 0) || fail "main window gone"
  read -r _ x y w h <<<"$frame"
  convert "$WINE_ARTIFACTS/$name.png" -crop "$((w - x))x$((h - y))+$x+$y" +repage \
    "$WINE_ARTIFACTS/$name-window.png"
  echo "$dpi dpi: client area at $place; Command2, Shape1 and the background where designed"
  wine_end "$PALLIX_PID"
}

layout_at 96 wine_shell_layout-96dpi

# 120 dpi: a copy of the prefix with its own server, ended however this
# test ends.
copy="$WINE_WORK/prefix-120dpi"
end_copy() {
  local status=$?
  if [[ -d $copy ]]; then
    ((status == 0)) || wine_screenshot "$WINE_TEST_NAME-120dpi-failed" || true
    WINEPREFIX=$copy timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX=$copy timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
    rm -rf "$copy"
  fi
  (exit "$status")
  wine_test_end
}
trap end_copy EXIT
cp -a "$WINEPREFIX" "$copy"
export WINEPREFIX=$copy
timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f \
  </dev/null >>"$WINE_WORK/reg.log" 2>&1 || fail "could not set LogPixels in the copied prefix"
layout_at 120 wine_shell_layout-120dpi

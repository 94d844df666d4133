#!/usr/bin/env bash
# The main window as laid out in twips, read off screenshots at 96 dpi and
# at 120 dpi (set in a copy of the prefix; the other journeys keep 96): the
# client area where its twips put it on the screen, and in it the light
# green monitoring switch, the blue frame of the button row and the grey
# background. The screenshots stay among the artifacts.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_layout

readonly GREEN=128,255,128 BLUE=0,0,255 GREY=192,192,192

# px TWIPS: pixels at DPI, to the nearest.
px() { echo $((($1 * DPI + 720) / 1440)); }

# problems IMAGE LEFT TOP: one line for each point of the client area at
# LEFT,TOP that is not as designed.
problems() {
  local image=$1 cx=$2 cy=$3 l t r b mx my d i got
  local -a xs=() ys=() wants=() names=()
  point() { xs+=("$1") ys+=("$2") wants+=("$3") names+=("$4"); }
  # Command2 at 90,2070, 4545 x 315: clear of its raised edge and caption.
  l=$((cx + $(px 90))) r=$((cx + $(px 4635))) my=$((cy + $(px 2227)))
  point $((l + 5)) "$my" $GREEN "Command2's left end"
  point $((l + 12)) "$my" $GREEN "Command2's left end"
  point $((r - 12)) "$my" $GREEN "Command2's right end"
  point $((r - 6)) "$my" $GREEN "Command2's right end"
  point $((l - 3)) "$my" $GREY "left of Command2"
  # Shape1 at 120,1200, 4395 x 435: a one-pixel outline, a pixel either way
  # for rounding.
  l=$((cx + $(px 120))) t=$((cy + $(px 1200))) r=$((cx + $(px 4515))) b=$((cy + $(px 1635)))
  mx=$(((l + r) / 2)) my=$(((t + b) / 2))
  for d in -1 0 1; do
    point "$mx" $((t + d)) $BLUE "Shape1's top edge"
    point "$mx" $((b - 1 + d)) $BLUE "Shape1's bottom edge"
    point $((l + d)) "$my" $BLUE "Shape1's left edge"
    point $((r - 1 + d)) "$my" $BLUE "Shape1's right edge"
  done
  point "$mx" "$my" $GREY "inside Shape1"
  point "$mx" $((t - 3)) $GREY "above Shape1"
  point $((r + 2)) "$my" $GREY "right of Shape1"
  point $((cx + $(px 2250))) $((cy + $(px 1050))) $GREY "background below the message row"
  point $((cx + $(px 2250))) $((cy + $(px 2395))) $GREY "background below Command2"
  point $((cx + $(px 4600))) $((cy + $(px 1390))) $GREY "background right of Shape1"
  local points=()
  for i in "${!xs[@]}"; do points+=("${xs[i]},${ys[i]}"); done
  mapfile -t got < <(pixels "$image" "${points[@]}")
  local -A edge=()
  for i in "${!xs[@]}"; do
    if [[ ${wants[i]} == "$BLUE" ]]; then
      : "${edge[${names[i]}]:=0}"
      [[ ${got[i]} != "$BLUE" ]] || edge[${names[i]}]=1
    elif [[ ${got[i]} != "${wants[i]}" ]]; then
      echo "${names[i]} at ${xs[i]},${ys[i]}: ${got[i]}, not ${wants[i]}"
    fi
  done
  for i in "${!edge[@]}"; do ((edge[$i])) || echo "$i: no blue pixel where its twips put it"; done
}

# layout_at DPI: Pallix in a new folder; its client area and the
# screenshot as designed.
layout_at() {
  DPI=$1
  local name="wine_layout-${1}dpi" want=() place=() found tries=0 i
  # The pointer away from the window: no tooltip over the picture.
  xdotool mousemove 1270 1010
  start_pallix "app-$DPI" 'Save changes[&Yes]<<#32770>>'
  wait_main
  read -r -a want <<<"$(px 3435) $(px 2610) $(px 8115) $(px 7380)"
  read -r -a place < <(drv client-rect --hwnd "$MAIN") || fail "the main window is gone"
  for i in 0 1 2 3; do
    ((place[i] - want[i] <= 1 && want[i] - place[i] <= 1)) ||
      fail "at $DPI dpi the client area is at ${place[*]}, its twips say ${want[*]}"
  done
  # Painting follows the showing: give it a moment before calling it wrong.
  until shot "$name" && found=$(problems "$ARTIFACTS/$name.png" "${place[0]}" "${place[1]}") &&
    [[ -z $found ]]; do
    ((tries++ < 10)) || fail "at $DPI dpi:"$'\n'"$found"
    sleep 0.5
  done
  echo "$DPI dpi: client area at ${place[*]}; Command2, Shape1 and the background as designed"
  end_pallix
}

layout_at 96

# A copy of the prefix with a server of its own, ended however this ends.
copy="$WINE_LOGS/prefix-120dpi"
end_copy() {
  local status=$?
  ((status == 0)) || shot "$JOURNEY-120dpi-failed" || true
  [[ -z ${PALLIX_PID:-} ]] || end_pallix
  wine_end_prefix "$copy"
  rm -rf "$copy"
  (exit "$status")
  journey_end
}
trap end_copy EXIT
cp -a "$WINEPREFIX" "$copy"
export WINEPREFIX=$copy
timeout 60 "${WINE[@]}" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f \
  </dev/null >>"$WINE_LOGS/reg.log" 2>&1 || fail "could not set LogPixels in the copied prefix"
layout_at 120

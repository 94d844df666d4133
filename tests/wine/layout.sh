#!/usr/bin/env bash
# The main window as laid out in twips, read off screenshots at 96 dpi and
# at 120 dpi (set in a copy of the prefix; the other journeys keep 96): the
# client area where its twips put it on the screen, and in it the light
# green monitoring switch, the blue frame of the button row and the grey
# background; then the window resized with real drags of its corner and the
# list's columns fitted with real double-clicks on their dividers, read
# back through the driver. The screenshots stay among the artifacts.
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

# Ids of List2, "Remove", "Recent dialogs", and the controls that are never
# seen: Text4, Text2, Text3, Command5 and List1.
readonly ID_LIST2=1022 ID_REMOVE=1027 ID_RECENT=1029 UNSEEN='^(1019|1020|1021|1023|1024)$'

# places [DX DY]: "ID<tab>LEFT TOP RIGHT BOTTOM" of each control; with DX and
# DY, as they should be in a window that much larger than at first.
places() {
  local dx=${1:-0} dy=${2:-0}
  awk -F'\t' -v OFS='\t' -v dx="$dx" -v dy="$dy" -v list=$ID_LIST2 -v remove=$ID_REMOVE \
    -v recent=$ID_RECENT -v unseen="$UNSEEN" '{
      split($5, p, " ")
      if ($3 == list) { p[3] += dx; p[4] += dy }
      if ($3 == remove) { p[1] += dx; p[2] += dy; p[3] += dx; p[4] += dy }
      if ($3 ~ unseen || $3 == recent) { p[2] += dy; p[4] += dy }
      print $3, p[1] " " p[2] " " p[3] " " p[4]
    }' <<<"${PLACES:-$(drv children --hwnd "$MAIN")}"
}
# expect_places DX DY WHAT: the controls are where they should be in a
# window DX, DY larger than at first, the unseen ones below the client area.
expect_places() {
  local want got low deadline=$((SECONDS + 5))
  want=$(PLACES=$START places "$1" "$2")
  until got=$(places) && [[ $got == "$want" ]]; do
    ((SECONDS < deadline)) || fail "at $DPI dpi $3, the controls are at"$'\n'"$got"$'\n'"not"$'\n'"$want"
    sleep 0.1
  done
  read -r _ _ _ low < <(drv client-rect --hwnd "$MAIN")
  awk -F'\t' -v low="$low" -v unseen="$UNSEEN" \
    '$1 ~ unseen { split($2, p, " "); if (p[2] < low) { print "control " $1 " is seen"; exit 1 } }' \
    <<<"$got" || fail "at $DPI dpi $3, a control that is never seen is in the client area"
}
# expect_window RECT WHAT: the main window is at RECT within a few seconds.
expect_window() {
  local got deadline=$((SECONDS + 5))
  until got=$(drv rect --hwnd "$MAIN") && [[ $got == "$1" ]]; do
    ((SECONDS < deadline)) || fail "at $DPI dpi $2, the window is at $got, not $1"
    sleep 0.1
  done
}
columns() { drv columns --hwnd "$LIST" || fail "the list is gone"; }
# overflow: how much wider the columns are than the list.
overflow() {
  local left right
  read -r left _ right _ < <(drv client-rect --hwnd "$LIST")
  columns | awk -F'\t' -v room=$((right - left)) '{ sum += $1 } END { print sum - room }'
}
# expect_filled WHAT: the columns fill the list, without a scroll bar.
expect_filled() {
  [[ $(overflow) == 0 ]] || fail "at $DPI dpi $1, the columns are not as wide as the list:"$'\n'"$(columns)"
  expect_state "$LIST" "at $DPI dpi $1, the list" hscroll=0
}
# fit COLUMN: a real double-click on the divider at the right of that
# column (from 0); it becomes as wide as its widest text, caption included,
# and the margins of a cell or caption.
fit() {
  local left top bottom x width widest caption deadline=$((SECONDS + 5))
  read -r left top _ bottom < <(drv rect --hwnd "$HEADER")
  x=$(columns | awk -F'\t' -v n="$1" -v x="$left" 'NR <= n + 1 { x += $1 } END { print x }')
  xdotool mousemove "$x" $(((top + bottom) / 2)) sleep 0.2 click --repeat 2 --delay 80 1
  until IFS=$'\t' read -r width widest caption < <(columns | sed -n "$(($1 + 1))p") &&
    ((width >= widest + 12 && width <= widest + 24)); do
    ((SECONDS < deadline)) ||
      fail "at $DPI dpi, \"$caption\" is $width px wide after the double-click, its widest text $widest"
    sleep 0.1
  done
}

# resizing: the columns fill the list at first; the window made larger
# moves and stretches only the list and "Remove", and the columns fill the
# list again; the title column and the empty "When it says" fitted; the
# window made smaller than at first comes back to its first size, the
# controls to their places, and the fitted columns keep their widths, less
# their shares of the change.
resizing() {
  local start over
  LIST=$(by_id $ID_LIST2)
  HEADER=$(drv children --hwnd "$LIST" | cut -f1)
  START=$(drv children --hwnd "$MAIN") start=$(drv rect --hwnd "$MAIN")
  expect_filled "at first"
  drag_corner 160 120
  read -r -a grown <<<"$start"
  expect_window "${grown[0]} ${grown[1]} $((grown[2] + 160)) $((grown[3] + 120))" "made larger"
  expect_places 160 120 "made larger"
  expect_filled "made larger"
  fit 0
  fit 1
  over=$(overflow)
  drag_corner -400 -400
  expect_window "$start" "made smaller than at first"
  expect_places 0 0 "made smaller than at first"
  [[ $(overflow) == "$over" ]] || fail "at $DPI dpi the fitted columns did not keep their widths:"$'\n'"$(columns)"
  echo "$DPI dpi: the window resized and the columns fitted as a user would"
}

# layout_at DPI: Pallix in a new folder; its client area and the
# screenshot as designed.
layout_at() {
  DPI=$1
  local name="wine_layout-${1}dpi" want=() place=() found tries=0 i
  # The pointer away from the window: no tooltip over the picture.
  xdotool mousemove 1270 1010
  start_pallix "app-$DPI" 'Save changes to the document[&Yes]<<#32770>>'
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
  resizing
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

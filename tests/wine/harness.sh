#!/usr/bin/env bash
# shellcheck disable=SC2034 # variables that the journeys read
# The Wine test harness.
#
# Run as a program:
#   harness.sh setup BUILD_DIR    the CTest fixture "wine": a private prefix
#                                 on a display of its own for the whole run,
#                                 described in BUILD_DIR/wine-env.sh
#   harness.sh cleanup BUILD_DIR  ends what setup and the tests left behind
#   harness.sh unit BUILD_DIR [GTEST_ARGS...]   the in-process tests
#
# Sourced by a journey, it gives helpers that work Pallix from outside, as a
# user and the system would. CTest passes PALLIX_BUILD_DIR.
# shellcheck source=scripts/wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine.sh"

fixture_setup() {
  local build=$1 started=$SECONDS
  # An interrupted run may have left its display and server behind, and
  # its screenshots would pass for this run's.
  fixture_cleanup "$build"
  rm -rf "$build/wine"
  mkdir -p "$build/wine/artifacts"
  wine_up "$build/wine" || return 1
  # Written whole and last, so that a test never sees half of it.
  printf "export WINEPREFIX='%s' DISPLAY='%s'\n" "$WINEPREFIX" "$DISPLAY" >"$build/wine-env.sh.part"
  mv "$build/wine-env.sh.part" "$build/wine-env.sh"
  wine_log "prefix $WINEPREFIX on $DISPLAY ready in $((SECONDS - started)) s"
}

fixture_cleanup() {
  rm -f "$1/wine-env.sh"
  wine_down "$1/wine"
}

# A copy of pallix_tests.exe in a folder of its own (the program's folder is
# where Pallix keeps its files), run there.
unit_tests() {
  local build=$1 folder status=0
  shift
  # shellcheck source=/dev/null
  source "$build/wine-env.sh" || return 1
  folder=$(mktemp -d "$build/wine/unit.XXXXXX")
  cp "$build/pallix_tests.exe" "$folder/"
  # The log stays outside: the tests empty their folder.
  (cd "$folder" && timeout 280 "${WINE[@]}" pallix_tests.exe "$@") </dev/null >"$folder.log" 2>&1 ||
    status=$?
  tr -d '\r' <"$folder.log"
  ((status == 0)) && rm -rf "$folder" "$folder.log"
  return "$status"
}

# ---------------------------------------------------------------------------
# Journeys.

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}

journey_begin() {
  JOURNEY=$1
  : "${PALLIX_BUILD_DIR:?set by CTest}"
  # shellcheck source=/dev/null
  source "$PALLIX_BUILD_DIR/wine-env.sh" 2>/dev/null || fail "the wine fixture did not set up"
  PALLIX_EXE_DIR=$PALLIX_BUILD_DIR ARTIFACTS=$PALLIX_BUILD_DIR/wine/artifacts
  WINE_LOGS=$(mktemp -d "$PALLIX_BUILD_DIR/wine/$JOURNEY.XXXXXX")
  # Wine's own errors go to each program's log, shown when a journey fails:
  # a program that Wine could not start, or had to end, ends with status 1
  # and, with all messages off, in silence.
  export WINEDEBUG=-all,err+all
  trap journey_end EXIT
}

journey_end() {
  local status=$? log
  trap - EXIT
  if ((status != 0)); then
    # The desktop and Pallix as the failure left them, before anything is
    # ended: whether Pallix went, and how, or the journey lost its window.
    shot "$JOURNEY-failed" || true
    if [[ -z ${PALLIX_PID:-} ]]; then :
    elif running; then echo "--- Pallix (pid $PALLIX_PID) still runs: $(drv windows --class PallixMain)"
    else wait "$PALLIX_PID" && echo "--- Pallix has ended, status 0" || echo "--- Pallix has ended, status $?"
    fi
    echo "--- what the journey asked last" && tail -n 25 "$WINE_LOGS/journey.log"
  fi
  [[ -z ${PALLIX_PID:-} ]] || end_pallix
  wine_end_started
  ((status == 0)) && rm -rf "$WINE_LOGS" && exit 0
  for log in "$WINE_LOGS"/*.log "$PALLIX_BUILD_DIR/wine/xvfb.log"; do
    [[ $log == */journey.log || ! -s $log ]] || { echo "--- $log" && tail -n 20 "$log"; }
  done
  exit "$status"
}

shot() { import -window root -display "$DISPLAY" "$ARTIFACTS/$1.png" 2>/dev/null; }

# start_pallix FOLDER [ENTRY...]: pallix.exe (if not there yet) alone in a
# folder, or with these entries in its default_px.ini; sets PALLIX_DIR and
# PALLIX_PID.
start_pallix() {
  PALLIX_DIR=$WINE_LOGS/$1
  shift
  mkdir -p "$PALLIX_DIR"
  [[ -e $PALLIX_DIR/pallix.exe ]] || cp "$PALLIX_EXE_DIR/pallix.exe" "$PALLIX_DIR/"
  (($# == 0)) || wine_write_watch_list "$PALLIX_DIR/default_px.ini" "$@"
  wine_start "$PALLIX_DIR" pallix.exe
  PALLIX_PID=$WINE_PID
}

# end_pallix: ends Pallix from outside, and takes its icon away as Exit
# would: the tray keeps an icon whose program is gone until it next touches
# it, and the next journey would find two.
end_pallix() {
  local tray
  if tray=$(drv wait-window --message-only --class PallixTray --timeout-ms 0 2>/dev/null); then
    drv icon-delete --hwnd "${tray%% *}" --id 1 || true
  fi
  wine_end "$PALLIX_PID"
}

# start_new_user FOLDER: a first start without any INI file, up to the offer
# to create default_px.ini; sets MAIN and BOX.
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

# expect_buttons WHEN CREATE_INI_SHOWN OTHERS_ENABLED: after the answer.
expect_buttons() {
  local name
  expect_state "$(child "Create Ini")" "$1: Create Ini" "visible=$2"
  for name in "Edit ini" "Enable monitoring" "Add"; do
    expect_state "$(child "$name")" "$1: $name" "enabled=$3"
  done
}

# wait_main: the main window is shown; sets MAIN.
wait_main() {
  MAIN=$(drv wait-window --class PallixMain --visible --timeout-ms 30000) ||
    fail "Pallix's main window was not shown"
  MAIN=${MAIN%% *}
}

# child TEXT: the main window's control with that text.
child() { drv find-child --parent "$MAIN" --text "$1" || fail "no control \"$1\" on the main window"; }

# expect_state HWND WHAT KEY=VALUE...: each pair is in the driver's state of
# HWND within a few seconds (a handler may still be at work).
expect_state() {
  local hwnd=$1 what=$2 state pair missing deadline=$((SECONDS + 5))
  shift 2
  while :; do
    state=$(drv state --hwnd "$hwnd") || fail "$what: the window is gone"
    missing=""
    for pair in "$@"; do [[ " $state " == *" $pair "* ]] || missing+=" $pair"; done
    [[ -z $missing ]] && return 0
    ((SECONDS < deadline)) || fail "$what: wanted$missing, found $state"
    sleep 0.1
  done
}

# running: Pallix's process is alive (a zombie counts as ended).
running() { [[ -e /proc/$PALLIX_PID && $(awk '{ print $3 }' "/proc/$PALLIX_PID/stat") != Z ]]; }

# wait_ended SECONDS: Pallix's process ends in time; sets PALLIX_STATUS.
wait_ended() {
  local deadline=$((SECONDS + $1))
  while running; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
  PALLIX_STATUS=0
  wait "$PALLIX_PID" || PALLIX_STATUS=$?
}

# click HWND: a real left click in the middle of a window.
click() {
  local left top right bottom
  read -r left top right bottom < <(drv rect --hwnd "$1") || fail "window $1 is gone"
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) sleep 0.1 click 1 ||
    fail "xdotool could not click $1"
}

# expect_box TITLE TEXT BUTTONS: a message box with that title, text (CR LF
# written \r\n) and buttons (their texts, blank-separated) is shown; sets BOX.
expect_box() {
  local children have
  BOX=$(drv wait-window --class '#32770' --title "$1" --visible --timeout-ms 30000) ||
    fail "no message box titled \"$1\" appeared"
  BOX=${BOX%% *}
  children=$(drv children --hwnd "$BOX") || fail "message box $BOX vanished"
  cut -f2,4 <<<"$children" | grep -qxF "Static"$'\t'"$2" ||
    fail "the box \"$1\" does not say \"$2\":"$'\n'"$children"
  have=$(awk -F'\t' '$2 == "Button" { printf "%s%s", sep, $4; sep = " " }' <<<"$children")
  [[ $have == "$3" ]] || fail "the box \"$1\" has the buttons \"$have\", not \"$3\""
}

# answer BUTTON: a real click on that button of BOX, which then closes.
answer() {
  local tries=0
  click "$(drv find-child --parent "$BOX" --text "$1")" || fail "no button \"$1\" on the box"
  while drv exists --hwnd "$BOX" >/dev/null; do
    ((tries++ < 100)) || fail "the box did not close after \"$1\""
    sleep 0.05
  done
}

# tray_icons: how many icons Wine's tray window shows (Wine keeps one when
# the display has no notification area; it hides with its last icon).
tray_icons() {
  local tray
  tray=$(drv wait-window --title "Wine System Tray" --visible --timeout-ms 0 2>/dev/null) ||
    { echo 0 && return; }
  drv children --hwnd "${tray%% *}" | grep -c . || true
}

# wait_tray_icons N: the tray shows N icons within ten seconds.
wait_tray_icons() {
  local deadline=$((SECONDS + 10))
  while [[ $(tray_icons) != "$1" ]]; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# tray_click XDOTOOL_ARGS...: real input on Pallix's icon, the only one in
# the tray, with the pointer resting on it; sets ICON_X and ICON_Y.
tray_click() {
  local tray icon left top right bottom
  tray=$(drv wait-window --title "Wine System Tray" --visible --timeout-ms 10000) ||
    fail "no tray window"
  icon=$(drv children --hwnd "${tray%% *}" | cut -f1)
  [[ $icon =~ ^0x[0-9A-F]+$ ]] || fail "the tray holds not just one icon: $icon"
  read -r left top right bottom < <(drv rect --hwnd "$icon") ||
    fail "the tray's icon window $icon went before it was clicked"
  ICON_X=$(((left + right) / 2)) ICON_Y=$(((top + bottom) / 2))
  # Under Wine the first press on the tray icon after other input is often
  # lost (one time in three here); a single click, which Pallix ignores,
  # takes that place, and the pause keeps it out of any double-click.
  xdotool mousemove "$ICON_X" "$ICON_Y" sleep 0.1 click 1 sleep 0.7 "$@" ||
    fail "xdotool could not click the tray icon"
}

# tray_menu: the press of the right button on the icon opens the tray menu,
# which stays open when the button is let go; sets MENU to its "left top
# right bottom".
tray_menu() {
  tray_click mousedown 3
  MENU=$(drv wait-window --class '#32768' --visible --timeout-ms 5000) ||
    fail "the press of the right button on the icon opened no menu"
  xdotool mouseup 3
  MENU=${MENU#* }
  shot "$JOURNEY-traymenu"
}

# menu_choose FRACTION: a real click on the item that far down the open
# menu, which then closes. The tray menu's rows: the maker's site, a
# separator, "Disable", "Open", "Answer log", "Recent dialogs", "Start with
# Windows", a separator, "Exit"; the fractions are the items' middles
# (separators are half as high as items).
readonly MENU_DISABLE=0.25 MENU_OPEN=0.375 MENU_LOG=0.5 MENU_RECENT=0.625 MENU_STARTUP=0.75 \
  MENU_EXIT=0.92
menu_choose() {
  local left top right bottom tries=0
  read -r left top right bottom <<<"$MENU"
  xdotool mousemove $(((left + right) / 2)) "$(awk -v t="$top" -v b="$bottom" -v f="$1" \
    'BEGIN { printf "%d", t + (b - t) * f }')" sleep 0.2 click 1
  while drv wait-window --class '#32768' --visible --timeout-ms 0 >/dev/null 2>&1; do
    ((tries++ < 50)) || fail "the menu stayed open"
    sleep 0.1
  done
}

declare -A DIALOG_PIDS=()
# dialog NAME ARGS...: pallix_dialogs.exe (or the copy of it that DIALOGS
# names) ARGS in the background, reporting how its dialog ended to NAME.out.
dialog() {
  timeout 60 "${WINE[@]}" "${DIALOGS:-$PALLIX_EXE_DIR/pallix_dialogs.exe}" "${@:2}" </dev/null \
    >"$WINE_LOGS/$1.out" 2>>"$WINE_LOGS/pallix_dialogs.log" &
  DIALOG_PIDS[$1]=$!
}

# expect_end NAME ANSWER: the dialog ended with ANSWER (yes, no, ok,
# cancel, button, or none when it closed itself unanswered).
expect_end() {
  local status=0 kind got ms
  wait "${DIALOG_PIDS[$1]}" || status=$?
  ((status <= 1)) || fail "pallix_dialogs for $1 ended with status $status"
  read -r kind _ got _ ms <"$WINE_LOGS/$1.out" || true
  [[ $kind == result ]] || fail "pallix_dialogs for $1 reported: $(cat "$WINE_LOGS/$1.out")"
  [[ $got == "$2" ]] || fail "$1 ended with \"$got\" after $ms ms, expected \"$2\""
  echo "$1: $got after $ms ms"
}

# pixels IMAGE X,Y...: "R,G,B" of each point of a screenshot, one a line.
pixels() {
  local image=$1 format="" point x y
  shift
  for point in "$@"; do
    x=${point%,*} y=${point#*,}
    format+="%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)]"
    format+=",%[fx:int(255*p{$x,$y}.b+0.5)]\n"
  done
  convert "$image" -format "$format" info:
}

# drag_corner DX DY: a real drag of the main window's bottom right corner.
drag_corner() {
  local r b
  read -r _ _ r b < <(drv rect --hwnd "$MAIN")
  xdotool mousemove $((r - 2)) $((b - 2)) sleep 0.2 mousedown 1 sleep 0.2 \
    mousemove $((r - 2 + $1)) $((b - 2 + $2)) sleep 0.2 mouseup 1
}

# expect_caption TEXT: the monitoring switch COMMAND2 shows TEXT.
expect_caption() {
  local tries=0
  until [[ $(drv text --hwnd "$COMMAND2") == "$1" ]]; do
    ((tries++ < 25)) || fail "Command2 reads \"$(drv text --hwnd "$COMMAND2")\", not \"$1\""
    sleep 0.2
  done
}

# ---------------------------------------------------------------------------
# Capturing another program's dialog with the picker, as the user does.

# by_id ID: the main window's control with that id, as Pallix numbers them.
readonly ID_LABEL3=1001 ID_TEXT1=1004 ID_PICTURE2=1006 ID_CMD1=1008 ID_OP1=1011 ID_TEXT6=1025 \
  ID_CHECK1=1028
by_id() { drv children --hwnd "$MAIN" | awk -F'\t' -v id="$1" '$3 == id { print $1; exit }'; }
text_of() { drv text --hwnd "$(by_id "$1")"; }
centre() {
  local left top right bottom
  read -r left top right bottom < <(drv rect --hwnd "$1") || fail "window $1 is gone"
  echo $(((left + right) / 2)) $(((top + bottom) / 2))
}
# open_box NAME TITLE TEXT ARGS...: a dialog of another program; sets BOX.
open_box() {
  local tries=0 program
  program=$(basename "${DIALOGS:-pallix_dialogs.exe}")
  dialog "$1" "${@:4}" --title "$2" --text "$3" --timeout-ms 60000
  until BOX=$(drv wait-window --class '#32770' --title "$2" --program "$program" --visible \
    --timeout-ms 0) &&
    BOX=${BOX%% *} && drv children --hwnd "$BOX" | cut -f4 | grep -qxF "$3"; do
    ((tries++ < 100)) || fail "no dialog \"$2\" says \"$3\""
    sleep 0.2
  done
}
# drop_on BUTTON: a drag from the picker, let go over that button of BOX, at
# any depth.
drop_on() {
  local x y step to_x to_y button
  button=$(drv find-child --parent "$BOX" --text "$1" --deep) || fail "no button \"$1\" on $BOX"
  read -r to_x to_y < <(centre "$button") || fail "the button $button is gone"
  read -r x y < <(centre "$(by_id $ID_PICTURE2)") || fail "no picker picture"
  xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $((x + (to_x - x) * step / 6)) $((y + (to_y - y) * step / 6)) sleep 0.1
  done
  xdotool sleep 0.5 mouseup 1 sleep 0.5
}
# expect_capture TITLE OFFERED CHOSEN MESSAGE: the main window after a drop.
expect_capture() {
  local offered
  [[ $(drv text --hwnd "$MAIN") == "$(printf '%X' "$BOX")" && $(text_of $ID_TEXT1) == "$1" ]] ||
    fail "the caption and Text1 read \"$(drv text --hwnd "$MAIN")\", \"$(text_of $ID_TEXT1)\""
  offered=$(for i in 0 1 2; do text_of $((ID_CMD1 + i)); done | paste -sd'|')
  [[ $offered == "$2" ]] || fail "the chooser offers $offered"
  # BM_GETCHECK
  [[ $(drv send --hwnd "$(by_id $((ID_OP1 + $3)))" --msg 240) == 1 ]] ||
    fail "the button let go over is not the one chosen"
  [[ $(text_of $ID_TEXT6) == "$4" ]] || fail "\"When it says:\" reads \"$(text_of $ID_TEXT6)\""
}
# switch CAPTION: Command2 pressed (a real click is the monitor journey's),
# showing CAPTION afterwards.
switch() {
  drv click-button --parent "$MAIN" --text "$(drv text --hwnd "$COMMAND2")" >/dev/null
  expect_caption "$1"
}
# expect_label3 TEXT: Label3 reads TEXT within a few seconds.
expect_label3() {
  local tries=0
  until [[ $(text_of $ID_LABEL3) == "$1" ]]; do
    ((tries++ < 25)) || fail "Label3 reads \"$(text_of $ID_LABEL3)\", not \"$1\""
    sleep 0.2
  done
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -uo pipefail
  case "${1:-}" in
    setup) fixture_setup "${2:?build folder}" ;;
    cleanup) fixture_cleanup "${2:?build folder}" ;;
    unit) unit_tests "${2:?build folder}" "${@:3}" ;;
    *)
      echo "usage: harness.sh setup|cleanup BUILD_DIR | unit BUILD_DIR [GTEST_ARGS...]" >&2
      exit 2
      ;;
  esac
fi

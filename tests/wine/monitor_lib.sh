#!/usr/bin/env bash
# Helpers of the dialog-monitor tests, sourced after harness.sh and
# wine_test_begin: Pallix in a folder of its own with a watch list, its
# monitoring switch worked as a user would, and dialogs for it to answer
# (pallix_dialogs.exe, which reports how each one ended).

# Command2's two captions, for the tests that source this file.
# shellcheck disable=SC2034
readonly MONITOR_ENABLE="Enable monitoring" MONITOR_DISABLE="Disable monitoring"

# monitor_start_pallix ENTRY...: writes watch.ini with one TitleN line per
# entry, starts Pallix beside it and waits for its main window. Sets
# PALLIX_MAIN and COMMAND2 (the switch button).
monitor_start_pallix() {
  local folder="$WINE_WORK/app" main
  mkdir -p "$folder"
  cp "$PALLIX_WIN64_DIR/pallix.exe" "$folder/"
  wine_write_watch_list "$folder/watch.ini" "$@"
  wine_start "$folder" pallix.exe
  main=$(drv wait-window --class PallixMain --visible --timeout-ms 30000) ||
    fail "Pallix's main window did not appear"
  PALLIX_MAIN=${main%% *}
  COMMAND2=$(drv children --hwnd "$PALLIX_MAIN" |
    awk -F'\t' -v want="$MONITOR_ENABLE" '$2 == "Button" && $4 == want { print $1; exit }')
  [[ -n $COMMAND2 ]] || fail "no \"$MONITOR_ENABLE\" button on the main window at start"
}

# monitor_expect_caption TEXT: Command2 shows TEXT (waits a little, since a
# switch made through the tray menu arrives on Pallix's own time).
monitor_expect_caption() {
  local want=$1 caption tries=0
  while :; do
    caption=$(drv text --hwnd "$COMMAND2") || fail "Command2 ($COMMAND2) is gone"
    [[ $caption == "$want" ]] && return 0
    ((tries++ < 25)) || fail "Command2 reads \"$caption\", expected \"$want\""
    sleep 0.2
  done
}

# A real left click in the middle of Command2.
monitor_click_command2() {
  local left top right bottom
  read -r left top right bottom < <(drv rect --hwnd "$COMMAND2") ||
    fail "no rectangle for Command2"
  # No --sync: it waits for a motion that never comes when the pointer is
  # already there from the last click.
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) sleep 0.1 click 1 ||
    fail "xdotool could not click Command2"
}

# Opens the tray icon's menu as the shell does on a right click (the
# callback message 512 with WM_RBUTTONDOWN, 516, as its lParam, posted
# because the menu holds the call until it closes) and chooses "Disable",
# the second item, with the keyboard in the real popup.
monitor_tray_swenable() {
  local tray
  tray=$(drv wait-window --class PallixTray --message-only --timeout-ms 5000) ||
    fail "no PallixTray message-only window"
  drv post --hwnd "${tray%% *}" --msg 512 --lparam 516 || fail "could not post to the tray window"
  drv wait-window --class '#32768' --visible --timeout-ms 5000 >/dev/null ||
    fail "the tray menu did not open"
  wine_screenshot "$WINE_TEST_NAME-traymenu"
  xdotool key --delay 50 Down Down Return || fail "xdotool could not type into the menu"
  local tries=0
  while drv wait-window --class '#32768' --visible --timeout-ms 0 >/dev/null 2>&1; do
    ((tries++ < 50)) || fail "the tray menu stayed open"
    sleep 0.1
  done
}

# monitor_dialog_start NAME ARGS...: starts pallix_dialogs.exe ARGS in the
# background; its report goes to $WINE_WORK/NAME.out.
declare -A MONITOR_DIALOG_PIDS=()
monitor_dialog_start() {
  local name=$1
  shift
  timeout 60 wine "$PALLIX_WIN64_DIR/pallix_dialogs.exe" "$@" </dev/null \
    >"$WINE_WORK/$name.out" 2>>"$WINE_WORK/pallix_dialogs.log" &
  MONITOR_DIALOG_PIDS[$name]=$!
}

# monitor_dialog_wait NAME: waits for the dialog program to end and sets
# MONITOR_ANSWER to how its dialog ended (yes, no, ok, cancel, button, or
# none when it timed out unanswered) and MONITOR_MS to how long it was open.
monitor_dialog_wait() {
  local name=$1 status=0 kind
  wait "${MONITOR_DIALOG_PIDS[$name]}" || status=$?
  # 0 answered, 1 timed out unanswered; anything else is a broken run.
  ((status <= 1)) || fail "pallix_dialogs for $name ended with status $status"
  read -r kind _ MONITOR_ANSWER _ MONITOR_MS <"$WINE_WORK/$name.out" || true
  [[ $kind == result ]] || fail "pallix_dialogs for $name reported: $(cat "$WINE_WORK/$name.out")"
}

# monitor_expect NAME ANSWER: the dialog NAME ended with ANSWER.
monitor_expect() {
  local name=$1 want=$2
  monitor_dialog_wait "$name"
  [[ $MONITOR_ANSWER == "$want" ]] ||
    fail "$name ended with \"$MONITOR_ANSWER\" after $MONITOR_MS ms, expected \"$want\""
  echo "$name: $MONITOR_ANSWER after $MONITOR_MS ms"
}

# monitor_box NAME TITLE TYPE TIMEOUT_MS ANSWER: one message box, expected to
# end with ANSWER.
monitor_box() {
  monitor_dialog_start "$1" box --title "$2" --type "$3" --timeout-ms "$4"
  monitor_expect "$1" "$5"
}

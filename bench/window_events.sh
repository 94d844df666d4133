#!/usr/bin/env bash
# What noticing the dialogs that open costs while none opens: Pallix hooks
# the window events from its start, monitoring on or off. Twenty entries,
# monitoring off, idled by the real program and by pallix_without_noticing.exe
# (a build that never hooks them, bench/CMakeLists.txt), each twice, in
# turns, so that a change in the machine's load falls on both. The cost is
# the processor time of the program and of the Wine server, which carries
# the events.
#
# Run by bench/run.sh, or alone on a prefix and display that are up:
#   WINEPREFIX=... DISPLAY=... PALLIX_EXE_DIR=build/win64 WINE_LOGS=DIR bash bench/window_events.sh
# Prints: with_pct=P with_ms=M without_pct=Q without_ms=N seconds=S (S of
# idling for each program; percent of one core).
set -euo pipefail
# shellcheck source=scripts/wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine.sh"

readonly seconds_each=15 turns=2
hz=$(getconf CLK_TCK)

# The wineserver of our prefix: its working folder is named after the
# prefix's device and inode.
server_pid() {
  local device inode tag pid
  read -r device inode < <(stat -c '%d %i' "$WINEPREFIX")
  tag=$(printf 'server-%x-%x' "$device" "$inode")
  for pid in $(pgrep -f wineserver); do
    [[ $(readlink "/proc/$pid/cwd" 2>/dev/null) == */"$tag" ]] && echo "$pid" && return 0
  done
  return 1
}
# ticks PID: utime + stime, counted after the name's closing parenthesis.
ticks() {
  local stat
  stat=$(<"/proc/$1/stat")
  awk '{ print $12 + $13 }' <<<"${stat##*) }"
}

entries=()
for i in $(seq 1 20); do entries+=("Idle entry ${i}[&Yes]<<#32770>>"); done
declare -A spent=([pallix.exe]=0 [pallix_without_noticing.exe]=0)
for ((turn = 0; turn < turns; turn++)); do
  for program in pallix.exe pallix_without_noticing.exe; do
    folder=$WINE_LOGS/events_${program%.exe}
    mkdir -p "$folder"
    cp "$PALLIX_EXE_DIR/$program" "$folder/"
    wine_write_watch_list "$folder/watch.ini" "${entries[@]}"
    wine_start "$folder" "$program"
    drv wait-window --class PallixMain --visible --timeout-ms 30000 >/dev/null ||
      { echo "$program showed no window" >&2 && exit 1; }
    sleep 2
    server=$(server_pid) || { echo "no wineserver for $WINEPREFIX" >&2 && exit 1; }
    p0=$(ticks "$WINE_PID") s0=$(ticks "$server")
    sleep "$seconds_each"
    p1=$(ticks "$WINE_PID") s1=$(ticks "$server")
    spent[$program]=$((spent[$program] + p1 - p0 + s1 - s0))
    tray=$(drv wait-window --message-only --class PallixTray --timeout-ms 0) &&
      drv icon-delete --hwnd "${tray%% *}" --id 1 >/dev/null || true
    wine_end "$WINE_PID"
  done
done
awk -v with="${spent[pallix.exe]}" -v without="${spent[pallix_without_noticing.exe]}" -v hz="$hz" \
  -v s="$((seconds_each * turns))" 'BEGIN {
    w = with * 1000 / hz; n = without * 1000 / hz
    printf "with_pct=%.3f with_ms=%.0f without_pct=%.3f without_ms=%.0f seconds=%d\n",
      w / 10 / s, w, n / 10 / s, n, s }'

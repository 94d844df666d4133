#!/usr/bin/env bash
# The time from a start in the background, as Windows makes it at logon, to
# the monitor's first tick: the median of ten starts, each a new process.
# The start is the system clock just before wine is asked to run the program;
# the end is the same clock as pallix_first_tick.exe (a build of Pallix that
# notes the moment of its first tick, bench/CMakeLists.txt) reads it there.
# So the figure holds Wine's own start of a process, as a logon would.
#
# Run by bench/run.sh, or alone on a prefix and display that are up:
#   WINEPREFIX=... DISPLAY=... PALLIX_EXE_DIR=build/win64 WINE_LOGS=DIR bash bench/first_tick.sh
# Prints: median_ms=M min_ms=A max_ms=B starts=10
set -euo pipefail
# shellcheck source=scripts/wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine.sh"

folder=$WINE_LOGS/first_tick
mkdir -p "$folder"
cp "$PALLIX_EXE_DIR/pallix_first_tick.exe" "$folder/"
wine_write_watch_list "$folder/watch.ini" 'Bench box[&Yes]<<#32770>>'
times=()
for ((run = 0; run < 10; run++)); do
  rm -f "$folder/first_tick.txt"
  started=$(date +%s%6N)
  wine_start "$folder" pallix_first_tick.exe /background
  for ((tries = 0; tries < 300; tries++)); do
    [[ -s $folder/first_tick.txt ]] && break
    sleep 0.02
  done
  [[ -s $folder/first_tick.txt ]] || { echo "no first tick within 6 s" >&2 && exit 1; }
  times+=("$(($(cat "$folder/first_tick.txt") - started))")
  # Its icon goes with it, as Exit would take it: the next start adds its own.
  tray=$(drv wait-window --message-only --class PallixTray --timeout-ms 0) &&
    drv icon-delete --hwnd "${tray%% *}" --id 1 || true
  wine_end "$WINE_PID"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 / 1000 } END {
  printf "median_ms=%.0f min_ms=%.0f max_ms=%.0f starts=%d\n", (t[5] + t[6]) / 2, t[1], t[NR], NR }'

#!/usr/bin/env bash
# Builds Pallix for Windows and runs it under Wine. With a usable X display,
# Pallix starts there and runs until Exit is chosen in its tray menu. Without
# one, a virtual display (Xvfb) is started and Pallix's main job is shown on
# it (scripts/main_job.sh); the exit status then says whether the dialog was
# answered. Ctrl+C ends Pallix and everything this script started.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
state=$root/build/wine-run

bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target pallix pallix_driver pallix_dialogs

# shellcheck source=scripts/wine.sh
source scripts/wine.sh
# Pallix's own Wine prefix, kept between runs, so that the user's Wine
# setup is left alone.
export WINEPREFIX=$state/prefix PALLIX_EXE_DIR=$root/build/win64 WINE_LOGS=$state
mkdir -p "$state"

# Everything started here ends with the script, whose status stays its own.
finish() {
  local status=$?
  trap - EXIT INT TERM
  set +e
  wine_end_started
  wine_end_prefix "$WINEPREFIX"
  wine_end_xvfb "$state/xvfb.pid"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

main_job=""
if [[ -z ${DISPLAY:-} ]] || ! timeout 10 xdpyinfo >/dev/null 2>&1; then
  display=$(wine_start_xvfb "$state/xvfb.log" "$state/xvfb.pid") || {
    echo "Could not start a virtual display; see build/wine-run/xvfb.log" >&2
    exit 1
  }
  export DISPLAY=":$display"
  # Nobody could see Pallix idle there: show its main job instead.
  echo "No usable X display: started a virtual one (Xvfb) on $DISPLAY to show Pallix at work."
  main_job=1
fi

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Preparing a Wine prefix for Pallix (once): $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wine_make_prefix "$state/prefix.log" || {
    echo "Making the Wine prefix failed; see build/wine-run/prefix.log" >&2
    exit 1
  }
fi

if [[ -n $main_job ]]; then
  bash scripts/main_job.sh "$PALLIX_EXE_DIR" "$state"
  exit 0
fi

# Pallix keeps its INI files beside the program.
wine_start "$PALLIX_EXE_DIR" pallix.exe
echo "Pallix is running (pid $WINE_PID) on display $DISPLAY."
wait "$WINE_PID" || true

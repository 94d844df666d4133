#!/usr/bin/env bash
# Builds Pallix for Windows and runs it under Wine. Without a usable X display
# it starts a virtual one (Xvfb) for Pallix. Ctrl+C ends Pallix and everything
# this script started.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target pallix pallix_driver pallix_dialogs

# Pallix's own Wine prefix, kept between runs, so that the user's Wine
# setup is left alone.
export WINEPREFIX="$root/build/wine-run/prefix"
export WINEDEBUG=-all
# There may be no network: Wine must not offer to fetch Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
source tests/wine/harness.sh

xvfb_pid_file="$root/build/wine-run/xvfb.pid"
pallix_pid=""
mkdir -p "$root/build/wine-run"

finish() {
  trap - EXIT INT TERM
  [[ -n $pallix_pid ]] && wine_end "$pallix_pid"
  wine_end_prefix "$WINEPREFIX"
  wine_end_xvfb "$xvfb_pid_file"
}
trap finish EXIT
trap 'exit 130' INT TERM

main_job=""
if [[ -z ${DISPLAY:-} ]] || ! timeout 10 xdpyinfo >/dev/null 2>&1; then
  display=$(wine_start_xvfb "$root/build/wine-run/xvfb.log" "$xvfb_pid_file") || {
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
  wine_make_prefix "$root/build/wine-run/prefix.log" || {
    echo "Making the Wine prefix failed; see build/wine-run/prefix.log" >&2
    exit 1
  }
fi

if [[ -n $main_job ]]; then
  bash scripts/main_job.sh "$root/build/win64" "$root/build/wine-run"
  exit
fi

# Pallix keeps its INI files beside the program.
(cd build/win64 && exec wine pallix.exe) </dev/null >>"$root/build/wine-run/pallix.log" 2>&1 &
pallix_pid=$!
echo "Pallix is running (pid $pallix_pid) on display $DISPLAY."
wait "$pallix_pid" || true
pallix_pid=""

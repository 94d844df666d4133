#!/usr/bin/env bash
# Runs the profile corpus through kernel32 under Wine and through our own
# functions, and fails on any difference that known_divergences.txt does not
# explain.
#
#   run_differential.sh PROBE_EXE HOST_RUNNER CORPUS KNOWN_DIVERGENCES BUILD_DIR
#
# The wine fixture leaves BUILD_DIR/wine-env.sh; without it the script makes a
# private prefix of its own (about a minute) and removes it afterwards. The
# probe is a console program and needs no display. Wine results of the last
# run stay in BUILD_DIR/profile_differential-wine.txt.
set -euo pipefail

probe=$1 runner=$2 corpus=$3 known=$4 build=$5

if [[ ! -f $probe ]]; then
  echo "FAIL: no $probe: the Windows build did not make the probe" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/profile-diff.XXXXXX")
own_prefix=""
cleanup() {
  if [[ -n $own_prefix ]]; then
    # -k reaches only the server of this prefix and what runs in it.
    WINEPREFIX=$own_prefix timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX=$own_prefix timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

env_file=$build/wine-env.sh
if [[ -f $env_file ]]; then
  # shellcheck source=/dev/null
  source "$env_file"
else
  own_prefix=$work/prefix
  export WINEPREFIX=$own_prefix
  # There is no network: Wine must not try to fetch Mono or Gecko.
  export WINEDLLOVERRIDES='mscoree,mshtml='
  unset DISPLAY
  echo "no $env_file: making a private Wine prefix"
  if ! WINEARCH=win64 WINEDEBUG=-all timeout 180 wineboot -i </dev/null >"$work/wineboot.log" 2>&1; then
    echo "FAIL: wineboot did not make the prefix" >&2
    tail -n 20 "$work/wineboot.log" >&2
    exit 1
  fi
fi
export WINEDEBUG=-all

mkdir "$work/wine" "$work/host"
# Wine's drive Z: is the host's root.
scratch="Z:$(printf '%s' "$work/wine" | tr / '\\')"
# Every stream goes to a file: a Wine process, and the server it may start,
# would otherwise hold CTest's output pipe open.
if ! timeout 300 wine "$probe" "$scratch" <"$corpus" >"$work/wine-results.txt" \
  2>"$work/wine-stderr.txt"; then
  echo "FAIL: the probe did not finish under Wine" >&2
  tail -n 20 "$work/wine-stderr.txt" >&2
  exit 1
fi
cp "$work/wine-results.txt" "$build/profile_differential-wine.txt"

"$runner" "$corpus" "$work/host" "$work/wine-results.txt" "$known"

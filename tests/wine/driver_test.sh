#!/usr/bin/env bash
# The driver against a window whose contents are known: every later Wine test
# trusts what it finds, reads and clicks.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
wine_test_begin wine_driver

wine_start "$PALLIX_WIN64_DIR" pallix_wine_target.exe
target=$WINE_PID

# Finding: by class, by the start of the title, and not by half a title.
found=$(drv wait-window --class PallixDriverTarget --visible --timeout-ms 30000) ||
  fail "the target window did not appear"
read -r hwnd left top right bottom <<<"$found"
[[ "$left $top $right $bottom" == "50 60 350 260" ]] ||
  fail "rectangle is $left $top $right $bottom, the target asked for 50 60 350 260"
by_prefix=$(drv wait-window --title-prefix "Driver tar" --timeout-ms 0) ||
  fail "not found by the start of its title"
[[ ${by_prefix%% *} == "$hwnd" ]] || fail "the title prefix found $by_prefix, not $hwnd"
if drv wait-window --title "Driver" --timeout-ms 0 >/dev/null; then
  fail "an exact title matched only the start of one"
fi
if drv wait-window --class PallixDriverTarget --title "Another title" --timeout-ms 300 >/dev/null; then
  fail "class and title must both match"
fi

# Reading: children in creation order, texts escaped to one line each.
children=$(drv children --hwnd "$hwnd")
expected=$(printf '%s\t%s\t%s\n' \
  Static 5 'line one\r\nline two\twith a tab' \
  Button 6 Yes \
  Button 7 No)
[[ $(cut -f2- <<<"$children") == "$expected" ]] ||
  fail "children are"$'\n'"$children"$'\n'"expected"$'\n'"$expected"
static_hwnd=$(head -n1 <<<"$children" | cut -f1)
[[ $(drv text --hwnd "$static_hwnd") == 'line one\r\nline two\twith a tab' ]] ||
  fail "text of the label: $(drv text --hwnd "$static_hwnd")"

# Sending: both parameters arrive whole, a negative one and one wider than 32
# bits among them.
[[ $(drv send --hwnd "$hwnd" --msg 0x8001 --wparam 40 --lparam -2) == 38 ]] ||
  fail "WM_APP+1 with 40 and -2 did not answer 38"
[[ $(drv send --hwnd "$hwnd" --msg 0x8001 --wparam 0x100000000 --lparam 1) == 4294967297 ]] ||
  fail "a wparam above 32 bits was cut"

# Clicking: the named button and no other.
drv click-button --parent "$hwnd" --text No >/dev/null || fail "no button No"
[[ $(drv text --hwnd "$hwnd") == "Driver target: No" ]] ||
  fail "after clicking No the title is $(drv text --hwnd "$hwnd")"
if drv click-button --parent "$hwnd" --text Maybe >/dev/null; then
  fail "clicked a button that does not exist"
fi
drv click-button --parent "$hwnd" --text Yes --post >/dev/null || fail "posting a click failed"
tries=0
until [[ $(drv text --hwnd "$hwnd") == "Driver target: Yes" ]]; do
  ((tries++ < 20)) || fail "a posted click on Yes never arrived"
  sleep 0.1
done

# Resources: a count, or an honest "unsupported" where the system has none.
pid=$(drv pid --hwnd "$hwnd") || fail "no process for $hwnd"
resources_status=0
resources=$(drv gui-resources --pid "$pid") || resources_status=$?
case $resources_status in
  0) [[ $resources =~ ^gdi=[0-9]+\ user=[0-9]+$ ]] || fail "gui-resources printed $resources" ;;
  3) [[ $resources == unsupported ]] || fail "gui-resources printed $resources" ;;
  *) fail "gui-resources failed ($resources_status): $resources" ;;
esac
echo "gui-resources: $resources"

# Existence: true while the window lives, false once it is closed.
[[ $(drv exists --hwnd "$hwnd") == yes ]] || fail "the live window does not exist"
drv post --hwnd "$hwnd" --msg 0x0010 || fail "could not post WM_CLOSE"
tries=0
while kill -0 "$target" 2>/dev/null; do
  ((tries++ < 100)) || fail "the target did not close on WM_CLOSE"
  sleep 0.1
done
if drv exists --hwnd "$hwnd" >/dev/null; then
  fail "a closed window still exists"
fi
echo "the driver found, read, sent to and clicked the target as expected"

#!/usr/bin/env bash
# Pallix started in a folder without any INI file: before its main window is
# shown it says that nothing is set up; once that is answered the main window
# appears.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
wine_test_begin wine_smoke_start

readonly nothing_set_up="There is no windows set up  for control"

folder="$WINE_WORK/app"
mkdir "$folder"
cp "$PALLIX_WIN64_DIR/pallix.exe" "$folder/"
wine_start "$folder" pallix.exe
pallix=$WINE_PID

box=$(drv wait-window --class '#32770' --title Pallix --visible --timeout-ms 30000) ||
  fail "no message box titled Pallix appeared"
read -r box_hwnd _ <<<"$box"
wine_screenshot wine_smoke_start-message
children=$(drv children --hwnd "$box_hwnd") || fail "message box $box_hwnd vanished"
awk -F'\t' -v want="$nothing_set_up" '$2 == "Static" && $4 == want { found = 1 }
  END { exit !found }' <<<"$children" ||
  fail "message box does not say \"$nothing_set_up\"; its children:"$'\n'"$children"

# The message belongs to loading, which comes before the window is shown.
if main=$(drv wait-window --class PallixMain --visible --timeout-ms 0); then
  fail "main window ($main) is already shown while the message box is open"
fi

# Posted, as a user's click: closing the box goes on into showing the main
# window, which asks its own question before a sent click would return.
drv click-button --parent "$box_hwnd" --text OK --post >/dev/null || fail "the box has no OK button"

# Activation asks whether to create the default file; answered No, the
# folder stays empty.
main="" question=""
deadline=$((SECONDS + 30))
while ((SECONDS < deadline)); do
  if main=$(drv wait-window --class PallixMain --title-prefix Pallix --visible --timeout-ms 200); then
    break
  fi
  if [[ -z $question ]] && question=$(drv wait-window --class '#32770' --title 'default_px.ini?' \
    --visible --timeout-ms 0); then
    drv click-button --parent "${question%% *}" --text '&No' --post >/dev/null ||
      fail "the default_px.ini? question has no No button"
  fi
done
[[ -n $main ]] || fail "the main window did not appear after the message was answered"
read -r main_hwnd left top right bottom <<<"$main"
((right > left && bottom > top)) || fail "main window has an empty rectangle: $main"
wine_screenshot wine_smoke_start-main
echo "main window $main_hwnd at $left,$top-$right,$bottom"

wine_end "$pallix"
if drv exists --hwnd "$main_hwnd" >/dev/null; then
  fail "main window $main_hwnd outlived its process"
fi
echo "Pallix started, answered its first message and showed its main window"

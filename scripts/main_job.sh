#!/usr/bin/env bash
# Pallix's main job, shown on a display nobody looks at: Pallix starts in a
# scratch folder with a sample watch list, monitoring is switched on with a
# real mouse click on its button, another program opens the watched dialog,
# and Pallix answers it. Prints what happened, leaves a screenshot, ends
# every process it started, and exits 0 only when the dialog was answered.
#
#   main_job.sh EXE_DIR OUTPUT_DIR
#
# WINEPREFIX and DISPLAY must be set (scripts/run.sh does).
set -euo pipefail
# shellcheck source=scripts/wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
export PALLIX_EXE_DIR=$1
out=$2
mkdir -p "$out"
WINE_LOGS=$(mktemp -d "${TMPDIR:-/tmp}/pallix-main-job.XXXXXX")

finish() {
  local status=$?
  set +e
  wine_end_started
  if ((status == 0)); then rm -rf "$WINE_LOGS"; else echo "Logs: $WINE_LOGS" >&2; fi
  exit "$status"
}
trap finish EXIT

cp "$PALLIX_EXE_DIR/pallix.exe" "$WINE_LOGS/"
# One watched dialog: the message box titled "Save changes", answered Yes.
wine_write_watch_list "$WINE_LOGS/default_px.ini" 'Save changes[&Yes]<<#32770>>'
wine_start "$WINE_LOGS" pallix.exe
main=$(drv wait-window --class PallixMain --visible --timeout-ms 30000 | awk '{print $1}')
[[ -n $main ]] || { echo "Pallix's window did not appear." >&2; exit 1; }
echo "Pallix is running; its watch list names the dialog \"Save changes\", to be answered Yes."

# Switch monitoring on as a user would: a click on the button.
switch=$(drv find-child --parent "$main" --text "Enable monitoring")
read -r left top right bottom < <(drv rect --hwnd "$switch")
xdotool mousemove --sync $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
for _ in $(seq 50); do
  [[ $(drv text --hwnd "$switch") == "Disable monitoring" ]] && break
  sleep 0.1
done
[[ $(drv text --hwnd "$switch") == "Disable monitoring" ]] || {
  echo "The click did not switch monitoring on." >&2
  exit 1
}
echo "Clicked \"Enable monitoring\": monitoring is on."

# Another program opens the dialog and reports how it ended.
result=$(timeout 60 "${WINE[@]}" "$PALLIX_EXE_DIR/pallix_dialogs.exe" box --title "Save changes" \
  --text "Save changes to model.3dm?" --type yesnocancel --timeout-ms 10000 \
  </dev/null 2>>"$WINE_LOGS/dialogs.log" | grep '^result' || true)
read -r _ _ answer _ milliseconds <<<"$result"
import -window root -display "$DISPLAY" "$out/main-job.png" 2>/dev/null || true
if [[ ${answer:-none} == none ]]; then
  echo "The dialog was not answered." >&2
  exit 1
fi
echo "Another program opened \"Save changes\"; Pallix answered it with ${answer^}" \
  "after $(printf "%.0f" "$milliseconds") ms."
echo "Screenshot: $out/main-job.png"

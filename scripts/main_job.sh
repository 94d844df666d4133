#!/usr/bin/env bash
# Pallix's main job, shown on a display nobody looks at: Pallix starts in a
# scratch folder with a sample watch list, monitoring is switched on with a
# real mouse click on its button, another program opens the watched dialog,
# and Pallix answers it. Prints what happened, leaves a screenshot, and ends
# every process it started.
#
#   main_job.sh WIN64_BUILD_DIR OUTPUT_DIR
#
# WINEPREFIX and DISPLAY must be set (scripts/run.sh does).
set -euo pipefail
win64=$1 out=$2
mkdir -p "$out"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/pallix-main-job.XXXXXX")
pallix_pid=""
finish() {
  [[ -n $pallix_pid ]] && kill "$pallix_pid" 2>/dev/null && wait "$pallix_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap finish EXIT

driver() { timeout 60 wine "$win64/pallix_driver.exe" "$@" </dev/null 2>>"$scratch/driver.log"; }

cp "$win64/pallix.exe" "$scratch/"
# One watched dialog: the message box titled "Save changes", answered Yes.
printf '[WindowTitles]\r\nNum_Windows=1\r\nTitle1=Save changes[&Yes]<<#32770>>\r\n' \
  >"$scratch/default_px.ini"

(cd "$scratch" && exec wine pallix.exe) </dev/null >"$scratch/pallix.log" 2>&1 &
pallix_pid=$!
main=$(driver wait-window --class PallixMain --visible --timeout-ms 30000 | awk '{print $1}')
[[ -n $main ]] || { echo "Pallix's window did not appear." >&2; exit 1; }
echo "Pallix is running; its watch list names the dialog \"Save changes\", to be answered Yes."

# Switch monitoring on as a user would: a click on the button.
switch=$(driver find-child --parent "$main" --text "Enable monitoring" | awk '{print $1}')
read -r left top right bottom < <(driver rect --hwnd "$switch")
xdotool mousemove --sync $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
for _ in $(seq 50); do
  [[ $(driver text --hwnd "$switch") == "Disable monitoring" ]] && break
  sleep 0.1
done
[[ $(driver text --hwnd "$switch") == "Disable monitoring" ]] || {
  echo "The click did not switch monitoring on." >&2
  exit 1
}
echo "Clicked \"Enable monitoring\": monitoring is on."

# Another program opens the dialog and reports how it ended.
result=$(timeout 60 wine "$win64/pallix_dialogs.exe" box --title "Save changes" \
  --text "Save changes to model.3dm?" --type yesnocancel --timeout-ms 10000 \
  </dev/null 2>>"$scratch/dialogs.log" | tr -d '\r' | grep '^result' || true)
read -r _ _ answer _ milliseconds <<<"$result"
import -window root -display "$DISPLAY" "$out/main-job.png" 2>/dev/null || true
case ${answer:-none} in
  none) echo "The dialog was not answered." >&2; exit 1 ;;
  *) echo "Another program opened \"Save changes\"; Pallix answered it with ${answer^} after $(printf "%.0f" "$milliseconds") ms." ;;
esac
echo "Screenshot: $out/main-job.png"

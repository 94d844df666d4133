#!/usr/bin/env bash
# Another program's dialogs that one click does not close. One whose button
# changes nothing gets three clicks, then is left alone with one "no effect"
# line in pallix.log; one whose button is disabled at first is clicked only
# once it is enabled, and then at once. A batch of thirty boxes, each opened
# as the last one closes, is answered whole all the while.
set -euo pipefail
# shellcheck source=tests/wine/harness.sh
source "$(dirname "$0")/harness.sh"
journey_begin wine_clicks

start_pallix app 'Apply settings[&Apply]<<#32770>>' 'Enter a name[OK]<<#32770>>' \
  'Next box[OK]<<#32770>>'
wait_main
COMMAND2=$(child "Enable monitoring")
click "$COMMAND2"
expect_caption "Disable monitoring"

dialog stays dialog --title 'Apply settings' --button '&Apply' --stay --timeout-ms 5000
dialog late dialog --title 'Enter a name' --button OK --disabled-ms 1500 --timeout-ms 10000
dialog series series --count 30 --title 'Next box' --type ok --expect ok --timeout-ms 5000
expect_end stays none
expect_end late button
expect_end series ok
out=$WINE_LOGS
clicks=$(grep -c '^click ' "$out/stays.out" || true)
((clicks == 3)) ||
  fail "the button that changes nothing got $clicks clicks:"$'\n'"$(cat "$out/stays.out")"
# Milliseconds from the button's enabling to each click: one, not below 0.
late=$(awk '$1 == "click" { print $3 }' "$out/late.out" | paste -sd' ')
if ! [[ $late =~ ^[0-9]+[.][0-9]+$ ]] || ! awk -v ms="$late" 'BEGIN { exit !(ms < 500) }'; then
  fail "the button enabled late got clicks at $late ms from its enabling"
fi
grep -qx 'summary count=30 answered=30 unanswered=0 wrong=0 .*' "$out/series.out" ||
  fail "the batch: $(tail -n 1 "$out/series.out")"

log=$PALLIX_DIR/pallix.log
cp "$log" "$ARTIFACTS/$JOURNEY-pallix.log" || fail "no pallix.log"
got=$(tr -d '\r' <"$log" |
  awk -F'\t' '$6 != "pallix_dialogs.exe" { print "?" } { print $3 ": " $2 }' |
  LC_ALL=C sort | uniq -c | awk '{ $1 = $1 } 1' | paste -sd,)
want="1 Apply settings: answered,1 Apply settings: no effect,1 Enter a name: answered"
[[ $got == "$want,30 Next box: answered" ]] ||
  fail "pallix.log's lines, counted: $got"$'\n'"$(cat -A "$log")"
grep $'\tApply settings\t' "$log" | cut -f2 | paste -sd, | grep -qx 'answered,no effect' ||
  fail "the standing dialog's lines are not \"answered\" then \"no effect\""
echo "three clicks on a button that changed nothing, one $late ms after a late button's" \
  "enabling, thirty boxes answered"

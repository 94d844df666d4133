#!/usr/bin/env bash
# Another program's dialogs: one whose button changes nothing gets three
# clicks and one "no effect" line; one whose button is enabled late is
# clicked only then, at once; thirty boxes back to back are all answered.
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
# Each title's outcomes in the order written, the batch's counted.
got=$(tr -d '\r' <"$log" | awk -F'\t' '{ print $3 ": " $2 }' | LC_ALL=C sort -s -t: -k1,1 |
  uniq -c | awk '{ $1 = $1 } 1' | paste -sd,)
want="1 Apply settings: answered,1 Apply settings: no effect,1 Enter a name: answered"
[[ $got == "$want,30 Next box: answered" ]] || fail "pallix.log's lines: $got"
echo "three clicks on a button that changed nothing, one $late ms after a late button's" \
  "enabling, thirty boxes answered"

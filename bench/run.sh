#!/usr/bin/env bash
# The benchmarks: the real pallix.exe under Wine on a virtual X display,
# answering dialogs of another process (bench/dialogs.cpp), and idling.
#
#   bash bench/run.sh
#
# Prints one table: answer latency against a 1 ms poller doing the same
# calls (the floor of the method), the processor time of Pallix and the Wine
# server while monitoring idles against a bare 55 ms timer making as many
# lookups (the floor of idling), memory and object counts, and a soak of
# 1,000 dialogs, two hundred entries (idle, latency, one tick among fifty
# other windows, bench/list_tick.cpp) and the time from a hand edit to its
# answer (bench/hand_edit.cpp), Remove of entry 1 of 1,000 from Yes to the
# file and to the list (bench/remove.cpp), the picker's handlers timed on
# real windows (bench/picker.cpp), what the answer log costs an answer and a line
# (bench/answer_log.cpp), entries that carry messages: latency with twenty,
# and one tick timed in-process against three nested dialogs
# (bench/message_tick.cpp), the time from a start in the background to its
# first tick (bench/first_tick.sh), the idle cost of the window events
# that notice dialogs for "Recent dialogs" (bench/window_events.sh), and
# boxes each opened by a new process, message boxes, TaskDialogs and
# Windows Forms dialogs, against their own floor. Pallix answers most boxes
# as window events report them; the 55 ms tick alone, its safety net, is
# timed as well, in a build that never hooks the events for the monitor
# (pallix_without_events, bench/CMakeLists.txt), on the same series; and a
# burst of a thousand windows of a watched class that no entry answers,
# made by another program, costs Pallix what it prints while a box opened
# meanwhile is answered. Floors
# are measured in the same run on the same machine, as Wine's cost varies
# from machine to machine and run to run.
# Each figure is printed with its target and PASS or FAIL; the exit status
# is 0 when every target is met and 1 when one is missed. Takes about
# fifteen minutes.
# Everything it makes lives under build/bench; the Wine prefix and display
# are its own and go when it ends.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/bench
# shellcheck source=scripts/wine.sh
source "$root/scripts/wine.sh"

bash "$root/scripts/deps.sh"

echo "== building the Windows programs"
mkdir -p "$build"
cmake -S "$root" -B "$build/win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF >"$build/configure.log" 2>&1 || {
  tail -n 30 "$build/configure.log"
  exit 1
}
cmake --build "$build/win64" >"$build/build.log" 2>&1 || {
  tail -n 30 "$build/build.log"
  exit 1
}

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}

echo "== a private Wine prefix and display"
# What an interrupted run left behind goes first.
wine_down "$build/wine"
rm -rf "$build/wine"
wine_up "$build/wine" || exit 1
export PALLIX_EXE_DIR=$build/win64 WINE_LOGS=$build/wine/work
mkdir -p "$WINE_LOGS"
bench_end() {
  local status=$?
  trap - EXIT
  set +e
  wine_end_started
  wine_down "$build/wine"
  ((status == 0)) || echo "logs and reports are in $WINE_LOGS"
  exit "$status"
}
trap bench_end EXIT

dialogs=$PALLIX_EXE_DIR/pallix_dialogs.exe
poller=$PALLIX_EXE_DIR/pallix_poller.exe
objects=$PALLIX_EXE_DIR/pallix_objects.exe
readonly period_ms=55
clock_ticks=$(getconf CLK_TCK)
readonly clock_ticks

# ---------------------------------------------------------------------------
# Processes and their figures.

# The wineserver of our prefix: its working folder is named after the
# prefix's device and inode.
wineserver_pid() {
  local device inode tag pid
  read -r device inode < <(stat -c '%d %i' "$WINEPREFIX")
  tag=$(printf 'server-%x-%x' "$device" "$inode")
  for pid in $(pgrep -f wineserver); do
    [[ $(readlink "/proc/$pid/cwd" 2>/dev/null) == */"$tag" ]] && {
      echo "$pid"
      return 0
    }
  done
  return 1
}

# utime + stime of a process, in clock ticks. The name in field 2 may hold
# blanks, so fields are counted after its closing parenthesis.
cpu_ticks() {
  local stat
  stat=$(<"/proc/$1/stat") || return 1
  stat=${stat##*) }
  awk '{ print $12 + $13 }' <<<"$stat"
}

# status_kib PID FIELD: a size from /proc/PID/status, in KiB.
status_kib() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"; }

# start_pallix NAME ENTRY...: Pallix in a folder of its own with these
# entries. Sets PALLIX_LINUX (the Linux pid), PALLIX_WINPID, PALLIX_MAIN.
start_pallix() {
  local folder="$WINE_LOGS/$1" main
  shift
  mkdir -p "$folder"
  cp "$PALLIX_EXE_DIR/pallix.exe" "$folder/"
  wine_write_watch_list "$folder/watch.ini" "$@"
  wine_start "$folder" pallix.exe
  PALLIX_LINUX=$WINE_PID
  main=$(drv wait-window --class PallixMain --visible --timeout-ms 30000) ||
    fail "Pallix's main window did not appear"
  PALLIX_MAIN=${main%% *}
  PALLIX_WINPID=$(drv pid --hwnd "$PALLIX_MAIN")
  # wine replaces itself with the Windows process, so the pid it was
  # started as is the program's own.
  grep -q pallix.exe "/proc/$PALLIX_LINUX/cmdline" ||
    fail "process $PALLIX_LINUX is not pallix.exe: $(tr '\0' ' ' <"/proc/$PALLIX_LINUX/cmdline")"
}

stop_pallix() {
  wine_end "$PALLIX_LINUX"
}

# switch_monitoring CAPTION: presses Command2 while it shows CAPTION.
switch_monitoring() {
  drv click-button --parent "$PALLIX_MAIN" --text "$1" >/dev/null ||
    fail "no \"$1\" button on Pallix's main window"
}

# series NAME ARGS...: runs pallix_dialogs series; the report lands in
# $WINE_LOGS/NAME.out and its summary fields in SUMMARY[...].
declare -A SUMMARY=()
summary_of() {
  local line field
  line=$(grep '^summary ' "$1") || fail "no summary in $1"
  SUMMARY=()
  for field in ${line#summary }; do SUMMARY[${field%%=*}]=${field#*=}; done
}

series() {
  local name=$1
  shift
  timeout 600 "${WINE[@]}" "$dialogs" series "$@" </dev/null >"$WINE_LOGS/$name.out" \
    2>>"$WINE_LOGS/pallix_dialogs.log" || true
  summary_of "$WINE_LOGS/$name.out"
}

# idle_cost PID SECONDS: percent of one core that the process and the server
# used over that time, their processor time in ms and the time in s. Sets
# IDLE_PCT, IDLE_MS, IDLE_WALL, and IDLE_SPLIT (the process's ms + the
# server's).
idle_cost() {
  local pid=$1 seconds=$2 server p0 s0 p1 s1 t0 t1
  server=$(wineserver_pid) || fail "no wineserver for $WINEPREFIX"
  t0=$(date +%s.%N) p0=$(cpu_ticks "$pid") s0=$(cpu_ticks "$server")
  sleep "$seconds"
  t1=$(date +%s.%N) p1=$(cpu_ticks "$pid") s1=$(cpu_ticks "$server")
  read -r IDLE_PCT IDLE_MS IDLE_WALL < <(awk -v p="$((p1 - p0))" -v s="$((s1 - s0))" \
    -v hz="$clock_ticks" -v t0="$t0" -v t1="$t1" \
    'BEGIN { ms = (p + s) * 1000 / hz; wall = t1 - t0;
             printf "%.3f %.1f %.3f\n", ms / 10 / wall, ms, wall }')
  IDLE_SPLIT="$(((p1 - p0) * 1000 / clock_ticks)) + $(((s1 - s0) * 1000 / clock_ticks))"
}

# snapshot: "gdi windows hwm_kib rss_kib" of the running Pallix.
snapshot() {
  local line gdi windows
  line=$("${WINE[@]}" "$objects" --pid "$PALLIX_WINPID" 2>>"$WINE_LOGS/objects.log" | tr -d '\r') ||
    fail "pallix_objects could not read process $PALLIX_WINPID"
  gdi=$(sed -n 's/.*gdi_table=\([^ ]*\).*/\1/p' <<<"$line")
  windows=$(sed -n 's/.*windows=\([^ ]*\).*/\1/p' <<<"$line")
  echo "$gdi $windows $(status_kib "$PALLIX_LINUX" VmHWM) $(status_kib "$PALLIX_LINUX" VmRSS)"
}

# ---------------------------------------------------------------------------
# The table.

RESULTS=()
# row LABEL VALUE TARGET VERDICT
row() { RESULTS+=("$(printf '%-42s %-28s %-28s %s' "$1" "$2" "$3" "$4")"); }
# verdict CONDITION (an awk expression)
verdict() {
  if awk "BEGIN { exit !($1) }"; then echo PASS; else echo FAIL; fi
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# Dialogs open at random moments relative to Pallix's timer, as real ones
# do: a gap of 0 to two periods before each. Without it each box would
# open a fixed time after the click of the last, always at the same point
# of the period, and every latency would be the same.
readonly latency_count=200
latency_series=(--count "$latency_count" --title 'Bench box' --type yesnocancel --expect yes
  --timeout-ms 5000 --gap-ms 0-$((2 * period_ms)) --seed 7)

echo "== Pallix with one entry: idle, latency, soak"
start_pallix one 'Bench box[&Yes]<<#32770>>'
read -r gdi_start windows_start hwm_start rss_start < <(snapshot)
switch_monitoring "Enable monitoring"
sleep 2
echo "   idle, 60 s"
idle_cost "$PALLIX_LINUX" 60
idle1_pct=$IDLE_PCT idle1_ms=$IDLE_MS idle1_wall=$IDLE_WALL idle1_split=$IDLE_SPLIT

echo "   answer latency, $latency_count boxes"
series latency_pallix "${latency_series[@]}"
pallix_median=${SUMMARY[median_ms]} pallix_p95=${SUMMARY[p95_ms]} pallix_p99=${SUMMARY[p99_ms]}
pallix_answered=${SUMMARY[answered]} pallix_wrong=${SUMMARY[wrong]}

echo "   soak, 1000 boxes in a row"
soak_out=$WINE_LOGS/soak.out
timeout 900 "${WINE[@]}" "$dialogs" series --count 1000 --title 'Bench box' --type yesnocancel \
  --expect yes --timeout-ms 5000 --pause-after 100 --pause-ms 5000 </dev/null >"$soak_out" \
  2>>"$WINE_LOGS/pallix_dialogs.log" &
soak_pid=$!
tries=0
until grep -q '^pause ' "$soak_out" 2>/dev/null; do
  kill -0 "$soak_pid" 2>/dev/null || fail "the soak ended before its hundredth box"
  ((tries++ < 1200)) || fail "the soak did not reach its hundredth box"
  sleep 0.1
done
sleep 1
read -r gdi_100 windows_100 hwm_100 rss_100 < <(snapshot)
wait "$soak_pid" || true
summary_of "$soak_out"
soak_answered=${SUMMARY[answered]} soak_unanswered=${SUMMARY[unanswered]}
soak_wrong=${SUMMARY[wrong]} soak_median=${SUMMARY[median_ms]} soak_p99=${SUMMARY[p99_ms]}
soak_count=${SUMMARY[count]}
# Every box of the soak and the latency series closes on its click, so
# each should leave one "answered" line; a "no effect" would be a box slow
# to close after three clicks, left alone while it closed by itself.
soak_outcomes=$(tr -d '\r' <"$WINE_LOGS/one/pallix.log" | awk -F'\t' '{ n[$2]++ }
  END { printf "%d / %d / %d", n["answered"], n["no effect"], n["not responding"] }')
sleep 1
read -r gdi_1000 windows_1000 hwm_1000 rss_1000 < <(snapshot)

echo "   the floor: a 1 ms poller, Pallix switched off"
switch_monitoring "Disable monitoring"
wine_start "$WINE_LOGS" "$poller" --class '#32770' --title 'Bench box' --button '&Yes' \
  --period-ms 1
poller_pid=$WINE_PID
sleep 1
series latency_floor "${latency_series[@]}"
floor_median=${SUMMARY[median_ms]} floor_p95=${SUMMARY[p95_ms]} floor_p99=${SUMMARY[p99_ms]}
floor_answered=${SUMMARY[answered]}
wine_end "$poller_pid"
stop_pallix

echo "== Pallix with twenty entries: idle off, then on"
entries=()
for i in $(seq 1 20); do entries+=("Idle entry ${i}[&Yes]<<#32770>>"); done
start_pallix twenty "${entries[@]}"
sleep 2
echo "   monitoring off, 30 s"
idle_cost "$PALLIX_LINUX" 30
off_pct=$IDLE_PCT off_ms=$IDLE_MS off_wall=$IDLE_WALL off_split=$IDLE_SPLIT
switch_monitoring "Enable monitoring"
sleep 2
echo "   monitoring on, 60 s"
idle_cost "$PALLIX_LINUX" 60
idle20_pct=$IDLE_PCT idle20_ms=$IDLE_MS idle20_wall=$IDLE_WALL idle20_split=$IDLE_SPLIT
stop_pallix

echo "== the window events: idle, monitoring off, hooked and not"
declare -A EVENTS=()
line=$(bash "$root/bench/window_events.sh") || fail "bench/window_events.sh failed"
for pair in $line; do EVENTS[${pair%%=*}]=${pair#*=}; done

# The same question asked of the stand-in: a window timer of the same
# period making the same lookups, and nothing else.
echo "== the floor of idling: a bare $period_ms ms timer with the same lookups, 30 s each"
wine_start "$WINE_LOGS" "$poller" --timer --period-ms $period_ms --class '#32770' \
  --title 'Bench box' --button '&Yes'
sleep 3
idle_cost "$WINE_PID" 30
bare1_pct=$IDLE_PCT bare1_ms=$IDLE_MS bare1_wall=$IDLE_WALL bare1_split=$IDLE_SPLIT
wine_end "$WINE_PID"
wine_start "$WINE_LOGS" "$poller" --timer --period-ms $period_ms --class '#32770' \
  --title 'Idle entry' --entries 20 --button '&Yes'
sleep 3
idle_cost "$WINE_PID" 30
bare20_pct=$IDLE_PCT bare20_ms=$IDLE_MS bare20_wall=$IDLE_WALL bare20_split=$IDLE_SPLIT
wine_end "$WINE_PID"

# What the answer log costs an answer: the same series against the real
# program and, right after it, against a bench-only build whose monitor keeps
# no log (pallix_without_log, bench/CMakeLists.txt); then the log's own file
# work timed in-process on a real pallix.log.
echo "== the answer log: latency with it and without it, the cost of one line"
# start_watching NAME PROGRAM: PROGRAM started in NAME's folder on the
# watch list written there, monitoring on; sets WATCHING_PID.
start_watching() {
  local main
  cp "$PALLIX_EXE_DIR/$2" "$WINE_LOGS/$1/"
  wine_start "$WINE_LOGS/$1" "$2"
  WATCHING_PID=$WINE_PID
  main=$(drv wait-window --class PallixMain --visible --timeout-ms 30000) ||
    fail "$2's main window did not appear"
  PALLIX_MAIN=${main%% *}
  switch_monitoring "Enable monitoring"
  sleep 2
}
# latency_run NAME PROGRAM: the latency series against PROGRAM watching;
# sets LOG_FIGURES to "median p95 p99 answered wrong".
latency_run() {
  start_watching "$@"
  series "$1" "${latency_series[@]}"
  LOG_FIGURES="${SUMMARY[median_ms]} ${SUMMARY[p95_ms]} ${SUMMARY[p99_ms]} ${SUMMARY[answered]}"
  LOG_FIGURES+=" ${SUMMARY[wrong]}"
  wine_end "$WATCHING_PID"
}
# log_latency NAME PROGRAM: the same with one entry.
log_latency() {
  mkdir -p "$WINE_LOGS/$1"
  wine_write_watch_list "$WINE_LOGS/$1/watch.ini" 'Bench box[&Yes]<<#32770>>'
  latency_run "$@"
}
log_latency log_with pallix.exe
read -r with_median with_p95 with_p99 with_answered _ <<<"$LOG_FIGURES"
log_latency log_without pallix_without_log.exe
read -r without_median without_p95 without_p99 without_answered _ <<<"$LOG_FIGURES"
# The tick alone: the same series against the build that never hooks the
# window events.
echo "== the 55 ms tick alone (window events never hooked): latency"
log_latency tick_alone pallix_without_events.exe
read -r tick_median tick_p95 tick_p99 tick_answered tick_wrong <<<"$LOG_FIGURES"
[[ -s $WINE_LOGS/log_with/pallix.log && ! -e $WINE_LOGS/log_without/pallix.log ]] ||
  fail "pallix.exe wrote no answer log, or the build without it wrote one"
with_lines=$(wc -l <"$WINE_LOGS/log_with/pallix.log")
# bench_figures PROGRAM ARRAY: runs a benchmark program built on Pallix's
# own code in a folder of its own; its one line of KEY=VALUE figures goes
# into the associative array ARRAY.
bench_figures() {
  local name=${1%.exe} line pair
  local -n into=$2
  mkdir -p "$WINE_LOGS/$name"
  cp "$PALLIX_EXE_DIR/$1" "$WINE_LOGS/$name/"
  line=$(cd "$WINE_LOGS/$name" && timeout 300 "${WINE[@]}" "$1" </dev/null 2>>"$WINE_LOGS/$name.log" |
    tr -d '\r') || fail "$1 failed: $line"
  for pair in $line; do into[${pair%%=*}]=${pair#*=}; done
}
declare -A LOGB=() PICK=()
bench_figures pallix_answer_log_bench.exe LOGB

echo "== the picker: pointer movement, window to window, a scan of the desktop"
bench_figures pallix_picker_bench.exe PICK
echo "== a start in the background: the time to its first tick"
declare -A FIRST=()
line=$(bash "$root/bench/first_tick.sh") || fail "bench/first_tick.sh failed"
for pair in $line; do FIRST[${pair%%=*}]=${pair#*=}; done

# Entries that carry messages, each bound to the program the boxes come
# from: twenty of the series' title, the last one the only one whose
# message the boxes show, so that every answer reads the box's program and
# message against all twenty; then one tick timed in-process while three
# dialogs of the entries' title, their texts and buttons in panels, show
# none of their messages, with the entries bound and with them free.
echo "== entries with messages: latency with twenty, one tick against three boxes"
message_entries=()
for i in $(seq 1 19); do message_entries+=('Bench box[&No]<<#32770>>'); done
message_entries+=('Bench box[&Yes]<<#32770>>')
mkdir -p "$WINE_LOGS/messages"
wine_write_watch_list "$WINE_LOGS/messages/watch.ini" "${message_entries[@]}"
{
  for i in $(seq 1 19); do printf 'Message%d=Not this box, number %d\r\n' "$i" "$i"; done
  printf 'Message20=Pallix test\r\n'
  for i in $(seq 1 20); do printf 'Program%d=pallix_dialogs.exe\r\n' "$i"; done
} >>"$WINE_LOGS/messages/watch.ini"
latency_run messages pallix.exe
read -r msg_median _ msg_p99 msg_answered msg_wrong <<<"$LOG_FIGURES"
declare -A TICK=()
mkdir -p "$WINE_LOGS/pallix_message_tick_bench"
cp "$dialogs" "$WINE_LOGS/pallix_message_tick_bench/"
bench_figures pallix_message_tick_bench.exe TICK

# Boxes as programs open them: each by a process of its own, started when
# the last has ended, so that Pallix may find a box between its making and
# its showing. The floor is measured the same way; the tick alone is timed
# beside a bench-only build that presses without looking whether the button
# is enabled and visible (pallix_without_check, bench/CMakeLists.txt), and
# the real program against dialogs laid out as Windows lays out a
# TaskDialog and a Windows Forms dialog. The poller of the floor presses
# before the box shows; Pallix waits until it does.
echo "== boxes each opened by a new process: Pallix, without the check, TaskDialogs, Forms, the tick alone, the floor"
readonly process_count=100
process_box=(box --title 'Bench box' --type yesnocancel --timeout-ms 5000)
process_task=(dialog --layout taskdialog --title 'Bench task' --button '&Yes|&No'
  --text 'Bench task' --timeout-ms 5000)
readonly forms_class=WindowsForms10.Window.8.app.0.pallix_bench
process_forms=(dialog --layout forms --class "$forms_class" --title 'Bench forms'
  --button '&Yes|&No' --text 'Bench forms' --timeout-ms 5000)
# process_series NAME ANSWER ARGS...: pallix_dialogs ARGS, $process_count
# times, a new process each time after a random gap of 0 to two periods (a
# process started as soon as the last ended would come up at much the same
# point of Pallix's period each time); sets PROC_FIGURES to "median p95
# answered" over the boxes answered with ANSWER, and PROC_CLICKS to the
# clicks the dialogs counted on their button (a message box counts none).
process_series() {
  local name=$1 answer=$2 i
  shift 2
  : >"$WINE_LOGS/$name.out"
  for ((i = 0; i < process_count; i++)); do
    sleep "$(awk -v r=$((RANDOM % (2 * period_ms + 1))) 'BEGIN { printf "%.3f", r / 1000 }')"
    timeout 60 "${WINE[@]}" "$dialogs" "$@" </dev/null 2>>"$WINE_LOGS/pallix_dialogs.log" |
      tr -d '\r' | grep -E '^(result|click) ' >>"$WINE_LOGS/$name.out" || true
  done
  PROC_CLICKS=$(grep -c '^click ' "$WINE_LOGS/$name.out" || true)
  PROC_FIGURES=$(awk -v a="$answer" '$1 == "result" && $3 == a { print $5 }' "$WINE_LOGS/$name.out" |
    sort -n |
    awk '{ v[NR] = $1 } END {
      if (NR == 0) { print "0 0 0"; exit }
      m = int(NR * 0.5); if (m < NR * 0.5) m++; p = int(NR * 0.95); if (p < NR * 0.95) p++;
      print v[m], v[p], NR }')
}
# process_run NAME PROGRAM ANSWER ARGS...: the series against PROGRAM
# watching the three titles.
process_run() {
  mkdir -p "$WINE_LOGS/$1"
  wine_write_watch_list "$WINE_LOGS/$1/watch.ini" 'Bench box[&Yes]<<#32770>>' \
    'Bench task[&Yes]<<#32770>>' "Bench forms[&Yes]<<$forms_class>>"
  start_watching "$1" "$2"
  process_series "$1" "${@:3}"
  wine_end "$WATCHING_PID"
}
process_run process_pallix pallix.exe yes "${process_box[@]}"
read -r proc_median proc_p95 proc_answered <<<"$PROC_FIGURES"
process_run process_without pallix_without_check.exe yes "${process_box[@]}"
read -r nocheck_median nocheck_p95 nocheck_answered <<<"$PROC_FIGURES"
process_run process_task pallix.exe button "${process_task[@]}"
read -r task_median task_p95 task_answered <<<"$PROC_FIGURES"
task_clicks=$PROC_CLICKS
process_run process_forms pallix.exe button "${process_forms[@]}"
read -r forms_median forms_p95 forms_answered <<<"$PROC_FIGURES"
forms_clicks=$PROC_CLICKS
process_run process_tick pallix_without_events.exe yes "${process_box[@]}"
read -r ptick_median ptick_p95 ptick_answered <<<"$PROC_FIGURES"
wine_start "$WINE_LOGS" "$poller" --class '#32770' --title 'Bench box' --button '&Yes' \
  --period-ms 1
poller_pid=$WINE_PID
sleep 1
process_series process_floor yes "${process_box[@]}"
read -r pfloor_median pfloor_p95 pfloor_answered <<<"$PROC_FIGURES"
wine_end "$poller_pid"
# A TaskDialog and a Forms dialog take longer than a message box to come
# and to go, whoever presses their button: each shape has a floor of its
# own, the poller looking for the button among the dialog's descendants.
# shape_floor CLASS TITLE ARGS...: sets SHAPE_FLOOR to "median answered".
shape_floor() {
  wine_start "$WINE_LOGS" "$poller" --class "$1" --title "$2" --button '&Yes' --period-ms 1 --nested
  poller_pid=$WINE_PID
  sleep 1
  process_series "process_floor_$3" button "${@:4}"
  wine_end "$poller_pid"
  read -r median _ answered <<<"$PROC_FIGURES"
  SHAPE_FLOOR="$median $answered"
}
shape_floor '#32770' 'Bench task' task "${process_task[@]}"
read -r tfloor_median tfloor_answered <<<"$SHAPE_FLOOR"
shape_floor "$forms_class" 'Bench forms' forms "${process_forms[@]}"
read -r ffloor_median ffloor_answered <<<"$SHAPE_FLOOR"
# A burst: another program makes and destroys a thousand windows of the
# watched class, with other titles, in a second (or as fast as Wine lets
# it), while three boxes of the watched title open during it; Pallix's
# processor time over the burst, with the window events and with the tick
# alone.
echo "== a burst of 1,000 windows of a watched class: Pallix's cost, a box answered meanwhile"
# burst_run NAME PROGRAM: sets BURST_FIGURES to "cpu_ms burst_ms answered
# median during" (during: 1 when the boxes were all answered before the
# burst ended).
burst_run() {
  local cpu0 cpu1 burst_pid during=0
  mkdir -p "$WINE_LOGS/$1"
  wine_write_watch_list "$WINE_LOGS/$1/watch.ini" 'Bench box[&Yes]<<#32770>>'
  start_watching "$@"
  cpu0=$(cpu_ticks "$WATCHING_PID")
  "${WINE[@]}" "$dialogs" burst --count 1000 --class '#32770' --title 'Burst window' --ms 1000 \
    </dev/null >"$WINE_LOGS/$1.burst" 2>>"$WINE_LOGS/pallix_dialogs.log" &
  burst_pid=$!
  sleep 0.3
  series "$1" --count 3 --title 'Bench box' --type yesnocancel --expect yes --timeout-ms 5000 \
    --gap-ms 20-60 --seed 3
  kill -0 "$burst_pid" 2>/dev/null && during=1
  wait "$burst_pid" || fail "the burst of windows failed"
  cpu1=$(cpu_ticks "$WATCHING_PID")
  BURST_FIGURES="$(((cpu1 - cpu0) * 1000 / clock_ticks))"
  BURST_FIGURES+=" $(sed -n 's/^burst .*ms=\([0-9.]*\).*/\1/p' "$WINE_LOGS/$1.burst")"
  BURST_FIGURES+=" ${SUMMARY[answered]} ${SUMMARY[median_ms]} $during"
  wine_end "$WATCHING_PID"
}
burst_run burst_events pallix.exe
read -r burst_cpu burst_ms burst_answered burst_median burst_during <<<"$BURST_FIGURES"
burst_run burst_tick pallix_without_events.exe
read -r bursttick_cpu bursttick_ms _ _ _ <<<"$BURST_FIGURES"

# Two hundred entries: idle against the floor with twenty lookups, latency
# with the series' box the last of them, one tick timed in-process among
# some fifty other windows, and the time from a hand edit to its answer.
echo "== two hundred entries: idle, latency, one tick; a hand edit to its answer"
long_entries=()
for i in $(seq 1 199); do long_entries+=("Idle entry ${i}[&Yes]<<#32770>>"); done
long_entries+=('Bench box[&Yes]<<#32770>>')
start_pallix long "${long_entries[@]}"
switch_monitoring "Enable monitoring"
sleep 2
echo "   idle, 60 s"
idle_cost "$PALLIX_LINUX" 60
idle200_pct=$IDLE_PCT idle200_ms=$IDLE_MS idle200_wall=$IDLE_WALL idle200_split=$IDLE_SPLIT
echo "   answer latency, $latency_count boxes"
series latency_long "${latency_series[@]}"
long_median=${SUMMARY[median_ms]} long_p99=${SUMMARY[p99_ms]}
long_answered=${SUMMARY[answered]} long_wrong=${SUMMARY[wrong]}
stop_pallix
declare -A LIST=() HAND=() REMOVE=()
bench_figures pallix_list_tick_bench.exe LIST
mkdir -p "$WINE_LOGS/pallix_hand_edit_bench"
cp "$dialogs" "$WINE_LOGS/pallix_hand_edit_bench/"
bench_figures pallix_hand_edit_bench.exe HAND
echo "== Remove of entry 1 of 1,000"
bench_figures pallix_remove_bench.exe REMOVE

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# ---------------------------------------------------------------------------

per_tick() { # CPU_MS WALL_S [BASE_MS BASE_WALL_S] -> microseconds per tick
  awk -v ms="$1" -v wall="$2" -v bms="${3:-0}" -v bwall="${4:-1}" -v period="$period_ms" \
    'BEGIN { ticks = wall * 1000 / period; extra = ms - bms * wall / bwall;
             printf "%.0f", extra * 1000 / ticks }'
}

# floor_row LABEL VALUE FLOOR PLUS: VALUE ms at most PLUS ms above FLOOR.
floor_row() {
  row "$1" "$2 ms" "<= floor + $4 = $(awk -v f="$3" -v p="$4" 'BEGIN{printf "%.1f", f+p}') ms" \
    "$(verdict "$2 <= $3 + $4")"
}
floor_row "Answer latency, Pallix: median" "$pallix_median" "$floor_median" 5
row "Answer latency, Pallix: 95th percentile" "$pallix_p95 ms" "" ""
floor_row "Answer latency, Pallix: 99th percentile" "$pallix_p99" "$floor_p99" 20
row "Answer latency, Pallix: answered" "$pallix_answered of $latency_count, $pallix_wrong wrong" \
  "all, none wrong" "$(verdict "$pallix_answered == $latency_count && $pallix_wrong == 0")"
row "Floor (1 ms poller): median" "$floor_median ms" "" ""
row "Floor (1 ms poller): 95th percentile" "$floor_p95 ms" "" ""
row "Floor (1 ms poller): 99th percentile" "$floor_p99 ms" "" ""
row "Floor (1 ms poller): answered" "$floor_answered of $latency_count" "all" \
  "$(verdict "$floor_answered == $latency_count")"
floor_row "Tick alone (no events): latency median" "$tick_median" "$floor_median" 30
row "Tick alone (no events): 95th percentile" "$tick_p95 ms" "" ""
floor_row "Tick alone (no events): latency p99" "$tick_p99" "$floor_p99" 60
row "Tick alone (no events): answered" "$tick_answered of $latency_count, $tick_wrong wrong" \
  "all, none wrong" "$(verdict "$tick_answered == $latency_count && $tick_wrong == 0")"
# idle_row LABEL PCT SPLIT WALL FLOOR_PCT: at most half again the floor's
# cost; the floor, woken as often, is most of what any such program costs.
idle_row() {
  row "$1" "$2 % ($3 ms/${4%.*} s)" \
    "<= 1.5 x floor = $(awk -v f="$5" 'BEGIN { printf "%.3f", 1.5 * f }') %" \
    "$(verdict "$2 <= 1.5 * $5")"
}
idle_row "Idle, 1 entry, monitoring on" "$idle1_pct" "$idle1_split" "$idle1_wall" "$bare1_pct"
idle_row "Idle, 20 entries, monitoring on" "$idle20_pct" "$idle20_split" "$idle20_wall" \
  "$bare20_pct"
row "Idle, 20 entries, monitoring off" "$off_pct % ($off_split ms/${off_wall%.*} s)" "" ""
# Hooked, Pallix is woken only when a window opens: at rest the hook costs
# no more than the noise of the measure.
row "Idle, 20 entries, off, events hooked" \
  "${EVENTS[with_pct]} % (${EVENTS[with_ms]} ms/${EVENTS[seconds]} s)" \
  "<= not hooked + 0.05 %" "$(verdict "${EVENTS[with_pct]} <= ${EVENTS[without_pct]} + 0.05")"
row "Idle, 20 entries, off, events not hooked" \
  "${EVENTS[without_pct]} % (${EVENTS[without_ms]} ms/${EVENTS[seconds]} s)" "" ""
row "Idle floor, bare timer + 1 lookup" "$bare1_pct % ($bare1_split ms/${bare1_wall%.*} s)" "" ""
row "Idle floor, bare timer + 20 lookups" "$bare20_pct % ($bare20_split ms/${bare20_wall%.*} s)" "" ""
row "One tick, 1 entry (all CPU / ticks)" "$(per_tick "$idle1_ms" "$idle1_wall") us" "" ""
row "One tick, 20 entries (all CPU / ticks)" "$(per_tick "$idle20_ms" "$idle20_wall") us" "" ""
row "One tick, 20 entries (above idle off)" \
  "$(per_tick "$idle20_ms" "$idle20_wall" "$off_ms" "$off_wall") us" "" ""
row "One tick, bare timer + 1 lookup" "$(per_tick "$bare1_ms" "$bare1_wall") us" "" ""
row "One tick, bare timer + 20 lookups" "$(per_tick "$bare20_ms" "$bare20_wall") us" "" ""
row "Peak memory VmHWM: start/100/1000" "$hwm_start/$hwm_100/$hwm_1000 KiB" "no growth 100->1000" \
  "$(verdict "$hwm_1000 == $hwm_100")"
row "Resident VmRSS: start/100/1000" "$rss_start/$rss_100/$rss_1000 KiB" "" ""
row "GDI objects: start/100/1000" "$gdi_start/$gdi_100/$gdi_1000" "no growth 100->1000" \
  "$(verdict "\"$gdi_1000\" == \"$gdi_100\" && \"$gdi_100\" != \"unsupported\"")"
row "USER objects (windows): start/100/1000" "$windows_start/$windows_100/$windows_1000" \
  "no growth 100->1000" "$(verdict "$windows_1000 == $windows_100")"
row "Soak: answered" "$soak_answered of $soak_count" "1000" \
  "$(verdict "$soak_answered == 1000 && $soak_count == 1000")"
row "Soak: missed / wrong button" "$soak_unanswered / $soak_wrong" "0 / 0" \
  "$(verdict "$soak_unanswered == 0 && $soak_wrong == 0")"
row "Soak, back to back: median / p99" "$soak_median / $soak_p99 ms" "" ""
row "Log, one entry: answered/no effect/hung" "$soak_outcomes" "" ""
row "Picker: one movement over one window" "${PICK[move_median_ms]} / ${PICK[move_p95_ms]} ms" \
  "median / p95" ""
row "Picker: to another ${PICK[frame_w]}x${PICK[frame_h]} window" \
  "${PICK[switch_median_ms]} / ${PICK[switch_p95_ms]} ms" "median / p95 <= 16 ms" \
  "$(verdict "${PICK[switch_p95_ms]} <= 16")"
row "Picker: scan of the desktop" "${PICK[scan_ms]} ms, ${PICK[scan_windows]} windows" \
  "<= 1000 ms, >= 200 windows" \
  "$(verdict "${PICK[scan_ms]} <= 1000 && ${PICK[scan_windows]} >= 200")"

floor_row "Messages, 20 entries: latency median" "$msg_median" "$floor_median" 5
floor_row "Messages, 20 entries: latency p99" "$msg_p99" "$floor_p99" 20
row "Messages, 20 entries: answered" "$msg_answered of $latency_count, $msg_wrong wrong" \
  "all, none wrong" "$(verdict "$msg_answered == $latency_count && $msg_wrong == 0")"
row "Messages: tick, 3 nested fit none, med/p99" "${TICK[tick_median_us]} / ${TICK[tick_p99_us]} us" \
  "median <= 1000 us, none clicked" \
  "$(verdict "${TICK[tick_median_us]} <= 1000 && ${TICK[clicked]} == 0")"
row "Messages: the same tick, entries free" "${TICK[free_median_us]} / ${TICK[free_p99_us]} us" \
  "median / p99" ""

floor_row "New process each box: median" "$proc_median" "$pfloor_median" 5
floor_row "New process each box: p95" "$proc_p95" "$pfloor_p95" 50
row "New process each box: answered" "$proc_answered of $process_count" "all" \
  "$(verdict "$proc_answered == $process_count")"
row "New process, floor: median / p95" "$pfloor_median / $pfloor_p95 ms" \
  "all answered" "$(verdict "$pfloor_answered == $process_count")"
row "New process, no check: median / p95" "$nocheck_median / $nocheck_p95 ms" \
  "all answered" "$(verdict "$nocheck_answered == $process_count")"
row "New process, tick, check/no check: median" "$ptick_median / $nocheck_median ms" \
  "<= 1.1 x no check" "$(verdict "$ptick_median <= 1.1 * $nocheck_median")"
row "New process, tick, check/no check: p95" "$ptick_p95 / $nocheck_p95 ms" \
  "<= 1.1 x no check" "$(verdict "$ptick_p95 <= 1.1 * $nocheck_p95")"
floor_row "TaskDialog, new process: median" "$task_median" "$tfloor_median" 5
row "TaskDialog, new process, floor: median" "$tfloor_median ms, $tfloor_answered answered" \
  "all answered" "$(verdict "$tfloor_answered == $process_count")"
row "TaskDialog, new process: p95 / answered" "$task_p95 ms / $task_answered of $process_count" \
  "all answered" "$(verdict "$task_answered == $process_count")"
row "TaskDialog, new process: clicks" "$task_clicks for $task_answered dialogs" \
  "one a dialog" "$(verdict "$task_clicks == $task_answered")"
floor_row "Forms dialog, new process: median" "$forms_median" "$ffloor_median" 5
row "Forms dialog, new process, floor: median" "$ffloor_median ms, $ffloor_answered answered" \
  "all answered" "$(verdict "$ffloor_answered == $process_count")"
row "Forms dialog, new process: p95 / answered" \
  "$forms_p95 ms / $forms_answered of $process_count" "all answered" \
  "$(verdict "$forms_answered == $process_count")"
row "Forms dialog, new process: clicks" "$forms_clicks for $forms_answered dialogs" \
  "one a dialog" "$(verdict "$forms_clicks == $forms_answered")"
floor_row "New process, tick alone: median" "$ptick_median" "$pfloor_median" 30
row "New process, tick alone: p95 / answered" "$ptick_p95 ms / $ptick_answered of $process_count" \
  "all answered" "$(verdict "$ptick_answered == $process_count")"
row "Burst of 1,000 windows: Pallix CPU" "$burst_cpu ms over $burst_ms ms" "" ""
row "Burst, tick alone: Pallix CPU" "$bursttick_cpu ms over $bursttick_ms ms" "" ""
row "Burst: boxes answered meanwhile, median" "$burst_answered of 3, $burst_median ms" \
  "all, during the burst" "$(verdict "$burst_answered == 3 && $burst_during == 1")"

idle_row "Idle, 200 entries, monitoring on" "$idle200_pct" "$idle200_split" "$idle200_wall" \
  "$bare20_pct"
floor_row "200 entries: latency median" "$long_median" "$floor_median" 5
floor_row "200 entries: latency p99" "$long_p99" "$floor_p99" 20
row "200 entries: answered" "$long_answered of $latency_count, $long_wrong wrong" \
  "all, none wrong" "$(verdict "$long_answered == $latency_count && $long_wrong == 0")"
row "Tick, ${LIST[others]} other windows: 1 / 200" \
  "${LIST[tick1_median_us]} / ${LIST[tick200_median_us]} us" \
  "200 <= 1.5 x 1 = $(awk -v t="${LIST[tick1_median_us]}" 'BEGIN { printf "%.1f", 1.5 * t }') us" \
  "$(verdict "${LIST[tick200_median_us]} <= 1.5 * ${LIST[tick1_median_us]}")"
row "Tick, p99: 1 / 200 entries" "${LIST[tick1_p99_us]} / ${LIST[tick200_p99_us]} us" "" ""
row "Hand edit's write to its answer, median" \
  "${HAND[handedit_median_ms]} ms (${HAND[handedit_min_ms]}-${HAND[handedit_max_ms]}, ${HAND[runs]} runs)" \
  "" ""
row "Remove 1 of 1,000: Yes to file, med/worst" \
  "${REMOVE[remove_file_median_ms]} / ${REMOVE[remove_file_max_ms]} ms (${REMOVE[runs]} runs)" \
  "<= 100 ms" "$(verdict "${REMOVE[remove_file_max_ms]} <= 100")"
row "Remove 1 of 1,000: Yes to list, med/worst" \
  "${REMOVE[remove_list_median_ms]} / ${REMOVE[remove_list_max_ms]} ms" "<= 500 ms" \
  "$(verdict "${REMOVE[remove_list_max_ms]} <= 500")"
row "Answer log: latency with / without, median" "$with_median / $without_median ms" "" ""
row "Answer log: latency with / without, p95" "$with_p95 / $without_p95 ms" "" ""
row "Answer log: latency with / without, p99" "$with_p99 / $without_p99 ms" "" ""
row "Answer log: answered with / without" \
  "$with_answered / $without_answered of $latency_count ($with_lines lines)" "all" \
  "$(verdict "$with_answered == $latency_count && $without_answered == $latency_count")"
row "Answer log: one line written, median / p99" \
  "${LOGB[write_median_us]} / ${LOGB[write_p99_us]} us" "" ""
row "Answer log: after a click (all), med / p99" \
  "${LOGB[record_median_us]} / ${LOGB[record_p99_us]} us" "" ""
row "Answer log: before a click, median / p99" \
  "${LOGB[open_median_us]} / ${LOGB[open_p99_us]} us" "" ""
row "Background start to first tick, median" \
  "${FIRST[median_ms]} ms (${FIRST[min_ms]}-${FIRST[max_ms]}, ${FIRST[starts]} starts)" "" ""
echo
echo "Pallix benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)," \
  "$(wine --version 2>/dev/null), Xvfb; load average $load_before before, $load_after after"
echo "Latency: $latency_count message boxes each, opened after a random gap of 0-$((2 * period_ms)) ms," \
  "timed inside pallix_dialogs.exe from activation to MessageBox's return."
echo "Idle: processor time of pallix.exe (or the stand-in) and the wineserver (utime+stime)," \
  "shown as process + server ms over the time, no dialog open; a tick every $period_ms ms." \
  "Floors: pallix_poller, the same calls and nothing else."
echo "Objects: GDI = live entries of the process's GDI handle table, USER = windows it owns" \
  "(GetGuiResources is a stub in Wine)."
echo
printf '%-42s %-28s %-28s %s\n' "Measure" "Result" "Target" "Verdict"
printf '%s\n' "${RESULTS[@]}"
echo
if printf '%s\n' "${RESULTS[@]}" | grep -q ' FAIL$'; then
  echo "Some targets were missed."
  exit 1
fi
echo "Every target met."

#!/usr/bin/env bash
# The Wine test harness.
#
# Run as a program it is the CTest fixture "wine":
#   harness.sh setup BUILD_DIR    a private Wine prefix, a virtual X display,
#                                 and BUILD_DIR/wine-env.sh describing both
#   harness.sh cleanup BUILD_DIR  ends every process that setup and the tests
#                                 left behind, each by its id or its prefix
#
# Sourced by a Wine test it gives that test helpers (wine_test_begin,
# wine_start, wine_end, drv, wine_screenshot, fail). Other people's X servers
# and Wine sessions may run on the same machine, so nothing here ever ends a
# process by its name.

# State of one test run, under the build tree.
wine_state_dir() { echo "$1/wine"; }

wine_log() { printf '[wine] %s\n' "$*"; }

# The fonts Wine ships are not found through its data folder on Debian's
# build; without Marlett and Tahoma, captions, caption buttons and message
# boxes are drawn with stand-in fonts at other sizes than on Windows.
wine_install_fonts() {
  local source=/usr/share/wine/fonts target="$WINEPREFIX/drive_c/windows/Fonts"
  [[ -d $source ]] || return 0
  mkdir -p "$target"
  cp -n "$source"/*.ttf "$source"/*.fon "$target"/ 2>/dev/null || true
}

# Creates a prefix with everything a test needs. WINEPREFIX and DISPLAY must
# be set; a log goes to $1.
wine_make_prefix() {
  local log=$1
  # Menu entries for the host desktop are of no use here and slow the boot.
  WINEARCH=win64 WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" \
    timeout 180 wineboot -i </dev/null >>"$log" 2>&1 || return 1
  # Without a window manager Wine must draw window frames itself, as Windows
  # does, or window rectangles and window-DC pixels differ from Windows.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >>"$log" 2>&1 || return 1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
    </dev/null >>"$log" 2>&1 || return 1
  wine_install_fonts
  # The registry reaches the disk only when the server goes.
  timeout 60 wineserver -w </dev/null >>"$log" 2>&1
}

# Starts Xvfb on the first free display. Prints the display number; the pid
# goes to $2. Log to $1.
wine_start_xvfb() {
  local log=$1 pid_file=$2 number_file
  number_file=$(mktemp)
  # -displayfd picks a free number itself, so runs beside other X servers
  # never race for one.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$number_file" </dev/null >"$log" 2>&1 &
  local pid=$!
  echo "$pid" >"$pid_file"
  local number="" tries=0
  while ((tries++ < 100)); do
    number=$(head -n1 "$number_file" 2>/dev/null || true)
    [[ $number =~ ^[0-9]+$ ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  [[ $number =~ ^[0-9]+$ ]] || return 1
  echo "$number"
}

# True when pid $1 is still the Xvfb we started, not a process that was given
# the same number later.
wine_is_our_xvfb() {
  local pid=$1 cmdline
  [[ $pid =~ ^[0-9]+$ ]] || return 1
  cmdline=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) || return 1
  [[ $cmdline == Xvfb* || $cmdline == */Xvfb* ]]
}

wine_end_xvfb() {
  local pid_file=$1 pid
  [[ -f $pid_file ]] || return 0
  pid=$(cat "$pid_file")
  if wine_is_our_xvfb "$pid"; then
    kill "$pid" 2>/dev/null || true
    local tries=0
    while kill -0 "$pid" 2>/dev/null && ((tries++ < 50)); do sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
  fi
  rm -f "$pid_file"
}

wine_end_prefix() {
  local prefix=$1
  [[ -d $prefix ]] || return 0
  # -k reaches only the server of this prefix and the processes attached to it.
  WINEPREFIX=$prefix timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  WINEPREFIX=$prefix timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
}

wine_fixture_cleanup() {
  local build=$1 state
  state=$(wine_state_dir "$build")
  rm -f "$build/wine-env.sh"
  wine_end_prefix "$state/prefix"
  wine_end_xvfb "$state/xvfb.pid"
  # The prefix is large and made anew by every run.
  [[ -n ${PALLIX_KEEP_WINE_PREFIX:-} ]] || rm -rf "$state/prefix"
}

wine_fixture_setup() {
  local build=$1 state started=$SECONDS
  state=$(wine_state_dir "$build")
  # A run that was interrupted may have left its display and server behind.
  wine_fixture_cleanup "$build"
  # Screenshots and work folders of an earlier run would pass for this one's.
  rm -rf "$state"
  mkdir -p "$state/artifacts"
  local log="$state/setup.log"
  : >"$log"

  local display
  if ! display=$(wine_start_xvfb "$state/xvfb.log" "$state/xvfb.pid"); then
    wine_log "Xvfb did not start:"
    cat "$state/xvfb.log"
    wine_end_xvfb "$state/xvfb.pid"
    return 1
  fi
  export DISPLAY=":$display" WINEPREFIX="$state/prefix" WINEDEBUG=-all
  # There is no network: Wine must not try to fetch Mono or Gecko.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if ! timeout 10 xdpyinfo >/dev/null 2>&1; then
    wine_log "display $DISPLAY does not answer"
    wine_fixture_cleanup "$build"
    return 1
  fi
  wine_log "Xvfb on $DISPLAY, pid $(cat "$state/xvfb.pid")"

  local attempt
  for attempt in 1 2; do
    if wine_make_prefix "$log"; then break; fi
    wine_log "making the prefix failed (attempt $attempt)"
    wine_end_prefix "$WINEPREFIX"
    rm -rf "$WINEPREFIX"
    if ((attempt == 2)); then
      tail -n 40 "$log"
      wine_fixture_cleanup "$build"
      return 1
    fi
  done

  # Written last and whole, so that a test never sees half of it.
  cat >"$build/wine-env.sh.part" <<EOF
export WINEPREFIX='$WINEPREFIX'
export DISPLAY='$DISPLAY'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
EOF
  mv "$build/wine-env.sh.part" "$build/wine-env.sh"
  wine_log "prefix $WINEPREFIX ready in $((SECONDS - started)) s"
}

# ---------------------------------------------------------------------------
# Helpers for tests. A test script sources this file, then calls
# wine_test_begin NAME. CTest passes PALLIX_BUILD_DIR and PALLIX_WIN64_DIR.

WINE_STARTED_PIDS=()

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}

# Every Wine program's standard streams go to files: a Wine process and the
# server it starts would otherwise hold CTest's output pipe open, and CTest
# waits for that pipe to close.
wine_test_begin() {
  WINE_TEST_NAME=$1
  : "${PALLIX_BUILD_DIR:?set by CTest}" "${PALLIX_WIN64_DIR:?set by CTest}"
  local env_file="$PALLIX_BUILD_DIR/wine-env.sh"
  [[ -f $env_file ]] || fail "no $env_file: the wine fixture did not set up"
  # shellcheck source=/dev/null
  source "$env_file"
  WINE_DRIVER="$PALLIX_WIN64_DIR/pallix_driver.exe"
  WINE_ARTIFACTS="$PALLIX_BUILD_DIR/wine/artifacts"
  WINE_WORK=$(mktemp -d "$PALLIX_BUILD_DIR/wine/$WINE_TEST_NAME.XXXXXX")
  mkdir -p "$WINE_ARTIFACTS"
  trap wine_test_end EXIT
}

wine_test_end() {
  local status=$? pid
  trap - EXIT
  # The desktop as the failure left it, before anything is ended.
  ((status == 0)) || wine_screenshot "$WINE_TEST_NAME-failed" || true
  for pid in "${WINE_STARTED_PIDS[@]}"; do wine_end "$pid"; done
  if ((status != 0)); then
    local log
    for log in "$WINE_WORK"/*.log; do
      [[ -s $log ]] || continue
      echo "--- $log"
      tail -n 20 "$log"
    done
  else
    rm -rf "$WINE_WORK"
  fi
  exit "$status"
}

# wine_start DIR EXE [ARGS...]: starts a Windows program in DIR. Its pid is
# left in WINE_PID and ended by wine_test_end unless the test ends it first.
wine_start() {
  local dir=$1 exe=$2
  shift 2
  (cd "$dir" && exec wine "$exe" "$@") </dev/null >>"$WINE_WORK/$(basename "$exe").log" 2>&1 &
  WINE_PID=$!
  WINE_STARTED_PIDS+=("$WINE_PID")
}

# wine_end PID: ends a process we started, and waits for it to be gone.
wine_end() {
  local pid=$1 tries=0
  kill -0 "$pid" 2>/dev/null || return 0
  kill "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null && ((tries++ < 50)); do sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
}

# drv COMMAND [OPTIONS...]: runs the driver; prints what it printed and
# returns its status.
drv() {
  local out="$WINE_WORK/driver.out" status=0
  timeout 120 wine "$WINE_DRIVER" "$@" </dev/null >"$out" 2>>"$WINE_WORK/driver.log" || status=$?
  cat "$out"
  return "$status"
}

# wine_write_watch_list FILE ENTRY...: a watch list, one TitleN per entry,
# with its count, as Pallix stores them.
wine_write_watch_list() {
  local file=$1 i=0 entry
  shift
  {
    printf '[WindowTitles]\r\nNum_Windows=%d\r\n' "$#"
    for entry in "$@"; do
      i=$((i + 1))
      printf 'Title%d=%s\r\n' "$i" "$entry"
    done
  } >"$file"
}

wine_screenshot() {
  import -window root -display "$DISPLAY" "$WINE_ARTIFACTS/$1.png" 2>/dev/null
}

# The in-process tests: a copy of pallix_tests.exe in a folder of its own
# (the program's folder is where Pallix keeps its files), run there.
wine_unit_tests() {
  local build=$1 folder status=0
  shift
  # shellcheck source=/dev/null
  source "$build/wine-env.sh" || return 1
  folder=$(mktemp -d "$(wine_state_dir "$build")/unit.XXXXXX")
  cp "$build/pallix_tests.exe" "$folder/"
  # The log stays outside: the tests empty their folder.
  (cd "$folder" && timeout 280 wine pallix_tests.exe "$@") </dev/null >"$folder.log" 2>&1 ||
    status=$?
  tr -d '\r' <"$folder.log"
  ((status == 0)) && rm -rf "$folder" "$folder.log"
  return "$status"
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -uo pipefail
  case "${1:-}" in
    setup) wine_fixture_setup "${2:?build folder}" ;;
    cleanup) wine_fixture_cleanup "${2:?build folder}" ;;
    unit) wine_unit_tests "${2:?build folder}" "${@:3}" ;;
    *)
      echo "usage: harness.sh setup|cleanup BUILD_DIR | unit BUILD_DIR [GTEST_ARGS...]" >&2
      exit 2
      ;;
  esac
fi

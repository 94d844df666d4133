#!/usr/bin/env bash
# The Wine environment that the run command, the tests and the benchmark
# share: a private prefix on a virtual X display, Windows programs started
# and ended there, the driver, and watch lists. Sourced, never run.
#
# Other people's X servers and Wine sessions may run on the same machine, so
# nothing here ever ends a process by its name.

wine_log() { printf '[wine] %s\n' "$*"; }

# No network here: Wine must not try to fetch Mono or Gecko. Nor may it make
# menu entries and autostart files on the host's desktop, as it does for a
# shortcut saved under the Start Menu (Pallix's own in the Startup folder).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Every Windows program here starts through WINE, with the addresses of its
# process not randomized. Debian's Wine loader sits at a fixed address, and
# the kernel places its heap anywhere in the gigabyte above it; now and then
# (once in 8,000 starts of the driver, measured) the heap covers the address
# where Wine must map the shared user data, and the program ends before it
# begins, with status 1 ("failed to map the shared user data", an error that
# WINEDEBUG=-all keeps silent). Without randomization the heap always lies
# just after the loader, 48 MB below that address. The programs that a
# Windows program starts inherit this.
WINE=(setarch "$(uname -m)" --addr-no-randomize wine)

# The fonts Wine ships are not found through its data folder on Debian's
# build; without Marlett and Tahoma, captions, caption buttons and message
# boxes are drawn with stand-in fonts at other sizes than on Windows.
wine_install_fonts() {
  local source=/usr/share/wine/fonts target="$WINEPREFIX/drive_c/windows/Fonts"
  [[ -d $source ]] || return 0
  mkdir -p "$target"
  cp -n "$source"/*.ttf "$source"/*.fon "$target"/ 2>/dev/null || true
}

# wine_make_prefix LOG: creates WINEPREFIX on DISPLAY.
wine_make_prefix() {
  local log=$1
  WINEARCH=win64 timeout 180 "${WINE[@]}" wineboot -i </dev/null >>"$log" 2>&1 || return 1
  # Without a window manager Wine must draw window frames itself, as Windows
  # does, or window rectangles and window-DC pixels differ from Windows.
  local value
  for value in Managed Decorated; do
    "${WINE[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /t REG_SZ /d N /f \
      </dev/null >>"$log" 2>&1 || return 1
  done
  wine_install_fonts
  # The registry reaches the disk only when the server goes.
  timeout 60 wineserver -w </dev/null >>"$log" 2>&1
}

# wine_start_xvfb LOG PID_FILE: starts Xvfb on a free display and prints its
# number.
wine_start_xvfb() {
  local log=$1 pid_file=$2 number_file number="" tries=0
  number_file=$(mktemp)
  # -displayfd picks a free number itself, so runs beside other X servers
  # never race for one.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$number_file" </dev/null >"$log" 2>&1 &
  local pid=$!
  echo "$pid" >"$pid_file"
  while ((tries++ < 100)); do
    number=$(head -n1 "$number_file" 2>/dev/null || true)
    [[ $number =~ ^[0-9]+$ ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  [[ $number =~ ^[0-9]+$ ]] && echo "$number"
}

# wine_end_xvfb PID_FILE: ends that Xvfb, if the pid still is one: a number
# can be given to another process later.
wine_end_xvfb() {
  local pid_file=$1 pid
  [[ -f $pid_file ]] || return 0
  pid=$(cat "$pid_file")
  if [[ $pid =~ ^[0-9]+$ && $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) =~ ^(.*/)?Xvfb ]]; then
    wine_end "$pid"
  fi
  rm -f "$pid_file"
}

# wine_end_prefix PREFIX: ends the server of that prefix and every process
# attached to it, and no other.
wine_end_prefix() {
  [[ -d $1 ]] || return 0
  WINEPREFIX=$1 timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  WINEPREFIX=$1 timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
}

# wine_up STATE: a display and a new prefix of their own under STATE;
# exports DISPLAY and WINEPREFIX. Logs stay in STATE.
wine_up() {
  local state=$1 display attempt
  mkdir -p "$state"
  if ! display=$(wine_start_xvfb "$state/xvfb.log" "$state/xvfb.pid"); then
    wine_log "Xvfb did not start:"
    cat "$state/xvfb.log"
    wine_end_xvfb "$state/xvfb.pid"
    return 1
  fi
  export DISPLAY=":$display" WINEPREFIX="$state/prefix"
  if ! timeout 10 xdpyinfo >/dev/null 2>&1; then
    wine_log "display $DISPLAY does not answer"
    wine_down "$state"
    return 1
  fi
  for attempt in 1 2; do
    wine_make_prefix "$state/prefix.log" && return 0
    wine_log "making the prefix failed (attempt $attempt)"
    wine_end_prefix "$WINEPREFIX"
    rm -rf "$WINEPREFIX"
  done
  tail -n 40 "$state/prefix.log"
  wine_down "$state"
  return 1
}

# wine_down STATE: ends what wine_up started; the prefix goes too, unless
# PALLIX_KEEP_WINE_PREFIX is set.
wine_down() {
  wine_end_prefix "$1/prefix"
  wine_end_xvfb "$1/xvfb.pid"
  [[ -n ${PALLIX_KEEP_WINE_PREFIX:-} ]] || rm -rf "$1/prefix"
}

# ---------------------------------------------------------------------------
# Programs. PALLIX_EXE_DIR holds pallix.exe and the tools built beside it;
# WINE_LOGS is where their output goes. Every Wine program's standard
# streams go to files: a Wine process, and the server it may start, would
# otherwise hold a caller's pipe open long after the program ended.

WINE_STARTED_PIDS=()

# wine_start DIR EXE [ARGS...]: starts a Windows program in DIR and leaves
# its pid in WINE_PID.
wine_start() {
  local dir=$1 exe=$2
  shift 2
  (cd "$dir" && exec "${WINE[@]}" "$exe" "$@") </dev/null >>"$WINE_LOGS/$(basename "$exe").log" 2>&1 &
  WINE_PID=$!
  WINE_STARTED_PIDS+=("$WINE_PID")
}

# wine_end PID: ends a process we started and waits until it is gone.
wine_end() {
  local pid=$1 tries=0
  kill -0 "$pid" 2>/dev/null || return 0
  kill "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null && ((tries++ < 50)); do sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
}

wine_end_started() {
  local pid
  for pid in "${WINE_STARTED_PIDS[@]}"; do wine_end "$pid"; done
  WINE_STARTED_PIDS=()
}

# drv COMMAND [OPTIONS...]: runs pallix_driver.exe, prints what it printed
# and returns its status.
drv() {
  local out="$WINE_LOGS/driver.out" status=0
  timeout 120 "${WINE[@]}" "$PALLIX_EXE_DIR/pallix_driver.exe" "$@" </dev/null >"$out" \
    2>>"$WINE_LOGS/driver.log" || status=$?
  cat "$out"
  # What was asked and answered, so that a failure shows whether the
  # driver itself failed or found what it was asked about gone.
  printf '%s drv %s -> %d: %s\n' "${EPOCHREALTIME}" "$*" "$status" "$(head -c 200 "$out" | tr '\t\n' '  ')" \
    >>"$WINE_LOGS/journey.log"
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

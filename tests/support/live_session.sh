#!/usr/bin/env bash
# Runs one test program inside a private desktop session of its own: a virtual X server (Xvfb) on a free
# display, a small window manager (openbox), a D-Bus session bus (dbus-run-session) and a temporary HOME
# with its XDG folders. Nothing of the person's own session is reachable from inside: DISPLAY, the session
# bus, HOME and the settings all point into the private session.
#
#   live_session.sh <test program> [arguments...]
#
# quillo_live_test() in cmake/QuilloModule.cmake makes this the test program's CROSSCOMPILING_EMULATOR, so
# ctest (test discovery included) starts every test program through it; each test case of a program runs
# in a session of its own. When a part of the session cannot start, the program still runs, with
# QUILLO_LIVE_SESSION_UNAVAILABLE saying why; tests/support/live/live_session.h turns that into a clear
# skip. When the program ends, every process started inside the session ends with it, daemons that D-Bus
# or GTK started on their own included (the accessibility bus, its registry, dconf): they are found by the
# session's mark in their environment and ended by process id.
set -uo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 <test program> [arguments...]" >&2
  exit 2
fi

# Listing the tests needs no session.
for argument in "$@"; do
  case "$argument" in
    --gtest_list_tests) exec "$@" ;;
  esac
done

# A test case that fails is run once more in a fresh session of its own, and fails only when it fails
# again: the session's programs (the X server, the window manager, the tray, the accessibility bus) answer
# on their own time, and a machine loaded by a parallel build can keep one from answering in time. A crash
# or a sanitizer's report is never run again. Both runs' output is printed.
if [ -z "${QUILLO_LIVE_ATTEMPT:-}" ]; then
  first_run=$(mktemp "${TMPDIR:-/tmp}/quillo-live-run.XXXXXXXX") || exit 1
  QUILLO_LIVE_ATTEMPT=1 "$0" "$@" 2>&1 | tee "$first_run"
  status=${PIPESTATUS[0]}
  if [ "$status" -eq 0 ] || [ "$status" -ge 128 ] || grep -q "Sanitizer" "$first_run"; then
    rm -f "$first_run"
    exit "$status"
  fi
  rm -f "$first_run"
  echo "live_session.sh: the test failed (exit $status); running it once more in a fresh session"
  QUILLO_LIVE_ATTEMPT=2 exec "$0" "$@"
fi

session=$(mktemp -d "${TMPDIR:-/tmp}/quillo-live.XXXXXXXX") || exit 1
mark="QUILLO_LIVE_SESSION=$session"
export QUILLO_LIVE_SESSION="$session"
unavailable=""

# The processes (other than this script) whose environment carries this session's mark.
session_processes() {
  local file pid
  for file in $(grep -lzxF "$mark" /proc/[0-9]*/environ 2>/dev/null); do
    pid=${file#/proc/}
    pid=${pid%/environ}
    [ "$pid" != "$$" ] && [ "$pid" != "$BASHPID" ] && echo "$pid"
  done
}

# Ends every process of the session, the given ones first, by process id: politely, then by force.
end_session_processes() {
  local pid round
  for pid in "$@"; do
    [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null
  done
  wait 2>/dev/null
  for round in 1 2 3 4 5 6 7 8 9 10; do
    local remaining=($(session_processes))
    [ ${#remaining[@]} -eq 0 ] && return
    if [ "$round" -lt 8 ]; then
      kill -TERM "${remaining[@]}" 2>/dev/null
    else
      kill -KILL "${remaining[@]}" 2>/dev/null
    fi
    sleep 0.1
  done
}

xvfb_pid=""
wm_pid=""
cleanup() {
  end_session_processes "$wm_pid" "$xvfb_pid"
  # A daemon that was just ended may still be removing its sockets from the folder.
  local attempt
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    rm -rf "$session" 2>/dev/null
    [ -e "$session" ] || break
    sleep 0.1
  done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The person's own session stays out of reach.
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS XAUTHORITY SESSION_MANAGER
mkdir -p "$session/home" "$session/config" "$session/data" "$session/cache" "$session/state" "$session/runtime"
chmod 700 "$session/runtime"
export HOME="$session/home"
export XDG_CONFIG_HOME="$session/config"
export XDG_DATA_HOME="$session/data"
export XDG_CACHE_HOME="$session/cache"
export XDG_STATE_HOME="$session/state"
export XDG_RUNTIME_DIR="$session/runtime"
export XDG_SESSION_TYPE=x11
# GTK programs keep settings in memory and use no file-system daemons.
export GSETTINGS_BACKEND=memory
export GIO_USE_VFS=local
export GDK_BACKEND=x11
unset NO_AT_BRIDGE GTK_MODULES

wait_for() {  # <seconds> <command...>: polls the command every 50 ms until it succeeds or time runs out
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.05
  done
}

if ! command -v Xvfb >/dev/null; then
  unavailable="Xvfb is not installed (scripts/install-dependencies.sh installs it)"
elif ! command -v dbus-run-session >/dev/null; then
  unavailable="dbus-run-session is not installed (scripts/install-dependencies.sh installs it)"
else
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$session/display" \
    >"$session/xvfb.log" 2>&1 &
  xvfb_pid=$!
  # Ready once it has written its display number; given up on at once when it ends first.
  display_ready_or_failed() { [ -s "$session/display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; }
  if wait_for 15 display_ready_or_failed && [ -s "$session/display" ]; then
    export DISPLAY=":$(head -n1 "$session/display")"
    if command -v openbox >/dev/null; then
      openbox --sm-disable >"$session/openbox.log" 2>&1 &
      wm_pid=$!
    else
      unavailable="openbox is not installed (scripts/install-dependencies.sh installs it)"
    fi
  else
    unavailable="the virtual X server (Xvfb) did not start: $(tail -n 3 "$session/xvfb.log" | tr '\n' ' ')"
  fi
fi

if [ -n "$unavailable" ]; then
  export QUILLO_LIVE_SESSION_UNAVAILABLE="$unavailable"
  "$@"
  exit $?
fi

dbus-run-session -- "$@"
exit $?

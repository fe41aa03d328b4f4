#!/usr/bin/env bash
# Checks the README's run command as a new user would type it, with no
# display: twice in a row, once with display :99 already taken, and once
# interrupted. Each run must leave no process behind, a session bus started
# on demand (dbus-x11, installed by scripts/packages.sh) included; the
# successful ones exit with 0 and save a 680 x 505 PNG.
set -euo pipefail
cd "$(dirname "$0")/../.."

shot=screenshots/qov.png
work=$(mktemp -d)
blocker=
cleanup() {
  set +e
  [ -n "$blocker" ] && kill "$blocker" 2>/dev/null && wait "$blocker" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source tests/install/checks.sh

# Processes of the session `sid` still alive, one "pid command" a line. A
# zombie has ended: dbus-run-session leaves its bus to init to reap, which
# some container inits do late.
session_left() {
  ps -eo pid=,sid=,stat=,comm= | awk -v sid="$1" '$2 == sid && $3 !~ /^Z/ { print $1, $4 }'
}

# Runs the command in a session of its own, whose id is its pid, so that
# everything it started can be found afterwards. With a signal name as
# $1, sends that signal once an X server of the session is up.
run_in_session() {
  local signal=$1 log=$2 pid status
  # A terminal's foreground job receives SIGINT; a background job of this
  # script would start with it ignored.
  env --default-signal=INT -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
    setsid bash scripts/run.sh >"$log" 2>&1 </dev/null &
  pid=$!
  if [ "$signal" != none ]; then
    for _ in $(seq 600); do
      session_left "$pid" | grep -q ' qov$' && break
      sleep 0.1
    done
    # Ctrl+C reaches the whole process group; a plain kill only the script.
    if [ "$signal" = INT ]; then kill -INT -- "-$pid"; else kill "-$signal" "$pid"; fi
  fi
  status=0
  wait "$pid" || status=$?
  echo "$pid $status"
}

png_is_window() { [ "$(identify -format '%m %wx%h' "$shot" 2>/dev/null)" = "PNG 680x505" ]; }
# dbus-run-session signals its bus as it ends and does not wait for it: the
# bus may take a moment to go after the run has returned.
nothing_left() {
  for _ in $(seq 30); do
    [ -z "$(session_left "$1")" ] && return 0
    sleep 0.1
  done
  echo "left running: $(session_left "$1" | tr '\n' ' ')" >&2
  return 1
}
status_is() { [ "$1" = "$2" ]; }
display99_answers() { xdpyinfo -display :99 >/dev/null 2>&1; }

# Each run: its name, the signal sent once the calendar runs (none: it ends
# by itself and saves its PNG), and the exit status. Ctrl+C (INT) and TERM
# reach the script while its background jobs ignore SIGINT, so only its own
# trap can stop them. Before the third run display :99 is taken: by a server
# of ours unless someone else holds it.
for run in "first none 0" "second none 0" "taken none 0" "interrupted INT 130" "terminated TERM 143"; do
  read -r name signal want <<<"$run"
  if [ "$name" = taken ] && [ ! -e /tmp/.X11-unix/X99 ] && [ ! -e /tmp/.X99-lock ]; then
    Xvfb :99 -nolisten tcp -noreset >/dev/null 2>&1 &
    blocker=$!
    for _ in $(seq 100); do display99_answers && break; sleep 0.1; done
  fi
  rm -f "$shot"
  read -r sid status < <(run_in_session "$signal" "$work/$name.log")
  tail -n 1 "$work/$name.log"
  check "$name run exits with $want (got $status)" status_is "$status" "$want"
  [ "$signal" != none ] || check "$name run saves a 680 x 505 PNG" png_is_window
  check "$name run leaves no process" nothing_left "$sid"
done
check "the runs leave display :99 alone" display99_answers

checks_done

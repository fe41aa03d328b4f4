#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds the release preset and starts
# the calendar. With no display ($DISPLAY and $WAYLAND_DISPLAY empty) it runs
# the calendar on a virtual X server instead, saves a screenshot of the
# window to screenshots/qov.png and stops both again.
#
# Exit status 0 on success; otherwise 1 with the reason on standard error
# (130 after Ctrl+C, 143 after SIGTERM). Whatever the outcome, no process
# this script started outlives it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qov_install_missing

cmake --preset release >/dev/null
cmake --build --preset release --target qov
app=build/release/ui/qov

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app"
fi

shot=screenshots/qov.png
# Seconds allowed for the X server to answer, and for the window to appear
# (the first start on a new machine builds the font cache).
server_limit=20
window_limit=60

xvfb_pid=
app_pid=
runtime=
# Stops the calendar, then the X server, and waits for each; `set -e` must
# not end this early, since `wait` on a killed child returns 143.
stop() {
  set +e
  local pid
  for pid in $app_pid $xvfb_pid; do
    # Under dbus-run-session, the calendar alone: dbus-run-session then
    # stops its bus and ends by itself.
    pkill -TERM -P "$pid" -x qov 2>/dev/null || kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  app_pid=
  xvfb_pid=
  [ -n "$runtime" ] && rm -rf "$runtime"
  runtime=
}
trap stop EXIT
trap 'echo "run.sh: interrupted" >&2; exit 130' INT
trap 'echo "run.sh: terminated" >&2; exit 143' TERM

fail() {
  echo "run.sh: $*" >&2
  exit 1
}

# The first display from :99 on that is free, whose new server answers
# (xdpyinfo succeeds). A server that ends at once lost a race for its
# number: the next number is tried. -noreset: a server resets when its last
# client leaves, and refuses the calendar's connection meanwhile; xdpyinfo
# is such a client.
display=99
while :; do
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  [ "$display" -lt 200 ] || fail "no free X display between :99 and :199"
  Xvfb ":$display" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  start=$SECONDS
  until xdpyinfo -display ":$display" >/dev/null 2>&1; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      wait "$xvfb_pid" 2>/dev/null || true
      xvfb_pid=
      break
    fi
    [ $((SECONDS - start)) -lt "$server_limit" ] \
      || fail "the X server on :$display did not answer within $server_limit s"
    sleep 0.1
  done
  # Answering and still ours: not a server that took the number meanwhile.
  [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null && break
  display=$((display + 1))
done
export DISPLAY=":$display"

# A runtime directory of its own, so that a calendar already running for
# this user does not count as the first copy.
runtime=$(mktemp -d)
# A session bus of its own, stopped with the calendar: with none, libdbus
# starts one through dbus-launch (package dbus-x11, found on most desktops),
# which outlives this script. dbus-run-session comes with dbus-launch.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb "${session[@]}" "$app" &
app_pid=$!

# The window: the top-level window of class "qov" larger than Qt's helper
# windows, found in xwininfo's list (0x200006 "...": ("qov" "qov")  680x505+0+0
# ...), once it is mapped and viewable.
window=
start=$SECONDS
until [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q 'Map State: IsViewable'; do
  kill -0 "$app_pid" 2>/dev/null || fail "the calendar ended before showing its window"
  [ $((SECONDS - start)) -lt "$window_limit" ] \
    || fail "no calendar window within $window_limit s"
  sleep 0.1
  window=$(xwininfo -root -children 2>/dev/null \
    | sed -n 's/^ *\(0x[0-9a-f]*\) .*("qov" "qov") *[0-9]\{3,\}x[0-9]\{3,\}+.*/\1/p' | head -n 1)
done
# A little more than the clock's first tick.
sleep 1.5
kill -0 "$app_pid" 2>/dev/null || fail "the calendar ended while being photographed"

mkdir -p "$(dirname "$shot")"
import -window "$window" "$shot" || fail "could not save $shot"
echo "Screenshot: $shot"

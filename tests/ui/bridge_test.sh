#!/usr/bin/env bash
# Runs a check of qov (bridge_test.py by default: the window as a screen
# reader reads it through the real AT-SPI bridge; sni_test.py: the tray icon
# over StatusNotifierItem; ../tray/tray_test.sh: the tray in trayer) on an X
# server of its own (Xvfb -displayfd) in a private D-Bus session, whose
# AT-SPI bus starts on demand. The check starts qov itself.
#
#   bridge_test.sh PATH_TO_QOV [SCRIPT [ARG...]]
#
# SCRIPT, relative to this folder, gets PATH_TO_QOV and the ARGs; Python
# scripts run in Debian's own Python, which holds python3-pyatspi and
# python3-gi. Everything runs in a process session of its own; whatever is
# left of it at the end (the X server, the buses, the registry, the
# calendar, trayer) is stopped, on failure too.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = --in-session ]; then
  work=$2
  shift 2
  # -noreset: a server resets when its last client leaves and refuses new
  # ones meanwhile, and xdotool's searches come and go while trayer starts.
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "FAIL: no X server"; exit 1; }
  export DISPLAY=":$(cat "$work/display")" QOV_TEST_SESSION=1
  mkdir -m 700 "$work/runtime"
  export PYTHONDONTWRITEBYTECODE=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
  # A copy left running past a minute would check the holiday source: no
  # fetcher here, so a test never leaves the machine.
  export QOV_UPDATE_HELPER=/bin/false
  unset WAYLAND_DISPLAY
  exec "$here/$2" "$1" "${@:3}"
fi

for tool in Xvfb dbus-run-session xdotool setsid; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi missing"; exit 77; }

work=$(mktemp -d)
sid=
# Processes of the session still alive (not zombies awaiting their reaper).
left() { ps -eo pid=,sid=,stat= | awk -v sid="$sid" '$2 == sid && $3 !~ /^Z/ { print $1 }'; }
cleanup() {
  set +e
  if [ -n "$sid" ]; then
    # shellcheck disable=SC2046
    kill $(left) 2>/dev/null
    for _ in $(seq 50); do [ -z "$(left)" ] && break; sleep 0.1; done
    [ -z "$(left)" ] || { echo "FAIL: left running: $(left)"; kill -KILL $(left) 2>/dev/null; }
  fi
  rm -rf "$work"
}
trap cleanup EXIT

setsid dbus-run-session -- bash "$0" --in-session "$work" "$1" "${2:-bridge_test.py}" "${@:3}" \
  2>"$work/stderr" &
sid=$!
status=0
wait "$sid" || status=$?
[ "$status" -eq 0 ] || sed -n '1,40p' "$work/stderr"
exit "$status"

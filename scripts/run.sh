#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds the release preset and starts
# the calendar. With no display ($DISPLAY and $WAYLAND_DISPLAY empty) it runs
# the calendar on a virtual X server instead, saves a screenshot of the
# window to screenshots/qov.png and stops it again.
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
mkdir -p screenshots

# The first free display number from :99 on.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
app_pid=
stop() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap stop EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done

# A runtime directory of its own, so that a calendar already running for
# this user does not count as the first copy.
runtime=$(mktemp -d)
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb "$app" &
app_pid=$!

# Wait for the window (by its caption when xwininfo is there), then a little
# more than the clock's first tick.
title='岚澄万年历 1.0'
geometry=
for i in $(seq 100); do
  if command -v xwininfo >/dev/null; then
    info=$(xwininfo -name "$title" 2>/dev/null || true)
    if [ -n "$info" ]; then
      x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
      y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
      w=$(sed -n 's/.*Width: *//p' <<<"$info")
      h=$(sed -n 's/.*Height: *//p' <<<"$info")
      geometry="${w}x${h}+${x}+${y}"
      break
    fi
  elif [ "$i" -ge 30 ]; then
    break  # no way to ask the X server: three seconds are plenty
  fi
  kill -0 "$app_pid" 2>/dev/null || { echo "qov ended before showing its window" >&2; exit 1; }
  sleep 0.1
done
sleep 1.5

if [ -n "$geometry" ]; then
  import -window root -crop "$geometry" +repage "$shot"
else
  import -window root "$shot"
fi
rm -rf "$runtime"
echo "Screenshot: $shot"

#!/usr/bin/env bash
# The program in a real XEmbed tray: trayer on a virtual X server of its
# own, in a D-Bus session of its own (no StatusNotifierWatcher, so Qt takes
# the XEmbed path), both set up and stopped by ../ui/bridge_test.sh. Checks
# the leaf in the tray, a click showing today, a second start's --date, a
# start after kill -9, and then midnight and a clock jump under faketime
# (tst_program's midnight test, with the tray).
# Usage: tray_test.sh QOV TST_PROGRAM
set -euo pipefail
[ -n "${QOV_TEST_SESSION:-}" ] || exec bash "$(dirname "$0")/../ui/bridge_test.sh" "$1" ../tray/tray_test.sh "$2"
qov=$1 tst=$2
work=$XDG_RUNTIME_DIR
source "$(dirname "$0")/../install/checks.sh"
export TZ=Asia/Shanghai
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON

trayer --edge top --align right --widthtype request --height 24 --transparent false \
  --tint 0xffffff >/dev/null 2>&1 &

# Pixels of exactly rgb($2) in the rectangle $3 (WxH+X+Y) of the window $1.
count() {
  [ -n "$1" ] && timeout 5 import -window "$1" "$work/shot.png" 2>/dev/null || { echo 0; return; }
  convert "$work/shot.png" -crop "$3" +repage -fill black +opaque "rgb($2)" \
    -fill white -opaque "rgb($2)" -format '%[fx:round(mean*w*h)]' info:
}
# At least $3 pixels of rgb($2) in the cell of the ISO date $1 on its own
# month's page, in the rectangle $4 (WxH) at $5,$6 from the cell's corner:
# the selection fill over the cell, the ring down its left edge.
cell_has() {
  local first index win
  first=$(date -d "${1%-*}-01" +%w)
  index=$((first + 10#${1##*-} - 1))
  win=$(xdotool search --onlyvisible --name 万年历 | head -n 1)
  [ "$(count "$win" "$2" "$4+$((5 + 70 * (index % 7) + $5))+$((52 + 50 * (index / 7) + $6))")" -ge "$3" ]
}
selected_cell() { cell_has "$1" 211,227,240 1000 69x50 0 0; }
ring_on() { cell_has "$1" 233,2,6 28 1x30 1 10; }
window_shown() { xdotool search --onlyvisible --name 万年历 >/dev/null 2>&1; }
window_hidden() { ! window_shown; }
wait_for() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }
icon_shown() { [ "$(count "$tray" 233,2,6 1024x24+0+0)" -gt 60 ]; }
# Clicks apart by more than the double-click time (Qt's default 400 ms): a
# second click sooner is a double click, which never hides the window.
click_icon() { sleep 0.5; xdotool mousemove --window "$tray" 10 12 click 1; }
exits_zero() { timeout 10 "$qov" "$@"; }

# trayer's panel, which holds the icons
tray=
panel() { tray=$(xdotool search --name '^panel$' 2>/dev/null | head -n 1) && [ -n "$tray" ]; }
check "trayer runs" wait_for panel
"$qov" --tray & qov_pid=$!
check "qov --tray puts the leaf in the tray" wait_for icon_shown
check "qov --tray shows no window" window_hidden
today=$(date +%F)
click_icon
check "a click shows the window" wait_for window_shown
check "on today, selected" selected_cell "$today"
check "with today's ring" ring_on "$today"
click_icon
check "a second click hides it" wait_for window_hidden
check "a second start with --date exits with 0" exits_zero --date 2008-08-08
check "and shows the window" wait_for window_shown
check "on that day" selected_cell 2008-08-08
# Keys are left to tst_program (Esc): a key sent under load may repeat into
# the windows shown after it.
click_icon
check "a click hides it to the tray" wait_for window_hidden
check "the program stays" kill -0 "$qov_pid"

kill -9 "$qov_pid"
wait "$qov_pid" 2>/dev/null || true
check "kill -9 leaves the socket behind" test -S "$work/QOVOnlyOne.socket"
"$qov" --tray & qov_pid=$!
check "the next start runs" wait_for icon_shown
check "and answers a second start" exits_zero
check "which shows the window" wait_for window_shown
kill "$qov_pid"
wait "$qov_pid" 2>/dev/null || true

echo "@2026-12-31 23:59:53" >"$work/faketime"
# Under AddressSanitizer the preloaded library comes first, and the X and
# font libraries' own allocations at exit are not ours to report.
check "midnight and a clock jump under faketime" env \
  ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0 \
  LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
  FAKETIME_TIMESTAMP_FILE="$work/faketime" FAKETIME_CACHE_DURATION=1 DONT_FAKE_MONOTONIC=1 \
  "$tst" midnight
checks_done

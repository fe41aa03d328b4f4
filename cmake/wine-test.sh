#!/bin/sh
# Runs a Windows program under Wine (Debian wine64) in the prefix PREFIX:
#   wine-test.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# headless (no display, no Mono or Gecko installer) and with Wine's own
# messages off. The first program creates the prefix (about 10 s).
#   wine-test.sh PREFIX --stop
# stops the prefix's wineserver, waits for it and removes the prefix.
# The prefix is always PREFIX, never the caller's $WINEPREFIX: --stop
# deletes it.
set -eu
WINEPREFIX=$1
shift
export WINEPREFIX
server=/usr/lib/wine/wineserver64
if [ "${1:-}" = --stop ]; then
    if [ -d "$WINEPREFIX" ]; then
        "$server" -k 2>/dev/null || true
        "$server" -w 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
    rm -f "$WINEPREFIX.lock"
    exit 0
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# The wineserver and Wine's services start detached from our output: ctest
# waits until every process holding a test's output has ended, and a server
# started by the test itself would hold it for its 3 s of lingering. It
# lingers 30 s after the last program instead, so that the tests of a run
# share it and it still ends by itself if the run is cut short.
(
    flock 9
    mkdir -p "$WINEPREFIX"
    # (not holding the lock: 9>&-)
    "$server" -p30 </dev/null >/dev/null 2>&1 9>&- || true  # fails when already running
    [ -d "$WINEPREFIX/drive_c" ] \
        || /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1 9>&-
) 9>"$WINEPREFIX.lock"
exec /usr/lib/wine/wine64 "$@"

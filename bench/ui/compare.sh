#!/usr/bin/env bash
# The main window against the sketch yardstick, offscreen: start to the end
# of the first paint, full repaint, peak RSS after the first paint (each at
# 100 % and 200 %, medians of interleaved rounds) and a mouse move to a new
# day. Builds the release preset first. About 1.5 s a round on an idle
# two-core machine.
#
#   bench/ui/compare.sh [rounds]    (default 30)
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset release >/dev/null
cmake --build --preset release --target bench_startup bench_sketch >/dev/null
echo "load: $(uptime)"
build/release/bench/ui/bench_startup --compare build/release/bench/ui/bench_sketch "${1:-30}"

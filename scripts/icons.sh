#!/usr/bin/env bash
# Renders the program icon resources/qov.svg to the PNGs beside it
# (resources/qov-16.png ... qov-256.png) with rsvg-convert (librsvg2-bin).
# With --check DIR it renders into DIR instead and fails when any PNG
# differs from the committed one, so that the PNGs cannot drift from the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
out=resources
if [ "${1:-}" = --check ]; then
  out=${2:?usage: icons.sh [--check DIR]}
  mkdir -p "$out"
fi
status=0
for size in 16 32 48 128 256; do
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "$out/qov-$size.png" resources/qov.svg
  if [ "$out" != resources ] && ! cmp -s "$out/qov-$size.png" "resources/qov-$size.png"; then
    echo "resources/qov-$size.png differs from resources/qov.svg rendered: run bash scripts/icons.sh" >&2
    status=1
  fi
done
exit "$status"

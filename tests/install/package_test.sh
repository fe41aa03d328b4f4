#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh made: its control
# fields, its files, lintian (no errors), and the unpacked program itself
# started offscreen from a temporary root, which must paint its window and
# end cleanly. The program's test hook QOV_SNAPSHOT=file.png saves the first
# paint and closes the window.
#   usage: package_test.sh path/to/qov_1.0_amd64.deb
set -euo pipefail
deb=$(realpath "${1:?usage: package_test.sh DEB}")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

# shellcheck source=tests/install/checks.sh
source "$(dirname "$0")/checks.sh"

field_is() { [ "$(dpkg-deb -f "$deb" "$1")" = "$2" ]; }
depends_on() { dpkg-deb -f "$deb" Depends | tr ',' '\n' | grep -q "^ *$1\b"; }
check "file name" [ "$(basename "$deb")" = "qov_1.0_$(dpkg --print-architecture).deb" ]
for field in "Package qov" "Version 1.0" "Section utils" "Maintainer qov developers <qov@example.org>"; do
  check "${field%% *}: ${field#* }" field_is "${field%% *}" "${field#* }"
done
ascii_description() { ! dpkg-deb -f "$deb" Description | LC_ALL=C grep -q '[^ -~]'; }
check "description in English (plain ASCII)" ascii_description
check "a synopsis and a long description" [ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ]
# From dpkg-shlibdeps, and those no library names.
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 \
  fonts-arphic-uming fonts-liberation fonts-wqy-microhei qt6-qpa-plugins; do
  check "depends on $dep" depends_on "$dep"
done

dpkg-deb -x "$deb" "$root"
for file in "${installed_files[@]}"; do
  check "ships /usr/$file" [ -s "$root/usr/$file" ]
done
check "the binary is stripped" bash -c "! file '$root/usr/bin/qov' | grep -q 'not stripped'"

lintian_clean() {
  local report status=0
  report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
  report=$(grep -v 'running with root privileges' <<<"$report" || true)
  [ -z "$report" ] || echo "$report"
  [ "$status" -eq 0 ] && ! grep -q '^E:' <<<"$report"
}
check "lintian reports no errors" lintian_clean

# The unpacked program, with nothing of the build tree around it.
runtime=$root/runtime
mkdir -m 700 "$runtime"
run_unpacked() {
  env -i PATH=/usr/bin:/bin HOME="$root" XDG_RUNTIME_DIR="$runtime" LC_ALL=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen "$@"
}
status=0
run_unpacked QOV_SNAPSHOT="$root/shot.png" timeout 60 "$root/usr/bin/qov" || status=$?
check "the unpacked program ends with status 0 (got $status)" [ "$status" -eq 0 ]
check "it painted its 680 x 505 window" \
  [ "$(identify -format '%m %wx%h' "$root/shot.png" 2>/dev/null)" = "PNG 680x505" ]
check "it painted more than a blank window" \
  [ "$(convert "$root/shot.png" -format '%k' info: 2>/dev/null)" -gt 100 ]
check "its --version" [ "$(run_unpacked "$root/usr/bin/qov" --version)" = "qov Perpetual Calendar 1.0" ]

checks_done

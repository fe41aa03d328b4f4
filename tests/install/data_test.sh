#!/usr/bin/env bash
# The desktop integration files, one check a call (ctest runs each):
#   data_test.sh desktop-entry SOURCE_DIR       desktop-file-validate: no error, no warning
#   data_test.sh metainfo SOURCE_DIR            appstreamcli validate --no-net: no error, no warning
#   data_test.sh icons SOURCE_DIR               the PNGs are the SVG rendered
#   data_test.sh install SOURCE_DIR BUILD_DIR   cmake --install puts every file in place, under one id
set -euo pipefail
check=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# shellcheck source=tests/install/checks.sh
source "$(dirname "$0")/checks.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

case $check in
desktop-entry)
  file=$src/data/$id.desktop
  report=$(desktop-file-validate "$file" 2>&1) || true
  echo "$report"
  # Hints are suggestions ("Calendar" could also be under "Office"). Debian
  # 12's desktop-file-utils 0.26 predates Desktop Entry format 1.5, which
  # added SingleMainWindow, and reports that key as an unknown extension:
  # that one line is allowed while the validator is older than 0.27.
  version=$(dpkg-query -W -f='${Version}' desktop-file-utils)
  if dpkg --compare-versions "$version" lt 0.27; then
    report=$(grep -v 'error: file contains key "SingleMainWindow" in group "Desktop Entry", but keys extending the format should start with "X-"' <<<"$report" || true)
  fi
  ! grep -E ': (error|warning): ' <<<"$report" || fail "desktop-file-validate $file"
  # What the menu shows.
  for line in 'Name=万年历' 'Name[en]=Perpetual Calendar' 'Categories=Utility;Calendar;' \
    'StartupNotify=true' 'SingleMainWindow=true' "Icon=$id" 'Exec=qov'; do
    grep -qxF "$line" "$file" || fail "$file lacks $line"
  done
  grep -q '^Comment=.*[^ -~]' "$file" || fail "$file lacks a Chinese Comment"
  grep -q '^Comment\[en\]=[ -~]*$' "$file" || fail "$file lacks an English Comment[en]"
  ;;
metainfo)
  file=$src/data/$id.metainfo.xml
  status=0
  report=$(appstreamcli validate --no-net "$file" 2>&1) || status=$?
  echo "$report"
  [ "$status" -eq 0 ] || fail "appstreamcli validate --no-net exited with $status"
  ! grep -E '^(E|W): ' <<<"$report" || fail "appstreamcli validate --no-net $file"
  ;;
icons)
  bash "$src/scripts/icons.sh" --check "$tmp" || fail "the PNG icons differ from the SVG"
  ;;
install)
  build=$3
  cmake --install "$build" --prefix "$tmp/usr" >/dev/null
  share=$tmp/usr/share
  for file in "${installed_files[@]}"; do
    [ -s "$tmp/usr/$file" ] || fail "cmake --install put no $file"
  done
  [ -x "$tmp/usr/bin/qov" ] || fail "bin/qov is not executable"
  # The installed qov finds its fetcher: a refused loopback port is the
  # fetcher's own failure, not a missing program's.
  out=$(XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data "$tmp/usr/bin/qov" --update-holidays \
    --holiday-source 'http://127.0.0.1:9/{year}.json' 2>&1) && fail "an update from a closed port succeeded"
  grep -q 'Connection refused' <<<"$out" || fail "qov --update-holidays did not run its fetcher: $out"
  # Each PNG at the size its folder names.
  for size in 16 32 48 128 256; do
    got=$(identify -format '%wx%h' "$share/icons/hicolor/${size}x$size/apps/$id.png")
    [ "$got" = "${size}x$size" ] || fail "the ${size}px icon is $got"
  done
  # One id throughout: the metainfo's id and launchable, and the desktop
  # file's name (its Icon= line is the desktop-entry check's, installed as is).
  xml=$share/metainfo/$id.metainfo.xml
  grep -qF "<id>$id</id>" "$xml" || fail "metainfo id is not $id"
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$xml" \
    || fail "metainfo launchable is not $id.desktop"
  # The release the metainfo announces is the one built.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  grep -qE "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$xml" \
    || fail "metainfo has no dated release $version"
  ;;
*)
  fail "unknown check $check"
  ;;
esac
echo "PASS: $check"

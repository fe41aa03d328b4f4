# shellcheck shell=bash
# Sourced by the install tests: named checks that count passes and failures
# and end with the line "N passed, N failed", and the files an install puts
# under its prefix.
passes=0
failures=0

# check NAME COMMAND...: runs the command, prints PASS or FAIL with the name.
check() {
  if "${@:2}"; then
    echo "PASS: $1"
    passes=$((passes + 1))
  else
    echo "FAIL: $1"
    failures=$((failures + 1))
  fi
}

# Prints the totals; the status is 0 when nothing failed.
checks_done() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}

# The installed files, relative to the prefix, every name under one id.
id=io.github.qov.Calendar
# shellcheck disable=SC2034  # for the scripts that source this one
installed_files=(bin/qov libexec/qov/qov-update "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml" share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/"$id.png"
  "share/icons/hicolor/scalable/apps/$id.svg" share/man/man1/qov.1.gz share/doc/qov/copyright
  share/doc/qov/changelog.gz)

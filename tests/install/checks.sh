# shellcheck shell=bash
# Sourced by the install tests: named checks that count passes and failures
# and end with the line "N passed, N failed".
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

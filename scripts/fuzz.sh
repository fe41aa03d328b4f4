#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz (preset "fuzz": clang with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for a
# bounded time, two at a time on a two-core machine.
#
#   scripts/fuzz.sh [SECONDS] [HARNESS...]
#
# SECONDS per harness, 300 by default (CI passes 30); HARNESS names such as
# engine_fuzz, all of them by default. Each harness starts from its seed
# corpus in tests/fuzz/corpus and grows a working corpus under
# build/fuzz/corpus, which later runs reuse; a failing input is saved under
# build/fuzz/findings/HARNESS and replays with
#   build/fuzz/tests/fuzz/HARNESS FILE
# Prints the executions of every harness; exit status 1 when any of them
# found something, 0 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qov_install_missing

seconds=${1:-300}
shift || true
jobs=${QOV_FUZZ_JOBS:-2}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for src in tests/fuzz/*_fuzz.cpp; do harnesses+=("$(basename "$src" .cpp)"); done
fi

run_one() {
  local name=$1 work=build/fuzz/corpus/$1 findings=build/fuzz/findings/$1
  mkdir -p "$work" "$findings"
  # -timeout: one input slower than 10 s counts as a finding (a hang).
  build/fuzz/tests/fuzz/"$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "tests/fuzz/corpus/$name" \
    >"build/fuzz/$name.log" 2>&1
}

declare -A pids=()
for name in "${harnesses[@]}"; do
  [ -x "build/fuzz/tests/fuzz/$name" ] || { echo "fuzz.sh: no harness $name" >&2; exit 1; }
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  echo "fuzzing $name for ${seconds} s"
  run_one "$name" &
  pids[$name]=$!
done

failed=0
for name in "${harnesses[@]}"; do
  status=0
  wait "${pids[$name]}" || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build/fuzz/$name.log" | tail -1)
  if [ "$status" -eq 0 ]; then
    echo "$name: ${runs:-?} executions, no finding"
  else
    failed=1
    echo "$name: FINDING after ${runs:-?} executions (exit $status); log build/fuzz/$name.log" >&2
    grep -E 'invariant broken|runtime error|ERROR: (AddressSanitizer|libFuzzer)|SUMMARY' \
      "build/fuzz/$name.log" | head -5 >&2 || true
    ls build/fuzz/findings/"$name"/ >&2
  fi
done
exit "$failed"

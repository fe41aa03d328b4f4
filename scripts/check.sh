#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds and runs every test: the dev
# build with all tests, then the engine, festival and model tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the README's run
# command with no display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qov_install_missing

cmake --preset dev
cmake --build --preset dev
ctest --preset dev

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

# scripts/run.sh exactly as the README gives it (about 15 s on top of the
# release build of the program).
bash tests/install/run_test.sh

#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds and runs every test: the dev
# build with all tests, then the core's tests for Windows under Wine, then
# all of them again under AddressSanitizer and UndefinedBehaviorSanitizer
# (the window tests offscreen), then the fuzzers for a bounded time, then the
# Debian package and the README's run command with no display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qov_install_missing

cmake --preset dev
cmake --build --preset dev
ctest --preset dev

# The engine, festivals and models with their tests, cross-built for Windows
# with MinGW-w64 and run under Wine (about a minute: 43 s of CPU to build,
# some 10 s for Wine's first start, 5 s of CPU in the tests). The test run makes one Wine prefix in
# the build and removes it at its end; the trap also stops its wineserver
# when the run fails or is cut short.
cmake --preset windows-core
cmake --build --preset windows-core
wine_prefix=$PWD/build/windows-core/wineprefix
trap 'cmake/wine-test.sh "$wine_prefix" --stop' EXIT
ctest --preset windows-core
cmake/wine-test.sh "$wine_prefix" --stop
trap - EXIT

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

# Every libFuzzer harness for 30 s, two at a time; any finding fails the
# run (about 2.5 minutes with the clang build).
bash scripts/fuzz.sh 30

# The Debian package and the run command exactly as the README gives them:
# the release build of the program alone (about 30 s), then about 10 s for
# the package and lintian and 15 s for the runs.
bash scripts/package.sh
bash tests/install/package_test.sh "build/release/qov_1.0_$(dpkg --print-architecture).deb"
bash tests/install/run_test.sh

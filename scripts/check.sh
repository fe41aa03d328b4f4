#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds and runs every test: the plain
# Release build that distributions and users make (no preset, warnings not
# fatal) with all tests, then the core's tests for Windows under Wine, then
# all of them again under AddressSanitizer and UndefinedBehaviorSanitizer
# (a Debug build with our warnings fatal, the window tests offscreen), then
# the fuzzers for a bounded time, then the Debian package and the README's
# run command with no display. The `dev` preset (Debug, warnings fatal, all
# tests) is the developer's daily build; the asan stage covers what it would
# add here, so CI leaves it out to stay within its time.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qov_install_missing

# Every target with CMake's defaults (no preset, its default generator, our
# warnings not fatal), as a distribution builds it; about 145 s of CPU, so
# some 80 s on two cores, and 25 s of tests.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=Release
cmake --build build/plain
ctest --test-dir build/plain --output-on-failure

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

# The Debian package, made from the plain Release build (about 10 s with
# lintian), and the run command exactly as the README gives it (the release
# build of the program alone, about 30 s, and 15 s for the runs).
bash scripts/package.sh build/plain
bash tests/install/package_test.sh "build/plain/qov_1.0_$(dpkg --print-architecture).deb"
bash tests/install/run_test.sh

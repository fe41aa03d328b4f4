#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds the program in the release
# preset and makes the Debian package build/release/qov_<version>_<arch>.deb
# with CPack. Install it with: sudo apt install ./build/release/qov_1.0_amd64.deb
#
#   package.sh [BUILD_DIR]
#
# With BUILD_DIR, an existing Release build (CI passes its plain one) is
# packaged instead, and the package lands there.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qov_install_missing

build=${1:-}
if [ -z "$build" ]; then
  build=build/release
  cmake --preset release >/dev/null
fi
cmake --build "$build" --target qov
deb=$(cd "$build" && cpack -G DEB | sed -n 's|.*package: \(.*\.deb\) generated\.|\1|p')
[ -f "$deb" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
echo "Package: ${deb#"$PWD/"}"

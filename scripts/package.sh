#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds the program in the release
# preset and makes the Debian package build/release/qov_<version>_<arch>.deb
# with CPack. Install it with: sudo apt install ./build/release/qov_1.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qov_install_missing

cmake --preset release >/dev/null
cmake --build --preset release --target qov
deb=$(cd build/release && cpack -G DEB | sed -n 's|.*package: \(.*\.deb\) generated\.|\1|p')
[ -f "$deb" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
echo "Package: ${deb#"$PWD/"}"

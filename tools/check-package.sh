#!/usr/bin/env bash
# Builds the Debian package from the build folder (default build/, or $VORLYN_BUILD_DIR,
# already built), prints its control data, unpacks it into a temporary root and starts the
# unpacked program there with tools/check-installed.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLYN_BUILD_DIR:-$root/build}
unpacked=$(mktemp -d /tmp/vorlyn-package.XXXXXX)
trap 'rm -rf "$unpacked"' EXIT

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/vorlyn-player_*.deb | head -n 1)
dpkg-deb -I "$deb"
dpkg-deb -x "$deb" "$unpacked"
"$root/tools/check-installed.sh" "$unpacked/usr"

#!/usr/bin/env bash
# Installs what is missing, configures and builds. The build directory is
# $VORLYN_BUILD_DIR (default: build/); extra CMake arguments come from $VORLYN_CMAKE_ARGS.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
build=${VORLYN_BUILD_DIR:-$root/build}
# shellcheck disable=SC2086
cmake -S "$root" -B "$build" -G Ninja ${VORLYN_CMAKE_ARGS:-} >/dev/null
cmake --build "$build"

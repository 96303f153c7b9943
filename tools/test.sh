#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless (Xvfb with
# software OpenGL, PulseAudio with a null sink). Arguments are passed on to ctest,
# for example -R media/packetqueue or -L media.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
build=${VORLYN_BUILD_DIR:-$root/build}

# shellcheck source=tools/headless.sh
. "$root/tools/headless.sh"
trap headless_stop EXIT
headless_start
# $VORLYN_TEST_LD_PRELOAD is preloaded into the tests only (the sanitizer runs use it
# to keep Mesa's driver mapped, so its allocations stay attributable).
LD_PRELOAD="${VORLYN_TEST_LD_PRELOAD:-${LD_PRELOAD:-}}" \
    ctest --test-dir "$build" --output-on-failure --no-tests=error "$@"

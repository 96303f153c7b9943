#!/usr/bin/env bash
# Runs every benchmark of the build, headless, and prints their JSON lines.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLYN_BUILD_DIR:-$root/build}
# shellcheck source=tools/headless.sh
. "$root/tools/headless.sh"
trap headless_stop EXIT
headless_start
cd "$build/run"
found=0
for b in "$build"/bench/bench_*; do
    # the build's own folders (bench_app_autogen) are not benchmarks
    [ -f "$b" ] && [ -x "$b" ] || continue
    found=1
    "$b"
done
[ "$found" = 1 ] || echo "no benchmarks built yet" >&2

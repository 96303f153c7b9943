#!/usr/bin/env bash
# Installs what is missing, builds, assembles the run tree and starts the player from
# inside it. An optional argument is the editor's initial document.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
build=${VORLYN_BUILD_DIR:-$root/build}
doc=()
if [ $# -gt 0 ]; then
    # the program runs from the run tree, so a relative document name is resolved here
    doc=("$(realpath -m -- "$1")")
fi
cd "$build/run"
exec ./vorlynplayer "${doc[@]}"

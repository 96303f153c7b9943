#!/usr/bin/env bash
# Installs what is missing, builds, assembles the run tree and starts the player from
# inside it. Optional arguments: a lesson (a media file) and a document for the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
build=${VORLYN_BUILD_DIR:-$root/build}
files=()
for f in "$@"; do
    # the program runs from the run tree, so relative names are resolved here
    files+=("$(realpath -m -- "$f")")
done
cd "$build/run"
exec ./vorlynplayer "${files[@]}"

#!/usr/bin/env bash
# Starts an installed program, <prefix>/bin/vorlynplayer, as a learner would: from an
# empty working folder, with fresh user folders, in Chinese, under the headless desktop
# (started here unless a display is set), with a short lesson clip on its command line.
# Passes when the player's window is shown with the lesson in its translated title (the
# data tree was found beside the executable, not in the working folder, and the lesson
# opened), no message complains of a file, nothing was written into the data tree or the
# working folder, and a termination signal ends the program cleanly.
#
# Usage: tools/check-installed.sh <prefix>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(realpath "$1")
program="$prefix/bin/vorlynplayer"
data="$prefix/share/vorlyn-player"
fail() {
    echo "check-installed: $*" >&2
    exit 1
}
[ -x "$program" ] || fail "no program at $program"
[ -d "$data" ] || fail "no data tree at $data"
for f in applications/org.vorlyn.Player.desktop metainfo/org.vorlyn.Player.metainfo.xml \
    icons/hicolor/scalable/apps/org.vorlyn.Player.svg icons/hicolor/48x48/apps/org.vorlyn.Player.png \
    man/man1/vorlynplayer.1.gz; do
    [ -s "$prefix/share/$f" ] || fail "$prefix/share/$f is missing"
done
broken=$(find "$data" -xtype l)
[ -z "$broken" ] || fail "links to nothing: $broken"

if [ -z "${DISPLAY:-}" ]; then
    # shellcheck source=tools/headless.sh
    . "$root/tools/headless.sh"
    headless_start
fi
scratch=$(mktemp -d /tmp/vorlyn-installed.XXXXXX)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$scratch"
    if [ -n "${VORLYN_HEADLESS_DIR:-}" ]; then headless_stop; fi
}
trap cleanup EXIT
mkdir -p "$scratch/work" "$scratch/home" "$scratch/tmp" "$scratch/lesson"
lesson="$scratch/lesson/clip.mkv"
ffmpeg -v error -f lavfi -i "testsrc=size=160x120:rate=25:duration=3" \
    -f lavfi -i "sine=frequency=440:duration=3" -c:v mpeg4 -c:a mp2 "$lesson"
find "$data" | sort >"$scratch/data-before"

title="clip.mkv - Vorlyn 播放器"
cd "$scratch/work"
HOME="$scratch/home" TMPDIR="$scratch/tmp" \
    XDG_CONFIG_HOME="$scratch/home/config" XDG_DATA_HOME="$scratch/home/data" \
    XDG_CACHE_HOME="$scratch/home/cache" LANG=zh_CN.UTF-8 LC_ALL= LANGUAGE= \
    "$program" "$lesson" 2>"$scratch/stderr" &
pid=$!

shown=
for _ in $(seq 120); do
    kill -0 "$pid" 2>/dev/null || break
    window=$(xwininfo -root -tree | grep -F "\"$title\"" | awk '{print $1}' | head -n 1 || true)
    if [ -n "$window" ] && xwininfo -id "$window" | grep -q 'Map State: IsViewable'; then
        shown=yes
        break
    fi
    sleep 0.5
done
[ -n "$shown" ] || { cat "$scratch/stderr" >&2; fail "no window titled \"$title\" was shown"; }

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status after SIGTERM"

if grep -i -E 'cannot|could not|can.t|no such|missing|not found|failed' "$scratch/stderr"; then
    fail "the program complained (above)"
fi
[ -z "$(ls -A "$scratch/work")" ] || fail "files appeared in the working folder: $(ls -A "$scratch/work")"
find "$data" | sort | cmp -s - "$scratch/data-before" || fail "the data tree changed"
echo "check-installed: $program opened a lesson in its window with its data from $data"

#!/usr/bin/env bash
# The whole player's CPU seconds per second of media and its peak memory while it plays
# a generated 1080p and a 360p H.264 + AAC clip, beside ffplay showing the same clips in a
# window of the same size, under the same headless X server and software OpenGL, runs
# interleaved. Prints JSON lines, then the ratios player / ffplay.
#   VORLYN_BUILD_DIR     the build (default build/)
#   VORLYN_BENCH_SECONDS seconds measured per run (default 20)
#   VORLYN_BENCH_REPEAT  runs per program and clip (default 1; the figures are medians)
#   VORLYN_RGB_PICTURES=1 measures the player's RGB picture path
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLYN_BUILD_DIR:-$root/build}
seconds=${VORLYN_BENCH_SECONDS:-20}
repeat=${VORLYN_BENCH_REPEAT:-1}
settle=3 # start-up and first pictures are not measured
# shellcheck source=tools/headless.sh
. "$root/tools/headless.sh"
clips=$(mktemp -d)
trap 'headless_stop; rm -rf "$clips"' EXIT
headless_start

for size in 1920x1080 640x360; do
    ffmpeg -hide_banner -loglevel error -y \
        -f lavfi -i "testsrc2=size=$size:rate=25:duration=$((seconds + settle + 10))" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$((seconds + settle + 10))" \
        -c:a aac -c:v libx264 -preset veryfast -g 50 -pix_fmt yuv420p "$clips/$size.mp4"
done

ticks=$(getconf CLK_TCK)
# utime + stime of a process, all its threads, in clock ticks
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# measure <file for the figures> <command...>: CPU seconds per media second and VmHWM (kB)
measure() {
    local out=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep "$settle"
    local t0
    t0=$(cpu_ticks "$pid")
    sleep "$seconds"
    local t1 hwm
    t1=$(cpu_ticks "$pid")
    hwm=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(awk -v a="$t0" -v b="$t1" -v t="$ticks" -v s="$seconds" 'BEGIN { print (b - a) / t / s }') $hwm" >>"$out"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cd "$build/run"
for size in 1920x1080 640x360; do
    clip="$clips/$size.mp4"
    for ((i = 0; i < repeat; ++i)); do
        measure "$clips/player-$size" "$build/bench/playclip" "$clip"
        # ffplay's window at the player window's size, its picture letterboxed as ours
        measure "$clips/ffplay-$size" ffplay -loglevel quiet -loop 0 -x 640 -y 480 "$clip"
    done
    for who in player ffplay; do
        cpu=$(awk '{ print $1 }' "$clips/$who-$size" | median)
        mem=$(awk '{ print $2 / 1024 }' "$clips/$who-$size" | median)
        eval "${who}_cpu=$cpu ${who}_mem=$mem"
        printf '{"name": "%s_cpu_per_media_second", "value": %.3f, "unit": "s/s", "clip": "%s"}\n' "$who" "$cpu" "$size"
        printf '{"name": "%s_peak_rss", "value": %.1f, "unit": "MB", "clip": "%s"}\n' "$who" "$mem" "$size"
    done
    # shellcheck disable=SC2154
    awk -v pc="$player_cpu" -v fc="$ffplay_cpu" -v pm="$player_mem" -v fm="$ffplay_mem" -v s="$size" \
        'BEGIN { printf "{\"name\": \"cpu_ratio_player_to_ffplay\", \"value\": %.2f, \"unit\": \"x\", \"clip\": \"%s\"}\n", pc / fc, s
                 printf "{\"name\": \"peak_rss_ratio_player_to_ffplay\", \"value\": %.2f, \"unit\": \"x\", \"clip\": \"%s\"}\n", pm / fm, s }'
done

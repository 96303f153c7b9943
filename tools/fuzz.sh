#!/usr/bin/env bash
# Installs what is missing, builds the libFuzzer targets of tests/fuzz with Clang in
# $VORLYN_FUZZ_BUILD_DIR (default: build-fuzz/), makes their seed corpora and runs each
# target for a while, two at a time. Fails on any crash, leak, hang or sanitizer report.
#
# usage: tools/fuzz.sh [seconds per target (default 30)] [target ...]
# Targets: media transcript dictionary phonetic diff subtitles sentences (default: all). What each run finds
# new is kept in <build>/fuzz-corpus/<target>; findings go to <build>/fuzz-findings/ and the
# logs to <build>/fuzz-logs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(media transcript dictionary phonetic diff subtitles sentences)

"$root/tools/install-deps.sh" "$root/tools/packages.txt" "$root/tools/packages-fuzz.txt"
build=${VORLYN_FUZZ_BUILD_DIR:-$root/build-fuzz}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVORLYN_FUZZ=ON \
    -DVORLYN_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz -j "$(nproc)"

seeds="$build/fuzz-seeds"
rm -rf "$seeds"
"$build/tests/fuzz/fuzz_seeds" "$seeds"
# Media seeds: one-second clips in the containers and codecs lessons come in, small
# enough that a run plays many of them.
mkdir -p "$seeds/media"
video=(-f lavfi -i "testsrc=size=64x48:rate=10:duration=1")
audio=(-f lavfi -i "sine=frequency=440:sample_rate=22050:duration=1")
clip() {
    local name=$1
    shift
    ffmpeg -hide_banner -loglevel error -y "$@" "$seeds/media/$name"
}
clip h264-aac.mp4 "${video[@]}" "${audio[@]}" -c:v libx264 -preset ultrafast -g 5 -bf 2 -pix_fmt yuv420p -c:a aac -shortest
clip tone.mp3 "${audio[@]}" -c:a libmp3lame -b:a 32k
clip vp9-opus.webm "${video[@]}" -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=1" -c:v libvpx-vp9 -deadline realtime -c:a libopus -shortest
clip mpeg2-mp2.ts "${video[@]}" "${audio[@]}" -c:v mpeg2video -g 5 -c:a mp2 -shortest
clip mpeg4-flac.mkv "${video[@]}" "${audio[@]}" -c:v mpeg4 -g 5 -c:a flac -shortest
clip theora-vorbis.ogg "${video[@]}" "${audio[@]}" -c:v libtheora -c:a libvorbis -shortest
clip mjpeg-pcm.avi "${video[@]}" "${audio[@]}" -c:v mjpeg -c:a pcm_s16le -shortest

logs="$build/fuzz-logs"
findings="$build/fuzz-findings"
mkdir -p "$logs" "$findings"
supp="$root/tools/sanitizers"
# halt_on_error: any report ends the run; leaks are looked for after every input that
# allocated more than it freed, and at exit.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp"
# Media plays without a sound server: the engine then drops its samples in real time, as
# it does when the learner's server is gone.
export PULSE_SERVER=unix:/nonexistent
export QT_QPA_PLATFORM=offscreen

# One target: libFuzzer's -timeout reports an input that takes longer as a hang; the outer
# timeout catches a process that cannot even report.
fuzz_one() {
    local t=$1
    mkdir -p "$build/fuzz-corpus/$t"
    timeout --kill-after=30 $((seconds + 300)) \
        "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 \
        -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$findings/$t-" \
        "$build/fuzz-corpus/$t" "$seeds/$t" >"$logs/$t.log" 2>&1
}

failed=()
report() {
    local t=$1 rc=$2
    local last
    last=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$logs/$t.log" | tail -n 1 || true)
    echo "fuzz_$t: exit $rc; ${last:-no progress line}"
    if [ "$rc" -ne 0 ]; then
        failed+=("$t")
        tail -n 60 "$logs/$t.log"
    fi
}

# Two at a time: one per core of the machines this runs on.
i=0
while [ $i -lt ${#targets[@]} ]; do
    a=${targets[$i]}
    b=${targets[$((i + 1))]:-}
    fuzz_one "$a" &
    pa=$!
    if [ -n "$b" ]; then
        fuzz_one "$b" &
        pb=$!
    fi
    rc=0
    wait $pa || rc=$?
    report "$a" $rc
    if [ -n "$b" ]; then
        rc=0
        wait $pb || rc=$?
        report "$b" $rc
    fi
    i=$((i + 2))
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]} (inputs in $findings)" >&2
    exit 1
fi

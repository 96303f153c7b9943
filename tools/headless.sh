# Headless desktop for the tests: an X server with Mesa's software OpenGL and a
# PulseAudio daemon whose default sink is a null sink, so OpenGL views and audio sinks
# are real. Source this file, call headless_start, and headless_stop when done.
#
# module-suspend-on-idle is deliberately not loaded: an idle null sink would be
# suspended, and the first second of audio after it wakes stalls the player's audio clock.

headless_start() {
    VORLYN_HEADLESS_DIR=$(mktemp -d /tmp/vorlyn-headless.XXXXXX)

    local fd_file="$VORLYN_HEADLESS_DIR/display"
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp +extension GLX -noreset \
        3>"$fd_file" >"$VORLYN_HEADLESS_DIR/xvfb.log" 2>&1 &
    VORLYN_XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    if [ ! -s "$fd_file" ]; then
        echo "Xvfb did not start:" >&2
        cat "$VORLYN_HEADLESS_DIR/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(tr -d '\n' <"$fd_file")"
    export QT_QPA_PLATFORM=xcb
    export LIBGL_ALWAYS_SOFTWARE=1
    export GALLIUM_DRIVER=llvmpipe

    # settings and the user's data of whatever runs here stay in this folder, out of the
    # real home
    export XDG_CONFIG_HOME="$VORLYN_HEADLESS_DIR/config"
    export XDG_DATA_HOME="$VORLYN_HEADLESS_DIR/data"
    export XDG_RUNTIME_DIR="$VORLYN_HEADLESS_DIR/runtime"
    mkdir -p "$XDG_RUNTIME_DIR/pulse"
    chmod 700 "$XDG_RUNTIME_DIR"
    cat >"$VORLYN_HEADLESS_DIR/pulse.pa" <<'PA'
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=vorlyn_null rate=48000 channels=2
set-default-sink vorlyn_null
PA
    HOME="$VORLYN_HEADLESS_DIR" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --disallow-exit -F "$VORLYN_HEADLESS_DIR/pulse.pa" \
        >"$VORLYN_HEADLESS_DIR/pulse.log" 2>&1 &
    VORLYN_PULSE_PID=$!
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    for i in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.05
    done
    if ! pactl info >/dev/null 2>&1; then
        echo "PulseAudio did not start:" >&2
        cat "$VORLYN_HEADLESS_DIR/pulse.log" >&2
        return 1
    fi
    # A silent stream keeps the null sink rendering in short blocks, as a sound card's
    # sink does. Idle, the null sink renders two seconds at a time, and a new stream is
    # heard only when that block ends.
    pacat --playback --raw --latency-msec=40 --stream-name=keep-alive /dev/zero \
        >/dev/null 2>&1 &
    VORLYN_KEEPALIVE_PID=$!
    local latency
    for i in $(seq 100); do
        latency=$(pactl list sinks | sed -n 's/.*Latency: \([0-9]*\) usec.*/\1/p' | head -n 1)
        [ -n "$latency" ] && [ "$latency" -lt 200000 ] && break
        sleep 0.05
    done
}

headless_stop() {
    [ -n "${VORLYN_KEEPALIVE_PID:-}" ] && kill "$VORLYN_KEEPALIVE_PID" 2>/dev/null && wait "$VORLYN_KEEPALIVE_PID" 2>/dev/null
    [ -n "${VORLYN_PULSE_PID:-}" ] && kill "$VORLYN_PULSE_PID" 2>/dev/null && wait "$VORLYN_PULSE_PID" 2>/dev/null
    [ -n "${VORLYN_XVFB_PID:-}" ] && kill "$VORLYN_XVFB_PID" 2>/dev/null && wait "$VORLYN_XVFB_PID" 2>/dev/null
    [ -n "${VORLYN_HEADLESS_DIR:-}" ] && rm -rf "$VORLYN_HEADLESS_DIR"
    unset VORLYN_KEEPALIVE_PID VORLYN_PULSE_PID VORLYN_XVFB_PID VORLYN_HEADLESS_DIR
    return 0
}

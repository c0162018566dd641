# Sourced by the test runners that need an X server: start_private_xvfb starts Xvfb on a
# free display with a ${width}x${height} screen, exports DISPLAY, and stops the server when
# the runner exits (after the runner's own before_xvfb_stops, when it defines one).

start_private_xvfb() {
    xvfb_displayfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -noreset -nolisten tcp \
        3>"$xvfb_displayfile" &
    xvfb_pid=$!
    trap stop_private_xvfb EXIT
    for _ in $(seq 200); do
        [ -s "$xvfb_displayfile" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$xvfb_displayfile")"
}

stop_private_xvfb() {
    if declare -F before_xvfb_stops >/dev/null; then
        before_xvfb_stops
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -f "$xvfb_displayfile"
}

# Shared by the end-to-end scripts, which source it: a work folder, the processes started
# (in $pids) ended and the folder removed on exit, fail(), and waits for conditions, never for
# a fixed time: a loaded machine may take seconds where an idle one takes milliseconds.
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# until_true COMMAND...: whether the command succeeds within 20 seconds, tried every 20 ms;
# until_true_for SECONDS COMMAND... likewise within that many seconds. Bounded by the clock, not
# by a count of tries: on a loaded machine each try itself may take a long time.
until_true_for() {
    local end=$((SECONDS + $1))
    shift
    while [ "$SECONDS" -lt "$end" ]; do "$@" && return 0; sleep 0.02; done
    return 1
}
until_true() { until_true_for 20 "$@"; }
# The first visible window whose name matches the pattern, waited for up to 20 seconds; empty
# when there is none by then.
wait_for() { { timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null || true; } | head -n 1; }
# Gives the window the keyboard focus. xdotool's own --sync waits for ever when the focus is
# taken back (a window manager or dialog on a loaded machine): each try is bounded, and
# repeated until the focus holds, for up to 20 seconds.
focus() {
    for _ in $(seq 20); do
        timeout 1 xdotool windowfocus --sync "$1" 2>/dev/null && return 0
    done
    fail "could not give the focus to window $1"
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
hidden() { ! shown "$1"; }

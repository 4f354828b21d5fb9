# Shared helpers for end-to-end tests of the real program under Xvfb.
# Source it, then: e2e_start <program> [args]; e2e_key ...; e2e_type ...; e2e_stop.
# With E2E_WM set to a window manager's command, the program runs under that manager.
set -euo pipefail

E2E_TMP=$(mktemp -d)
export HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/config XDG_RUNTIME_DIR=$E2E_TMP/runtime
export windir=$E2E_TMP/windows
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$windir" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# A sanitizer build ends with a leak report; system libraries keep some memory for good.
: "${LSAN_OPTIONS:=suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/lsan.supp}"
export LSAN_OPTIONS
E2E_XVFB_PID=
E2E_WM_PID=
E2E_APP_PID=
E2E_WINDOW=
E2E_APP_STATUS=

# A failure shows what the program and the X server said, since both are gone afterwards.
e2e_fail() {
    echo "FAIL: $*" >&2
    local log
    for log in app xvfb wm; do
        [ -s "$E2E_TMP/$log.log" ] && sed "s/^/$log: /" "$E2E_TMP/$log.log" | tail -n 40 >&2
    done
    exit 1
}

# Waits for each process to be gone: an X server still shutting down holds its display's
# sockets, and the next test's server and program would race it for them.
e2e_stop_processes() {
    local pid
    for pid in "$E2E_APP_PID" "$E2E_WM_PID" "$E2E_XVFB_PID"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || continue
        wait "$pid" 2>/dev/null || true
    done
    E2E_APP_PID= E2E_WM_PID= E2E_XVFB_PID=
}

e2e_cleanup() {
    e2e_stop_processes
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# The server picks a free display itself, so tests running side by side never share one.
# Without -noreset the server resets when the probe below disconnects, and a program
# connecting during that reset is turned away ("could not connect to display").
e2e_start_display() {
    local number_file=$E2E_TMP/display
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$number_file" \
        >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    for _ in $(seq 100); do
        if [ -s "$number_file" ]; then
            export DISPLAY=":$(head -n 1 "$number_file")"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    e2e_fail "no X display could be started"
}

# Waits until a visible window whose title matches $1 exists; prints its id.
e2e_wait_window() {
    local pattern=$1 id
    for _ in $(seq 100); do
        [ -z "$E2E_APP_PID" ] || kill -0 "$E2E_APP_PID" 2>/dev/null ||
            e2e_fail "the program ended before a window named '$pattern' appeared"
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
    e2e_fail "no window named '$pattern'"
}

# Starts the window manager $1 and waits until it has announced itself on the root window.
# A manager that gives up on a display that is still settling is started again.
e2e_start_wm() {
    for _ in 1 2 3; do
        $1 >"$E2E_TMP/wm.log" 2>&1 &
        E2E_WM_PID=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
            kill -0 "$E2E_WM_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$E2E_WM_PID" 2>/dev/null || true
        sleep 0.5
    done
    e2e_fail "window manager '$1' did not start: $(cat "$E2E_TMP/wm.log")"
}

# True unless the program ended because the X server turned it away.
e2e_program_connected() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        kill -0 "$E2E_APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    ! grep -q "could not connect to display" "$E2E_TMP/app.log"
}

e2e_start() {
    local attempt
    for attempt in 1 2 3; do
        e2e_start_display
        [ -z "${E2E_WM:-}" ] || e2e_start_wm "$E2E_WM"
        "$@" >"$E2E_TMP/app.log" 2>&1 &
        E2E_APP_PID=$!
        e2e_program_connected "Quarnel 1.0" && break
        # A server that refuses a client is the test machine's accident, not the program's
        # fault: start again on a fresh server.
        echo "attempt $attempt: the X server refused the program; starting again" >&2
        e2e_stop_processes
    done
    E2E_WINDOW=$(e2e_wait_window "Quarnel 1.0")
    e2e_focus "$E2E_WINDOW"
}

e2e_focus() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
}

e2e_key() {
    xdotool key --delay 50 "$@"
    sleep 0.3
}

e2e_type() {
    xdotool type --delay 30 "$1"
    sleep 0.2
}

e2e_title() { xdotool getwindowname "$E2E_WINDOW"; }

# Waits until the program has ended and checks it ended well; fails if it does not end
# within $1 seconds. Its exit status is left in E2E_APP_STATUS.
e2e_wait_exit() {
    local seconds=${1:-10}
    for _ in $(seq $((seconds * 10))); do
        kill -0 "$E2E_APP_PID" 2>/dev/null || {
            E2E_APP_STATUS=0
            wait "$E2E_APP_PID" || E2E_APP_STATUS=$?
            E2E_APP_PID=
            [ "$E2E_APP_STATUS" -eq 0 ] ||
                e2e_fail "program exited with $E2E_APP_STATUS: $(cat "$E2E_TMP/app.log")"
            return 0
        }
        sleep 0.1
    done
    e2e_fail "program still running after ${seconds}s"
}

# Sourced by the tests that need a real X server: starts Xvfb on a free display and openbox,
# and ends both (and whatever the test registered) when the test exits, also on failure.
set -euo pipefail

XS_PIDS=()
XS_TMP=$(mktemp -d)

xs_cleanup() {
    for pid in "${XS_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    # Let the server remove its lock and socket; only then force what is left.
    for _ in $(seq 40); do
        local alive=""
        for pid in "${XS_PIDS[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
        [ -z "$alive" ] && break
        sleep 0.05
    done
    for pid in "${XS_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$XS_TMP"
}
trap xs_cleanup EXIT

# Screenshots of the whole screen go to $SHOTS (the build folder) as shot-NAME.png.
xs_shot() { import -window root "$SHOTS/shot-$1.png" 2>/dev/null || true; }

# Fails the test with a message and a screenshot named after the test.
xs_fail() {
    echo "FAIL: $*"
    xs_shot "$(basename "$0" .sh)-failure"
    exit 1
}

xs_track() { XS_PIDS=("$1" "${XS_PIDS[@]}"); }

xs_start() {
    # A display number of our own: parallel tests each start a server, and a number picked by
    # the server itself can race with another test's server shutting down. -noreset: without
    # it the server resets whenever its last client leaves, and refuses connections meanwhile.
    local n=$((100 + $$ % 800)) pid
    for _ in $(seq 50); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp -noreset >"$XS_TMP/xvfb.log" 2>&1 &
            pid=$!
            for _ in $(seq 200); do
                xdpyinfo -display ":$n" >/dev/null 2>&1 && break
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.05
            done
            if kill -0 "$pid" 2>/dev/null && xdpyinfo -display ":$n" >/dev/null 2>&1; then
                xs_track "$pid"
                break
            fi
            kill "$pid" 2>/dev/null || true
        fi
        n=$((n + 1))
    done
    xdpyinfo -display ":$n" >/dev/null 2>&1 || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$n"
    unset WAYLAND_DISPLAY
    # The desktop's own session bus could bring its StatusNotifier tray in.
    unset DBUS_SESSION_BUS_ADDRESS
    export QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR="$XS_TMP/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    # Drafts go to the session's own data folder, not to the home of whoever runs the tests.
    export XDG_DATA_HOME="$XS_TMP/data-home"
    if [ "${1:-wm}" = wm ]; then
        openbox >"$XS_TMP/openbox.log" 2>&1 &
        xs_track $!
        local ready=""
        for _ in $(seq 300); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && ready=1 && break
            sleep 0.05
        done
        [ -n "$ready" ] || { echo "openbox did not start: $(cat "$XS_TMP/openbox.log")"; exit 1; }
    fi
}

# Starts trayer as the tray host and waits for its panel.
xs_start_tray() {
    trayer --edge bottom --align right --SetDockType true --expand true --widthtype request \
        --height 32 --transparent false >"$XS_TMP/trayer.log" 2>&1 &
    xs_track $!
    local id=""
    for _ in $(seq 300); do
        id=$(xdotool search --name '^panel$' 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && break
        sleep 0.05
    done
    [ -n "$id" ] || { echo "trayer did not start: $(cat "$XS_TMP/trayer.log")"; exit 1; }
    XS_TRAY_PANEL=$id
}

# Starts a private session bus with a minimal StatusNotifierWatcher and host, as the panels of
# KDE Plasma, GNOME (AppIndicator extension) and Xfce run them. Each item that registers adds
# a line "<bus name> <pid>" to $XS_SNI_LOG.
xs_start_statusnotifier_host() {
    dbus-daemon --config-file=/usr/share/dbus-1/session.conf --address="unix:path=$XS_TMP/bus" \
        --nofork --nopidfile >"$XS_TMP/dbus.log" 2>&1 &
    xs_track $!
    for _ in $(seq 200); do [ -S "$XS_TMP/bus" ] && break; sleep 0.05; done
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XS_TMP/bus"
    XS_SNI_LOG="$XS_TMP/statusnotifier.log"
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/statusnotifier.py" watch >"$XS_SNI_LOG" 2>&1 &
    xs_track $!
    for _ in $(seq 200); do grep -qs '^ready$' "$XS_SNI_LOG" && return 0; sleep 0.05; done
    echo "no StatusNotifierWatcher: $(cat "$XS_TMP/dbus.log" "$XS_SNI_LOG")"
    exit 1
}

# Clicks the given button on the first icon of the tray.
xs_tray_click() {
    xs_wait_map_state "$XS_TRAY_PANEL" IsViewable
    eval "$(xdotool getwindowgeometry --shell "$XS_TRAY_PANEL")"
    xdotool mousemove $((X + 12)) $((Y + HEIGHT / 2)) click "$1"
}

# Waits until a visible window with the exact title exists; prints its id.
xs_wait_window() {
    local title=$1 id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    echo "no window named '$title'" >&2
    return 1
}

# Activates the window and waits until it has the input focus, so no typed key is lost.
xs_focus() {
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    for _ in $(seq 100); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && break
        sleep 0.05
    done
    sleep 0.2
}

xs_close() { wmctrl -i -c "$1"; }

xs_wait_map_state() { # window, IsViewable or IsUnMapped
    local id=$1 state=$2
    for _ in $(seq 200); do
        xwininfo -id "$id" 2>/dev/null | grep -q "Map State: $state" && return 0
        sleep 0.05
    done
    echo "window $id is not $state" >&2
    return 1
}

xs_wait_exit() { # pid, seconds
    local pid=$1 seconds=${2:-10}
    for _ in $(seq $((seconds * 20))); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.05
    done
    echo "process $pid still running" >&2
    return 1
}

# The program copied into a folder of its own, where its settings file lands, and a working
# folder: sets BIN, INI, WORK and SHOTS (the folder of the given binary).
xs_program() {
    SHOTS=$(dirname "$(readlink -f "$1")")
    mkdir -p "$XS_TMP/program" "$XS_TMP/work"
    cp "$1" "$XS_TMP/program/Beitragsbox"
    BIN="$XS_TMP/program/Beitragsbox" INI="$XS_TMP/program/Beitragsbox.ini" WORK="$XS_TMP/work"
}

# Starts $BIN in $WORK and waits for its main window; sets PID and WIN.
xs_run() {
    (cd "$WORK" && exec "$BIN") >"$WORK/log" 2>&1 &
    PID=$!
    xs_track "$PID"
    WIN=$(xs_wait_window "Beitragsbox 2.0.0") || xs_fail "no main window: $(cat "$WORK/log")"
}

# Ends the program with SIGTERM, which must take its clean end road.
xs_term() {
    kill -TERM "$PID"
    xs_wait_exit "$PID" 10 || xs_fail "SIGTERM did not end the program"
    wait "$PID" || xs_fail "program exited with $? after SIGTERM"
}

# Presses Ctrl+S and prints usersave.txt without CRs and the final line end.
xs_saved() {
    rm -f "$WORK/usersave.txt"
    xdotool key ctrl+s
    for _ in $(seq 100); do [ -f "$WORK/usersave.txt" ] && break; sleep 0.05; done
    tr -d '\r' <"$WORK/usersave.txt" 2>/dev/null | sed -z 's/\n$//'
}

# Waits until the program's StatusNotifierItem has registered; sets ITEM.
xs_sni_item() {
    for _ in $(seq 200); do
        ITEM=$(awk -v pid="$PID" '$2 == pid { print $1 }' "$XS_SNI_LOG")
        [ -n "$ITEM" ] && return 0
        sleep 0.05
    done
    xs_fail "no item registered: $(cat "$XS_SNI_LOG" "$WORK/log")"
}

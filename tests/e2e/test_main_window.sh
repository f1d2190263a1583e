#!/usr/bin/env bash
# The real program on a real desktop: caption, typing with the markup keys, Ctrl+S, the close
# box and SIGTERM. Usage: test_main_window.sh path/to/Beitragsbox
source "$(dirname "$0")/xsession.sh"
BIN=$(readlink -f "$1")
xs_start wm
fail() { echo "FAIL: $*"; exit 1; }

start_program() {
    WORK=$(mktemp -d -p "$XS_TMP")
    (cd "$WORK" && exec "$BIN") >"$WORK/log" 2>&1 &
    PID=$!
    xs_track "$PID"
    WIN=$(xs_wait_window "Beitragsbox 2.0.0")
}

# Typing and the keys of the edit field.
start_program
xdotool windowactivate --sync "$WIN"
xdotool type --delay 20 "Hallo Welt"
xdotool key --delay 50 ctrl+a ctrl+b ctrl+s
for _ in $(seq 100); do [ -f "$WORK/usersave.txt" ] && break; sleep 0.05; done
[ "$(cat "$WORK/usersave.txt")" = $'[B]Hallo Welt[/B]\r' ] ||
    fail "usersave.txt holds '$(od -c "$WORK/usersave.txt" | head -n3)'"
# Ctrl+K puts the italic tags in and the desktop's delete-to-line-end does not run after it.
xdotool key --delay 50 Home ctrl+k ctrl+s
sleep 0.3
[ "$(cat "$WORK/usersave.txt")" = $'[I][/I][B]Hallo Welt[/B]\r' ] ||
    fail "after Ctrl+K usersave.txt holds '$(cat "$WORK/usersave.txt")'"
import -window root "$(dirname "$BIN")/shot-main-window.png" 2>/dev/null || true

# Without a tray the close box ends the program.
xdotool windowactivate --sync "$WIN" key alt+F4
xs_wait_exit "$PID" 10 || fail "close box did not end the program"
wait "$PID" || fail "program exited with $?"

# SIGTERM takes the program's own end road and exits cleanly.
start_program
kill -TERM "$PID"
xs_wait_exit "$PID" 10 || fail "SIGTERM did not end the program"
wait "$PID" || fail "program exited with $? after SIGTERM"
echo "1 passed, 0 failed"

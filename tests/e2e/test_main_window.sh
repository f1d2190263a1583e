#!/usr/bin/env bash
# The real program's end roads without a tray: the close box, a signal during the start message,
# the X server going away (SIGTERM: test_tray.sh). Usage: test_main_window.sh path/to/Beitragsbox
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
xs_start wm

# Without a tray the close box ends the program.
xs_run
xs_shot main-window
xs_close "$WIN"
xs_wait_exit "$PID" 10 || xs_fail "close box did not end the program"
wait "$PID" || xs_fail "program exited with $?"
[ "$(grep -c '=' "$INI")" = 20 ] || xs_fail "settings after the close box: $(cat "$INI" 2>&1)"

# A signal while the start message about an unreadable settings file is open ends the program.
rm -f "$INI"
mkdir "$INI"
(cd "$WORK" && exec "$BIN") >"$WORK/log" 2>&1 &
PID=$!
xs_track "$PID"
xs_wait_window "Beitragsbox" >/dev/null || xs_fail "no start message"
kill -TERM "$PID"
xs_wait_exit "$PID" 1 || xs_fail "SIGTERM during the start message did not end the program"
rmdir "$INI"

# The X server going away is an end road too: the delay entered in this run is kept.
xs_run
xs_focus "$WIN"
xdotool mousemove --window "$WIN" 286 8 click 1 # "Opt"
xs_wait_window "Optionen" >/dev/null || xs_fail "no options dialog"
sleep 0.3
xdotool key ctrl+a
xdotool type "7"
xdotool key Return
sleep 0.3
pkill -TERM -f "^Xvfb $DISPLAY " || xs_fail "no X server to end"
xs_wait_exit "$PID" 10 || xs_fail "the program outlived its X server"
grep -q $'^AutoSaveDelay=7\r$' "$INI" || xs_fail "settings after the X server ended: $(cat "$INI")"
echo "1 passed, 0 failed"

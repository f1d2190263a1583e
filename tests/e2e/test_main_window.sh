#!/usr/bin/env bash
# The real program on a real desktop: caption, typing with the markup keys, Ctrl+S, the close
# box and SIGTERM, each end writing the settings. Usage: test_main_window.sh path/to/Beitragsbox
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
xs_start wm

# Typing and the keys of the edit field.
xs_run
xs_focus "$WIN"
xdotool mousemove --window "$WIN" 100 80 click 1 # into the edit field
sleep 0.2
xdotool type --delay 20 "Hallo Welt"
xdotool key --delay 50 ctrl+a ctrl+b
[ "$(xs_saved)" = "[B]Hallo Welt[/B]" ] || xs_fail "usersave.txt holds '$(cat "$WORK/usersave.txt")'"
xs_shot main-window

# Without a tray the close box ends the program.
xs_close "$WIN"
xs_wait_exit "$PID" 10 || xs_fail "close box did not end the program"
wait "$PID" || xs_fail "program exited with $?"
[ "$(grep -c '=' "$INI")" = 13 ] || xs_fail "settings after the close box: $(cat "$INI" 2>&1)"

# SIGTERM takes the program's own end road, saves the settings and exits cleanly.
printf '[GENERAL]\r\nAutoQuote=1\r\nTransparency=77\r\n' >"$INI"
xs_run
xs_term
grep -q $'^AutoQuote=1\r$' "$INI" && grep -q $'^Transparency=77\r$' "$INI" &&
    [ "$(grep -c '=' "$INI")" = 13 ] || xs_fail "settings after SIGTERM: $(cat "$INI")"
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

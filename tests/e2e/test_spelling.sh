#!/usr/bin/env bash
# Spell checking on the real program: a misspelt word gets suggestions in the right-click menu,
# the first one replaces it, and Ctrl+S saves the corrected text. An unclosed tag stands beside
# it, for the screenshot. Usage: test_spelling.sh path/to/Beitragsbox
source "$(dirname "$0")/xsession.sh"
SHOTS=$(dirname "$(readlink -f "$1")")
mkdir -p "$XS_TMP/program" "$XS_TMP/work" "$XS_TMP/config"
cp "$1" "$XS_TMP/program/Beitragsbox"
xs_start wm

(cd "$XS_TMP/work" && XDG_CONFIG_HOME="$XS_TMP/config" exec "$XS_TMP/program/Beitragsbox") \
    >"$XS_TMP/work/log" 2>&1 &
PID=$!
xs_track "$PID"
WIN=$(xs_wait_window "Beitragsbox 2.0.0") || xs_fail "no main window: $(cat "$XS_TMP/work/log")"
xs_focus "$WIN"
xdotool mousemove --window "$WIN" 100 80 click 1 # into the edit field
sleep 0.2
xdotool type --delay 20 "Nachrcht ist da [B]fett"
sleep 1.5 # the dictionary loads in the background; the tags are checked after a pause

# The right-click menu on the first word, its first entry the best suggestion.
xdotool mousemove --window "$WIN" 25 38 click 3
sleep 2 # the suggestions come when the engine has them
xs_shot spelling-menu
xdotool key --delay 100 Down Return ctrl+s
for _ in $(seq 100); do [ -f "$XS_TMP/work/usersave.txt" ] && break; sleep 0.05; done
[ "$(cat "$XS_TMP/work/usersave.txt" 2>&1)" = $'Nachricht ist da [B]fett\r' ] ||
    xs_fail "usersave.txt holds '$(cat "$XS_TMP/work/usersave.txt" 2>&1)'"
kill -TERM "$PID"
xs_wait_exit "$PID" 10 || xs_fail "SIGTERM did not end the program"
echo "1 passed, 0 failed"

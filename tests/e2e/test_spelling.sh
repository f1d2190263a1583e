#!/usr/bin/env bash
# Spell checking on the real program: a misspelt word gets suggestions in the right-click menu,
# the first one replaces it, and Ctrl+S saves the corrected text. An unclosed tag stands beside
# it, for the screenshot. Usage: test_spelling.sh path/to/Beitragsbox
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
export XDG_CONFIG_HOME="$XS_TMP/config"
xs_start wm
xs_run
xs_focus "$WIN"
xdotool mousemove --window "$WIN" 100 80 click 1 # into the edit field
sleep 0.2
xdotool type --delay 20 "Nachrcht ist da [B]fett"
sleep 1.5 # the dictionary loads in the background; the tags are checked after a pause

# The right-click menu on the first word, its first entry the best suggestion.
xdotool mousemove --window "$WIN" 25 38 click 3
sleep 2 # the suggestions come when the engine has them
xs_shot spelling-menu
xdotool key --delay 100 Down Return
[ "$(xs_saved)" = "Nachricht ist da [B]fett" ] || xs_fail "usersave.txt holds '$(cat "$WORK/usersave.txt" 2>&1)'"
xs_term
echo "1 passed, 0 failed"

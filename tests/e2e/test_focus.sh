#!/usr/bin/env bash
# Keys typed after a modal window closes reach the window that opened it, on a desktop whose
# window manager skips windows without a task-bar entry when it passes the focus on (openbox
# with a tray host). Also leaves screenshots of the list box and the colour chooser.
# Usage: test_focus.sh path/to/Beitragsbox
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
xs_start wm
xs_start_tray
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

xs_run
sleep 0.3 # the tray icon docks
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || xs_fail "no tray: task-bar entry"
# Typed at once, with no click: the window has the focus from its start.
for _ in $(seq 40); do active_is "$WIN" && break; sleep 0.05; done
xdotool type --delay 30 "ab"
[ "$(xs_saved)" = "ab" ] || xs_fail "the first keys after the start went nowhere"

# The list box, answered with the keyboard.
xdotool key ctrl+l
BOX=$(xs_wait_window "Liste anlegen") || xs_fail "no list box"
sleep 0.3
xs_shot listbox
xdotool type "2"
xdotool key Return
sleep 0.5
xdotool type --delay 30 "z"
LIST=$'ab\n[LIST]\n[*]\n[*]\n[/LIST]\nz'
[ "$(xs_saved)" = "$LIST" ] || xs_fail "after the list box: '$(cat "$WORK/usersave.txt" 2>&1)'"

# Two modal windows in a row: the list box, then the message about too many items.
xdotool key ctrl+l
xs_wait_window "Liste anlegen" >/dev/null || xs_fail "no list box"
sleep 0.3
xdotool type "300"
xdotool key Return
xs_wait_window "Beitragsbox" >/dev/null || xs_fail "no message about too many items"
sleep 0.3
xdotool key Return
sleep 0.5
xdotool type --delay 30 "x"
LIST="${LIST}x"
[ "$(xs_saved)" = "$LIST" ] || xs_fail "after two modal windows: '$(cat "$WORK/usersave.txt" 2>&1)'"

# Hidden with the close box and shown again from the tray: active, the keys reach the text.
xs_close "$WIN"
xs_wait_map_state "$WIN" IsUnMapped || xs_fail "the close box did not hide the window"
xs_tray_click 1
xs_wait_map_state "$WIN" IsViewable || xs_fail "the tray did not bring the window back"
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || xs_fail "task-bar entry after showing"
for _ in $(seq 40); do active_is "$WIN" && break; sleep 0.05; done
xdotool type --delay 30 "w"
LIST="${LIST}w"
[ "$(xs_saved)" = "$LIST" ] || xs_fail "after the tray: '$(cat "$WORK/usersave.txt" 2>&1)'"

# The options dialog from the tray menu, the colour chooser over it, then OK.
xs_tray_click 3
sleep 0.4
xdotool key --delay 80 Down Down Down Return
OPTIONS=$(xs_wait_window "Optionen") || xs_fail "no options dialog"
sleep 0.3
xdotool key --delay 80 Tab Tab space # "Fenster"
CHOOSER=$(xs_wait_window "Farbauswahl") || xs_fail "no colour chooser in German"
sleep 0.3
xs_shot colour-chooser
xdotool key Escape
sleep 0.5
active_is "$OPTIONS" || xs_fail "the options dialog did not get the focus back"
xdotool key Return # OK
sleep 0.5
active_is "$WIN" || xs_fail "the main window did not get the focus back after OK"
xdotool type --delay 30 "y"
[ "$(xs_saved)" = "${LIST}y" ] || xs_fail "after the options dialog: '$(cat "$WORK/usersave.txt" 2>&1)'"
xs_term
echo "1 passed, 0 failed"

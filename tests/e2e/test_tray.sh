#!/usr/bin/env bash
# The real program with a tray host: no task-bar entry, always on top, the tray menu with About
# and "Beenden", and SIGTERM while hidden (test_focus.sh hides the window and brings it back by
# the tray icon; test_accessibility.sh opens quick help). Usage: test_tray.sh BINARY
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
cp "$(dirname "$0")"/../../docs/{readme,kurzhilfe}.txt "$WORK/"
xs_start wm
xs_start_tray
net_state() { xprop -id "$WIN" _NET_WM_STATE; }
start_program() { xs_run && sleep 0.3; } # the tray icon docks
tray_click() { xs_tray_click "$1"; sleep 0.4; }
menu_choose() { # the menu opens on a right click; keys pick the item
    tray_click 3
    xdotool key --delay 80 "$@"
    sleep 0.4
}

start_program
net_state | grep -q _NET_WM_STATE_SKIP_TASKBAR || xs_fail "task-bar entry: $(net_state)"
xs_shot main-window-tray

# Always on top, on the same X window.
xdotool mousemove --window "$WIN" 95 8 click 1
sleep 0.4
net_state | grep -q _NET_WM_STATE_ABOVE || xs_fail "AOT: $(net_state)"
[ "$(xdotool search --onlyvisible --name '^Beitragsbox 2.0.0$' | head -n1)" = "$WIN" ] ||
    xs_fail "the window was re-created"

# The menu: About (modal, topmost suspended meanwhile), then "Beenden".
tray_click 3
xs_shot tray-menu
xdotool key Escape
sleep 0.2
menu_choose Down Return
ABOUT=$(xs_wait_window "Über Beitragsbox 2.0.0") || xs_fail "no About window"
net_state | grep -q _NET_WM_STATE_ABOVE && xs_fail "topmost stayed on under the About window"
xs_shot about
xs_close "$ABOUT"
sleep 0.4
net_state | grep -q _NET_WM_STATE_ABOVE || xs_fail "topmost not back after About"
menu_choose Up Return
xs_wait_exit "$PID" 10 || xs_fail "Beenden did not end the program"
wait "$PID" || xs_fail "program exited with $? after Beenden"
grep -q $'^AlwaysOnTop=1\r$' "$INI" && [ "$(grep -c '=' "$INI")" = 20 ] ||
    xs_fail "settings after Beenden: $(cat "$INI")"

# SIGTERM while hidden saves the settings; the saved AOT is back at the next start.
start_program
net_state | grep -q _NET_WM_STATE_ABOVE || xs_fail "stored AOT not applied at start"
net_state | grep -q _NET_WM_STATE_SKIP_TASKBAR || xs_fail "task-bar entry with AOT at start"
xdotool mousemove --window "$WIN" 95 8 click 1
sleep 0.3
xs_close "$WIN"
xs_wait_map_state "$WIN" IsUnMapped || xs_fail "close box did not hide the window"
xs_term
grep -q $'^AlwaysOnTop=0\r$' "$INI" || xs_fail "settings after SIGTERM: $(cat "$INI")"
echo "1 passed, 0 failed"

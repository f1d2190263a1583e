#!/usr/bin/env bash
# The tray of KDE Plasma, GNOME with the AppIndicator extension and Xfce: a StatusNotifierItem
# on the session bus, whose host draws the menu the program exports. A private bus with a
# minimal watcher stands in for the panel; no xembed tray runs. The item registers, its menu
# holds the four entries, activating it brings the hidden window back, and "Beenden" ends the
# program with the settings written (test_accessibility.sh opens About and quick help by it).
# Usage: test_statusnotifier.sh BINARY
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
sni() { /usr/bin/python3 "$(dirname "$0")/statusnotifier.py" "$@"; }
xs_start wm
xs_start_statusnotifier_host

xs_run
xs_sni_item
# With a tray there, the window keeps out of the task bar.
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    xs_fail "task-bar entry: $(xprop -id "$WIN" _NET_WM_STATE)"

MENU=$(sni menu "$ITEM") || xs_fail "no exported menu"
[ "$MENU" = $'_Über Beitragsbox...\n_Kurzhilfe...\n_Optionen...\n_Beenden' ] ||
    xs_fail "exported menu: $MENU"

xs_close "$WIN"
xs_wait_map_state "$WIN" IsUnMapped || xs_fail "close box did not hide the window"
sni activate "$ITEM" || xs_fail "Activate failed"
xs_wait_map_state "$WIN" IsViewable || xs_fail "activating the item did not show the window"

[ ! -e "$INI" ] || xs_fail "settings written before the end"

sni click "$ITEM" "Beenden"
xs_wait_exit "$PID" 10 || xs_fail "Beenden did not end the program"
wait "$PID" || xs_fail "program exited with $? after Beenden"
[ "$(grep -c '=' "$INI")" = 20 ] || xs_fail "settings after Beenden: $(cat "$INI" 2>&1)"
# The panel's bus ends while the window is hidden: the window comes back, with a task-bar entry.
xs_run
sleep 0.5
xs_close "$WIN"
xs_wait_map_state "$WIN" IsUnMapped || xs_fail "close box did not hide the window"
pkill -TERM -f "dbus-daemon.*$XS_TMP/bus" || xs_fail "no session bus to end"
xs_wait_map_state "$WIN" IsViewable || xs_fail "the window stayed hidden without a tray"
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR &&
    xs_fail "no task-bar entry without a tray"
xs_term
echo "1 passed, 0 failed"

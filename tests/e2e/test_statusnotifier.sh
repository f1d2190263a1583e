#!/usr/bin/env bash
# The tray of KDE Plasma, GNOME with the AppIndicator extension and Xfce: a StatusNotifierItem
# on the session bus, whose host draws the menu the program exports. A private bus with a
# minimal watcher stands in for the panel; no xembed tray runs. The item registers, its menu
# holds the four entries, activating it brings the hidden window back, the entries work, and
# "Beenden" ends the program with the settings written. Usage: test_statusnotifier.sh BINARY
source "$(dirname "$0")/xsession.sh"
SHOTS=$(dirname "$(readlink -f "$1")")
mkdir -p "$XS_TMP/program" "$XS_TMP/work"
cp "$1" "$XS_TMP/program/Beitragsbox"
INI="$XS_TMP/program/Beitragsbox.ini"
sni() { /usr/bin/python3 "$(dirname "$0")/statusnotifier.py" "$@"; }
xs_start wm
xs_start_statusnotifier_host

(cd "$XS_TMP/work" && exec "$XS_TMP/program/Beitragsbox") >"$XS_TMP/work/log" 2>&1 &
PID=$!
xs_track "$PID"
WIN=$(xs_wait_window "Beitragsbox 2.0.0") || xs_fail "no main window: $(cat "$XS_TMP/work/log")"
ITEM=""
for _ in $(seq 200); do
    ITEM=$(awk -v pid="$PID" '$2 == pid { print $1 }' "$XS_SNI_LOG")
    [ -n "$ITEM" ] && break
    sleep 0.05
done
[ -n "$ITEM" ] || xs_fail "no item registered: $(cat "$XS_SNI_LOG" "$XS_TMP/work/log")"
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

sni click "$ITEM" "Über Beitragsbox..."
ABOUT=$(xs_wait_window "Über Beitragsbox 2.0.0") || xs_fail "no About window from the menu"
xs_close "$ABOUT"
sni click "$ITEM" "Kurzhilfe..."
HELP=$(xs_wait_window "Kurzhilfe") || xs_fail "no quick-help window from the menu"
xs_close "$HELP"
[ ! -e "$INI" ] || xs_fail "settings written before the end"

sni click "$ITEM" "Beenden"
xs_wait_exit "$PID" 10 || xs_fail "Beenden did not end the program"
wait "$PID" || xs_fail "program exited with $? after Beenden"
[ "$(grep -c '=' "$INI")" = 13 ] || xs_fail "settings after Beenden: $(cat "$INI" 2>&1)"
# The panel's bus ends while the window is hidden: the window comes back, with a task-bar entry.
(cd "$XS_TMP/work" && exec "$XS_TMP/program/Beitragsbox") >"$XS_TMP/work/log" 2>&1 &
PID=$!
xs_track "$PID"
WIN=$(xs_wait_window "Beitragsbox 2.0.0") || xs_fail "no main window at the second start"
sleep 0.5
xs_close "$WIN"
xs_wait_map_state "$WIN" IsUnMapped || xs_fail "close box did not hide the window"
pkill -TERM -f "dbus-daemon.*$XS_TMP/bus" || xs_fail "no session bus to end"
for _ in $(seq 200); do
    xwininfo -id "$WIN" 2>/dev/null | grep -q "Map State: IsViewable" && break
    sleep 0.05
done
xwininfo -id "$WIN" | grep -q "Map State: IsViewable" || xs_fail "the window stayed hidden without a tray"
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR &&
    xs_fail "no task-bar entry without a tray"
kill -TERM "$PID"
xs_wait_exit "$PID" 10 || xs_fail "SIGTERM did not end the program"
echo "1 passed, 0 failed"

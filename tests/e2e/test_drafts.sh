#!/usr/bin/env bash
# Drafts of the real program with a tray host: a post kept over "Beenden" and loaded back from
# the drafts window, which gives the focus back to the main window; a run killed after a pause in
# typing; two runs at once in one working folder.
# Usage: test_drafts.sh BINARY
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
xs_start wm
xs_start_tray
# Umlauts on keys of their own: keys that xdotool maps for the moment lose the capitals.
setxkbmap de
DRAFTS="$XDG_DATA_HOME/Beitragsbox/drafts"
LINES=('Grüße aus Köln!' '[B]Äpfel[/B] für Öl, heiß')
POST="${LINES[0]}"$'\n'"${LINES[1]}"

draft_of() { echo "$DRAFTS"/*_"$1".txt; }
# The run's draft must hold the text as usersave.txt would: CR LF breaks and a closing CR LF.
check_draft() { # pid, text, what happened
    printf '%s\n' "$2" | sed 's/$/\r/' | cmp -s - "$(draft_of "$1")" ||
        xs_fail "draft after $3: '$(cat "$(draft_of "$1")" 2>&1)'"
}
window_of() { # the main window of process $1
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --all --onlyvisible --pid "$1" --name '^Beitragsbox 2\.0\.0$' \
            2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

xs_run
sleep 0.3 # the tray icon docks
xdotool type --delay 20 "${LINES[0]}"
xdotool key Return # xdotool types a line break as Linefeed
xdotool type --delay 20 "${LINES[1]}"
xs_tray_click 3
sleep 0.4
xdotool key --delay 80 Up Return # "Beenden"
xs_wait_exit "$PID" 10 || xs_fail "Beenden did not end the program"
wait "$PID" || xs_fail "program exited with $? after Beenden"
check_draft "$PID" "$POST" Beenden
[ "$(stat -c %a "$DRAFTS")" = 700 ] && [ "$(stat -c %a "$(draft_of "$PID")")" = 600 ] ||
    xs_fail "modes: $(stat -c '%a %n' "$DRAFTS" "$DRAFTS"/*)"
# An older draft of an ended run, to be listed after the newer one.
printf 'Ein alter Entwurf\r\n' >"$DRAFTS/2026-01-01_10-00-00_2147483647.txt"
touch -d '2 days ago' "$DRAFTS/2026-01-01_10-00-00_2147483647.txt"

# The next run loads it from the drafts window: newest first and selected, Enter loads. The
# focus must go back to the main window; that is checked last, so the other cases still run.
xs_run
xdotool mousemove --window "$WIN" 100 80 click 1 # into the edit field
sleep 0.2
xdotool key Menu
sleep 0.4
xdotool key e
xs_wait_window "Frühere Entwürfe" >/dev/null || xs_fail "no drafts window"
sleep 0.3
xs_shot drafts-window
xdotool key Return
for _ in $(seq 60); do # openbox passes the focus on
    FOCUS_AFTER_LOAD=$(xdotool getactivewindow 2>/dev/null || true)
    [ "$FOCUS_AFTER_LOAD" = "$WIN" ] && break
    sleep 0.05
done
xdotool search --onlyvisible --name '^Frühere Entwürfe$' >/dev/null 2>&1 &&
    xs_fail "Enter left the drafts window open"
xs_focus "$WIN"
[ "$(xs_saved)" = "$POST" ] || xs_fail "loaded draft: '$(cat "$WORK/usersave.txt" 2>&1)'"

# A kill after a pause in typing finds the text in the draft.
xdotool key ctrl+End
xdotool type --delay 20 " Nachtrag: schön"
sleep 3.5 # the draft is written 2 s after the last key
{ kill -KILL "$PID" && wait "$PID"; } 2>/dev/null || true
check_draft "$PID" "$POST Nachtrag: schön" "SIGKILL"

# Two runs at once in the same working folder keep a draft each.
TEXT=() PIDS=() WINS=()
for n in 1 2; do
    (cd "$WORK" && exec "$BIN") >"$WORK/log$n" 2>&1 &
    PIDS[n]=$!
    xs_track "${PIDS[n]}"
done
for n in 1 2; do
    WINS[n]=$(window_of "${PIDS[n]}") || xs_fail "no window of run $n: $(cat "$WORK/log$n")"
done
sleep 1 # each start takes the focus back for a moment
for n in 1 2; do
    xs_focus "${WINS[n]}"
    TEXT[n]="Lauf $n: Übermut tut selten gut"
    xdotool type --delay 20 "${TEXT[n]}"
done
kill -TERM "${PIDS[@]}"
for n in 1 2; do
    xs_wait_exit "${PIDS[n]}" 10 || xs_fail "SIGTERM did not end run $n"
    wait "${PIDS[n]}" || xs_fail "run $n exited with $? after SIGTERM"
    check_draft "${PIDS[n]}" "${TEXT[n]}" "SIGTERM to run $n of two"
done
[ "$FOCUS_AFTER_LOAD" = "$WIN" ] ||
    xs_fail "the main window did not get the focus back after loading a draft"
echo "1 passed, 0 failed"

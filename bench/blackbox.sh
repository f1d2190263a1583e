#!/usr/bin/env bash
# Paste and F9 of a large post on the real program, timed from outside under Xvfb + openbox: the
# text goes to the clipboard with xclip, xdotool presses the keys, and a Ctrl+S pressed right
# after each step marks its end (usersave.txt appears, written atomically). A Ctrl+S alone is
# timed too; the step's own time is the difference.
# Usage: bench/blackbox.sh path/to/Beitragsbox [MB] [runs]
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/xsession.sh"
BIN=$(readlink -f "$1")
MB=${2:-10}
RUNS=${3:-3}
SHOTS=$XS_TMP
xs_start wm

# Lines of about 70 characters; every 14th is a quote with blank lines on both sides.
TEXT=$XS_TMP/post.txt
awk -v size=$((MB * 1000000)) 'BEGIN {
    line = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiu"
    for (i = 1; n < size; i++) {
        s = (i % 14 == 0) ? "\n\n[QUOTE]Zitat Zeile[/QUOTE]\n\n\n" : line "\n"
        printf "%s", s; n += length(s)
    } }' >"$TEXT"

now() { date +%s%N; }
# Presses the keys and waits for usersave.txt; prints the milliseconds.
timed() {
    rm -f "$WORK/usersave.txt"
    local start
    start=$(now)
    xdotool key --delay 0 "$@"
    for _ in $(seq 6000); do
        [ -f "$WORK/usersave.txt" ] && break
        sleep 0.005
    done
    [ -f "$WORK/usersave.txt" ] || xs_fail "no usersave.txt after $*"
    echo $((($(now) - start) / 1000000))
}

mkdir -p "$XS_TMP/program"
cp "$BIN" "$XS_TMP/program/Beitragsbox"
for run in $(seq "$RUNS"); do
    WORK=$(mktemp -d -p "$XS_TMP")
    (cd "$WORK" && exec "$XS_TMP/program/Beitragsbox") >"$WORK/log" 2>&1 &
    PID=$!
    xs_track "$PID"
    WIN=$(xs_wait_window "Beitragsbox 2.0.0")
    xs_focus "$WIN"
    xdotool mousemove --window "$WIN" 100 80 click 1
    sleep 0.2
    xclip -selection clipboard -i "$TEXT" 2>/dev/null
    paste=$(timed ctrl+v ctrl+s)
    pasted=$(stat -c %s "$WORK/usersave.txt")
    save=$(timed ctrl+s)
    f9=$(timed F9 ctrl+s)
    tidied=$(stat -c %s "$WORK/usersave.txt")
    [ "$tidied" -lt "$pasted" ] || xs_fail "F9 changed nothing ($pasted bytes)"
    echo "run $run: paste+save $paste ms, save $save ms, F9+save $f9 ms" \
        "(file $pasted -> $tidied bytes): paste $((paste - save)) ms, F9 $((f9 - save)) ms"
    kill "$PID"
    xs_wait_exit "$PID" 10
done

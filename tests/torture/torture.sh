#!/usr/bin/env bash
# Kills the real program at random moments while it writes multi-megabyte texts and its
# settings, then checks every file it owns: absent, the old version or a complete new one. The
# killed run's draft is absent or a complete text, and that round's text when a SIGTERM ended the
# run first. Each kill is followed by a start without typing, which must clear the temporary
# files the killed run left behind and must keep autosave.txt as it was.
# Usage: torture.sh path/to/Beitragsbox KILLS   (TORTURE_SEED=N repeats the same texts and draws)
set -euo pipefail
if [ $# -ne 2 ] || ! [[ $2 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 BINARY KILLS" >&2
    exit 2
fi
source "$(dirname "$0")/../e2e/xsession.sh"
SHOTS=$(dirname "$(readlink -f "$1")")
KILLS=$2
SEED=${TORTURE_SEED:-$(((RANDOM + $$) % 32768))}
RANDOM=$SEED

PROG="$XS_TMP/program"
WORK="$XS_TMP/work"
DATA="$XS_TMP/data"
mkdir -p "$PROG" "$WORK" "$DATA"
cp "$1" "$PROG/Beitragsbox"
BIN="$PROG/Beitragsbox"
INI="$PROG/Beitragsbox.ini"
LOG="$DATA/program.log"
TITLE="Beitragsbox 2.0.0"
GENERAL_KEYS="AutoQuote AutoSave AlwaysOnTop FormBackColor TextColor TextBackColor
    ButtonBackColor Transparency AutoSaveDelay"

ROUNDS=0 TORN=0 LEFTOVERS=0 LOSSES=0 MISSING=0 CRASHES=0 WRITTEN=0 FOUND=0

die() {
    echo "FAIL: $*"
    xs_shot torture-failure
    tail -n 20 "$LOG" 2>/dev/null || true
    echo "0 passed, 1 failed"
    exit 1
}

untrack() {
    local keep=() p
    for p in "${XS_PIDS[@]}"; do [ "$p" = "$1" ] || keep+=("$p"); done
    XS_PIDS=("${keep[@]}")
}

# Ends a process this script started and forgets it, so no recycled id is signalled later.
stop() {
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    untrack "$1"
}

now_ms() { local t=${EPOCHREALTIME/[.,]/}; echo $((t / 1000)); }
sleep_until() {
    local left=$(($1 - $(now_ms)))
    if ((left > 0)); then sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"; fi
}
random30() { echo $(((RANDOM << 15) | RANDOM)); }

# The complete versions a file may hold, by size and checksum.
declare -A KNOWN=() SIZES=()
digest() { echo "$(stat -c %s "$1") $(md5sum <"$1" | cut -d' ' -f1)"; }
register() {
    local d
    d=$(digest "$1")
    KNOWN[$d]=$2
    SIZES[${d%% *}]=1
}
state_of() { # "absent", the name of a complete version, or "torn SIZE MD5"
    [ -e "$1" ] || { echo absent; return; }
    local size d
    size=$(stat -c %s "$1")
    if [ -n "${SIZES[$size]:-}" ]; then
        d=$(digest "$1")
        [ -n "${KNOWN[$d]:-}" ] && { echo "${KNOWN[$d]}"; return; }
    fi
    echo "torn $(digest "$1")"
}

# The edit field may be empty when a write comes (paste not yet done): that text is complete too.
printf '\r\n' >"$DATA/empty"
register "$DATA/empty" "empty text"

# A corpus of forum-like lines with umlauts and blank lines; each round cuts a text of its own
# size from a place of its own.
LC_ALL=C awk -v seed="$SEED" 'BEGIN {
    srand(seed)
    n = split("Grüße Äpfel Öl Übermut schön Straße müde Käse Bücher Tür heiß Mädchen über für " \
              "Größe Beitrag Forum Antwort Zitat und der die das ist nicht mit wir [B]fett[/B] " \
              "[I]schräg[/I] [QUOTE] [/QUOTE] :lach: 2024 Ärger Öffnung Überblick ÄÖÜäöüß", w, " ")
    while (bytes < 9500000) {
        line = ""
        k = int(rand() * 18)
        for (i = 0; i < k; i++) line = line (i ? " " : "") w[1 + int(rand() * n)]
        print line
        bytes += length(line) + 1
    }
}' >"$DATA/corpus"
CORPUS_SIZE=$(stat -c %s "$DATA/corpus")

make_text() { # round; the program writes each LF as CR LF and a final CR LF
    local size offset
    size=$((2000000 + $(random30) % 6000001))
    offset=$(($(random30) % (CORPUS_SIZE - size + 1)))
    {
        printf 'Runde %d (Saat %d): Grüße aus der Folterkammer\n' "$1" "$SEED"
        # Cut lines are dropped: a cut may split an umlaut.
        head -c $((offset + size)) "$DATA/corpus" | tail -c "$size" | LC_ALL=C sed '1d;$d'
        printf 'Ende der Runde %d. Tschüß!' "$1"
    } >"$DATA/text"
    { cat "$DATA/text"; echo; } | LC_ALL=C sed 's/$/\r/' >"$DATA/expected"
    register "$DATA/expected" "text $1"
}

printf '[SMILIES]\r\nsmiley001=:lach:\r\nsmiley002=:zwinker:\r\nsmiley003=:grübel:\r\n' \
    >"$DATA/smilies"
{ printf '[GENERAL]\r\nAutoSave=1\r\nAutoSaveDelay=1\r\n\r\n'; cat "$DATA/smilies"; } >"$INI"
cp "$INI" "$DATA/ini.first"
cp "$INI" "$DATA/ini.last"

# A new settings file: the nine keys once each with numbers, autosave still on every second, and
# the smilies section byte for byte, up to a final line end.
settings_complete() {
    LC_ALL=C awk -v keys="$GENERAL_KEYS" '
        { sub(/\r$/, "") }
        /^\[/ { section = toupper($0); next }
        section == "[GENERAL]" && index($0, "=") > 1 {
            key = substr($0, 1, index($0, "=") - 1)
            count[key]++
            value[key] = substr($0, index($0, "=") + 1)
        }
        END {
            n = split(keys, k, /[ \n]+/)
            for (i = 1; i <= n; i++)
                if (k[i] != "" && (count[k[i]] != 1 || value[k[i]] !~ /^-?[0-9]+$/)) exit 1
            exit !(value["AutoSave"] == "1" && value["AutoSaveDelay"] == "1")
        }' "$INI" || return 1
    LC_ALL=C awk '/^\[/ { inside = ($0 ~ /^\[SMILIES\]\r?$/) } inside { print }' "$INI" |
        cmp -s - "$DATA/smilies" || return 1
    [ -z "$(tail -c 1 "$INI" | tr -d '\n')" ]
}

torn_file() { # name, path, state, round
    TORN=$((TORN + 1))
    echo "torn after kill $4: $1 (${3#torn }) is none of the complete versions"
    if [ "$1" != Beitragsbox.ini ]; then
        echo "  against text $4: $(cmp "$DATA/expected" "$2" 2>&1 | head -n1)"
    fi
    if ((TORN <= 3)); then cp "$2" "$SHOTS/torture-torn-$4-$1" 2>/dev/null || true; fi
}

# The killed run's draft (its pid is in the name) holds what autosave.txt would, or nothing yet.
check_draft() { # round, pid, 1 when the run ended cleanly after its text was in the field
    local f path="" state=absent
    for f in "$DRAFTS"/*_"$2".txt; do
        if [ -e "$f" ]; then path=$f; fi
    done
    if [ -n "$path" ]; then state=$(state_of "$path"); fi
    if [[ $state == torn* ]]; then
        torn_file "${path##*/}" "$path" "$state" "$1"
        rm -f "$path"
    elif [ "$3" = 1 ] && [ "$state" != "text $1" ]; then
        MISSING=$((MISSING + 1))
        echo "draft after kill $1: the clean end left '$state', not text $1"
    fi
}

check_files() { # round
    local name state
    for name in usersave.txt autosave.txt; do
        state=$(state_of "$WORK/$name")
        if [[ $state == torn* ]]; then
            torn_file "$name" "$WORK/$name" "$state" "$1"
            rm -f "$WORK/$name" # counted once
        fi
    done
    if cmp -s "$INI" "$DATA/ini.last"; then
        return 0
    elif [ -f "$INI" ] && settings_complete; then
        cp "$INI" "$DATA/ini.last"
    else
        local found=absent
        if [ -e "$INI" ]; then found=$(digest "$INI"); fi
        torn_file Beitragsbox.ini "$INI" "$found" "$1"
        cp "$DATA/ini.first" "$INI"
        cp "$INI" "$DATA/ini.last"
    fi
}

temp_files() { # the program's temporary files, but for those of process $1
    local f name
    for f in "$WORK"/.beitragsbox-*-*.tmp "$PROG"/.beitragsbox-*-*.tmp \
        "$DRAFTS"/.beitragsbox-*-*.tmp; do
        [ -e "$f" ] || continue
        name=${f##*/}
        [[ $name =~ ^\.beitragsbox-([0-9]+)-[0-9a-fA-F]+\.tmp$ ]] || continue
        [ "${BASH_REMATCH[1]}" = "$1" ] || echo "$f"
    done
}

window_of() {
    local id
    for _ in $(seq 300); do
        for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do
            if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$TITLE" ]; then
                echo "$id"
                return 0
            fi
        done
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

# Starts the program without typing into it: after 1 s no temporary file of a dead run may be
# left, after 2.5 s autosave.txt must be as the last run left it. The wait also serves to make
# text $1, put it on the clipboard and activate the window, none of which touches the text.
start_and_check() {
    local before after started f
    before=$(state_of "$WORK/autosave.txt")
    FOUND=$((FOUND + $(temp_files 0 | wc -l)))
    started=$(now_ms)
    (cd "$WORK" && exec "$BIN") >>"$LOG" 2>&1 &
    PID=$!
    xs_track "$PID"
    WIN=$(window_of "$PID") || die "no window after start $1"
    sleep_until $((started + 1000))
    for f in $(temp_files "$PID"); do
        LEFTOVERS=$((LEFTOVERS + 1))
        echo "leftover at start $1: ${f#"$XS_TMP"/}"
        rm -f "$f" # counted once
    done
    if (($1 <= KILLS)); then
        make_text "$1"
        xclip -quiet -selection clipboard -i "$DATA/text" >/dev/null 2>&1 &
        CLIP=$!
        xs_track "$CLIP"
        for _ in $(seq 200); do
            [[ $(xclip -selection clipboard -o -t TARGETS 2>/dev/null || true) == *UTF8_STRING* ]] &&
                break
            sleep 0.02
        done
        xs_focus "$WIN"
    fi
    sleep_until $((started + 2500))
    after=$(state_of "$WORK/autosave.txt")
    if [ "$after" != "$before" ]; then
        LOSSES=$((LOSSES + 1))
        echo "autosave changed at start $1 without typing: was '$before', now '$after'"
    fi
}

# Waits up to 4 s until a file of more than 1 MB is being or has been written since $DATA/mark.
wait_for_big_write() {
    local deadline=$(($(now_ms) + 4000))
    while (($(now_ms) < deadline)); do
        if [ -n "$(find "$WORK" "$PROG" -maxdepth 1 -newer "$DATA/mark" -size +1000k \
            \( -name '.beitragsbox-*.tmp' -o -name usersave.txt -o -name autosave.txt \) \
            -print -quit 2>/dev/null)" ]; then
            return 0
        fi
        sleep 0.01
    done
    return 1
}

# Waits up to 0.3 s for a temporary file that was not there before: a write under way. A write
# of 8 MB keeps its temporary file only a few ms, so a kill at a plain random moment seldom
# meets one. Polls without starting processes, to see it in time.
wait_for_temp_file() {
    local until=$(($(now_ms) + 300)) f
    while (($(now_ms) < until)); do
        for f in "$WORK"/.beitragsbox-*.tmp "$PROG"/.beitragsbox-*.tmp \
            "$DRAFTS"/.beitragsbox-*.tmp; do
            if [ -e "$f" ] && [ -z "${BEFORE[$f]:-}" ]; then return 0; fi
        done
    done
    return 1
}

round() {
    local r=$1 actions=paste delay saves f sharp="" status pasted=0 clean=0
    declare -gA BEFORE=()
    for f in "$WORK"/.beitragsbox-*.tmp "$PROG"/.beitragsbox-*.tmp "$DRAFTS"/.beitragsbox-*.tmp; do
        BEFORE[$f]=1
    done
    xdotool mousemove --window "$WIN" 100 80 click 1 # into the edit field
    touch "$DATA/mark"
    xdotool key ctrl+v
    if ((RANDOM % 2)); then
        # A burst of saves keeps the program writing for up to about a second.
        saves=$((1 + RANDOM % 30))
        xdotool key --delay 0 --repeat "$saves" ctrl+s
        actions+=" ${saves}x save"
    fi
    # A big write shows that the pasted text is in the field.
    if wait_for_big_write; then WRITTEN=$((WRITTEN + 1)) pasted=1; fi
    if ((RANDOM % 3 == 0)); then
        kill -TERM "$PID" 2>/dev/null || true
        actions+=" term"
    fi
    # Early moments are drawn more often: most writes are over within a few hundred ms.
    delay=$(((RANDOM % 1501) * (RANDOM % 1501) / 1500))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    if [ "$actions" != paste ] && ((RANDOM % 2)); then
        if wait_for_temp_file; then sharp=", in a write"; else sharp=", no write came"; fi
    fi
    kill -KILL "$PID" 2>/dev/null || true
    status=0
    wait "$PID" 2>/dev/null || status=$?
    untrack "$PID"
    # 0: the end road after SIGTERM finished before our SIGKILL.
    if ((status != 137)) && ! [[ $actions == *term && $status == 0 ]]; then
        CRASHES=$((CRASHES + 1))
        echo "kill $r: the program had ended by itself, status $status"
    fi
    stop "$CLIP"
    ROUNDS=$((ROUNDS + 1))
    if [ -n "${TORTURE_VERBOSE:-}" ]; then echo "kill $r: $actions, after $delay ms$sharp"; fi
    check_files "$r"
    if [[ $actions == *term ]] && ((pasted && status == 0)); then clean=1; fi
    check_draft "$r" "$PID" "$clean"
}

echo "torture: seed $SEED, $KILLS kills"
T0=$(now_ms)
xs_start wm
DRAFTS="$XDG_DATA_HOME/Beitragsbox/drafts"
start_and_check 1
for r in $(seq "$KILLS"); do
    round "$r"
    start_and_check $((r + 1))
done
stop "$PID"

echo "torture: $WRITTEN of $ROUNDS pasted texts were being written before the kill;" \
    "$FOUND temporary files of killed runs found before starts; $(((($(now_ms) - T0) + 500) / 1000)) s"
echo "torture: $ROUNDS kills, $TORN torn, $LEFTOVERS leftovers, $LOSSES autosave losses," \
    "$MISSING drafts missing after a clean end"
# Kills that never meet a write of a big text would prove nothing.
if ((2 * WRITTEN < ROUNDS)); then
    die "only $WRITTEN of $ROUNDS pasted texts were being written when the kill was due"
fi
if ((CRASHES > 0)); then echo "torture: $CRASHES crashes"; fi
if ((TORN + LEFTOVERS + LOSSES + MISSING + CRASHES > 0)); then
    echo "0 passed, 1 failed"
    exit 1
fi
echo "1 passed, 0 failed"

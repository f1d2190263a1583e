#!/usr/bin/env bash
# The preview on the real program: F5 opens it beside the main window, typing changes it, "Als
# HTML kopieren" puts text/html on the clipboard, F5 closes it. Usage: test_preview.sh BINARY
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
xs_start wm

xs_run
xs_focus "$WIN"
xdotool type --delay 10 "[QUOTE=Anna]Hallo[/QUOTE]"
xdotool key F5
PREVIEW=$(xs_wait_window "Vorschau – Beitragsbox") || xs_fail "F5 opened no preview"
sleep 0.5
import -window "$PREVIEW" "$XS_TMP/before.png"
[ "$(xdotool getactivewindow)" = "$WIN" ] || xs_fail "the keys did not stay with the text"
xdotool type --delay 10 " [B]fett[/B]"
sleep 0.8 # the preview follows a pause
import -window "$PREVIEW" "$XS_TMP/after.png"
xs_shot preview
cmp -s "$XS_TMP/before.png" "$XS_TMP/after.png" && xs_fail "the preview did not follow the typing"

# The button, reached with the keyboard: its mnemonic in the preview window.
xs_focus "$PREVIEW"
xdotool key alt+k
sleep 0.3
HTML=$(xclip -selection clipboard -o -t text/html 2>/dev/null)
[ "$HTML" = '<blockquote><div><cite>Anna hat geschrieben:</cite>Hallo</div></blockquote> <strong class="text-strong">fett</strong>' ] ||
    xs_fail "clipboard HTML: '$HTML'"
[ "$(xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null)" = "$HTML" ] ||
    xs_fail "clipboard text differs from the HTML"

xs_focus "$WIN"
xdotool key F5
for _ in $(seq 60); do
    xdotool search --onlyvisible --name '^Vorschau – Beitragsbox$' >/dev/null 2>&1 || break
    sleep 0.05
done
xdotool search --onlyvisible --name '^Vorschau – Beitragsbox$' >/dev/null 2>&1 &&
    xs_fail "F5 did not close the preview"
xs_term
grep -q $'^Preview=0\r$' "$INI" || xs_fail "settings: $(cat "$INI")"
echo "1 passed, 0 failed"

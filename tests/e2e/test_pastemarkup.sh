#!/usr/bin/env bash
# Ctrl+Shift+V on the real program: HTML offered on the clipboard (as a browser offers it, read
# with xclip) goes in as markup; Ctrl+S writes it. Usage: test_pastemarkup.sh BINARY
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
xs_start wm

xs_run
xs_focus "$WIN"
printf '%s' '<p>Hallo <b>Welt</b>, <a href="https://example.org/">hier</a></p><ul><li>eins</li><li>zwei</li></ul>' |
    xclip -selection clipboard -t text/html -i
xdotool key ctrl+shift+v
SAVED=$(xs_saved)
EXPECTED=$'Hallo [B]Welt[/B], [URL=https://example.org/]hier[/URL]\n\n[LIST]\n[*]eins\n[*]zwei\n[/LIST]'
[ "$SAVED" = "$EXPECTED" ] || xs_fail "usersave.txt: '$SAVED'"
xs_term
echo "1 passed, 0 failed"

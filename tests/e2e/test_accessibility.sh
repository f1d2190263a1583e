#!/usr/bin/env bash
# What a screen reader says: over AT-SPI, every control of the main window, the options dialog,
# the quick-text editor, the list box, About and quick help has a German name, the main window
# is announced as a window, and the "Fett" button's action wraps the selection.
# Usage: test_accessibility.sh path/to/Beitragsbox
source "$(dirname "$0")/xsession.sh"
xs_program "$1"
a11y() { /usr/bin/python3 "$(dirname "$0")/accessibility.py" "$@"; }
sni() { /usr/bin/python3 "$(dirname "$0")/statusnotifier.py" "$@"; }
xs_start wm
xs_start_statusnotifier_host # also the session bus
# The accessibility bus, as a desktop session starts it; Qt joins it once its name is there.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$XS_TMP/at-spi.log" 2>&1 &
xs_track $!
for _ in $(seq 200); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && break
    sleep 0.05
done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

xs_run
MAIN="Beitragsbox 2.0.0"
controls=$(a11y controls "$MAIN") || xs_fail "$controls"
[ "$controls" = "frame
check box|Autoquote
check box|Autosave
check box|Immer im Vordergrund
push button|Zitat
push button|Fett
push button|Kursiv
push button|Link
push button|Liste
push button|Optionen
combo box|Schnell-Texte
text|Beitragstext
list|Smilies
image|Programmsymbol" ] || xs_fail "main window: $controls"

xs_focus "$WIN"
xdotool type --delay 30 abc
xdotool key ctrl+a
a11y press "$MAIN" Fett
for _ in $(seq 50); do
    text=$(a11y text "$MAIN" Beitragstext)
    [ "$text" = "[B]abc[/B]" ] && break
    sleep 0.1
done
[ "$text" = "[B]abc[/B]" ] || xs_fail "after Fett: '$text'"

# Each window opened through a control of its opener, checked, and closed again.
check() { out=$(a11y controls "$1") || xs_fail "$out"; }
closed() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    xs_fail "'$1' stayed open"
}
a11y press "$MAIN" Liste
check "Liste anlegen"
a11y press "Liste anlegen" Abbrechen
closed "Liste anlegen"
a11y press "$MAIN" Optionen
check Optionen
a11y focus Optionen "Schnell-Text zum Editieren"
xs_focus "$(xs_wait_window Optionen)"
xdotool key Down # the first quick text
a11y press Optionen Editieren
check "Schnell-Text editieren"
a11y press "Schnell-Text editieren" Abbrechen
closed "Schnell-Text editieren"
a11y press Optionen Abbrechen
closed Optionen

# About and quick help from the tray menu.
xs_sni_item
sni click "$ITEM" "Über Beitragsbox..."
check "Über Beitragsbox 2.0.0"
xs_close "$(xs_wait_window "Über Beitragsbox 2.0.0")"
closed "Über Beitragsbox 2.0.0"
sni click "$ITEM" "Kurzhilfe..."
check Kurzhilfe

xs_term
echo "1 passed, 0 failed"

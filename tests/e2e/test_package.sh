#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack, unpacked into a folder of its own, its
# desktop entry and AppStream file validated, and the installed launcher started by an ordinary
# user (the program's folder cannot be written) with a new home folder. The launcher makes
# ~/Beitragsbox with the help texts; the window carries the installed icon; the starter smilies
# are listed; Ctrl+S saves; SIGTERM writes the user's own settings file.
# Usage: test_package.sh path/to/Beitragsbox (in the build folder)
source "$(dirname "$0")/xsession.sh"
BUILD=$(dirname "$(readlink -f "$1")")
SHOTS=$BUILD
ID=de.beitragsbox.Beitragsbox
TITLE="Beitragsbox 2.0.0"
PKG=$(mktemp -d)
trap 'chmod -R u+w "$PKG" 2>/dev/null; rm -rf "$PKG"; xs_cleanup' EXIT
chmod 755 "$PKG"
ROOT="$PKG/root"
HOME_DIR="$PKG/home"
mkdir -p "$ROOT" "$HOME_DIR"

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$PKG/out" >"$PKG/cpack.log" 2>&1 ||
    xs_fail "cpack: $(cat "$PKG/cpack.log")"
DEB=$(ls "$PKG"/out/beitragsbox_*.deb)
# The package carries the version the window title shows.
[ "$(basename "$DEB")" = "beitragsbox_2.0.0_$(dpkg --print-architecture).deb" ] ||
    xs_fail "package name $(basename "$DEB")"
DEPENDS=$(dpkg-deb --field "$DEB" Depends)
for dep in libqt6widgets6 libqt6dbus6 qt6-translations-l10n fonts-dejavu-core fonts-liberation2; do
    [[ "$DEPENDS" =~ (^|, )$dep( |,|$) ]] || xs_fail "no dependency on $dep: $DEPENDS"
done
lintian --fail-on error "$DEB" || xs_fail "lintian found errors"
dpkg-deb -x "$DEB" "$ROOT"

DESKTOP="$ROOT/usr/share/applications/$ID.desktop"
desktop-file-validate "$DESKTOP" || xs_fail "desktop entry"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$ID.metainfo.xml" || xs_fail "AppStream file"
entry() { sed -n "s/^$1=//p" "$DESKTOP"; }
[ -x "$ROOT/usr/bin/$(entry Exec)" ] || xs_fail "Exec=$(entry Exec) is not installed"
[ "$(entry Icon)" = "$ID" ] || xs_fail "Icon=$(entry Icon)"
ICONS="$ROOT/usr/share/icons/hicolor"
[ -f "$ICONS/scalable/apps/$ID.svg" ] || xs_fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
    [ "$(identify -format %wx%h "$ICONS/${size}x$size/apps/$ID.png")" = "${size}x$size" ] ||
        xs_fail "no ${size}x$size icon"
done

xs_start wm
xs_start_tray
# An installed program runs as an ordinary user, whose writes its folder refuses. Root writes
# anywhere, so root's run switches to the user nobody.
if [ "$(id -u)" = 0 ]; then
    chown nobody:nogroup "$HOME_DIR"
    AS_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
    chmod a-w "$ROOT/usr/lib/beitragsbox"
    AS_USER=()
fi
"${AS_USER[@]}" env -i PATH=/usr/bin:/bin HOME="$HOME_DIR" DISPLAY="$DISPLAY" \
    XDG_RUNTIME_DIR="$HOME_DIR/runtime" "$ROOT/usr/bin/beitragsbox" >"$PKG/log" 2>&1 &
PID=$!
xs_track "$PID"
WIN=$(xs_wait_window "$TITLE") || xs_fail "no main window: $(cat "$PKG/log")"
WORK="$HOME_DIR/Beitragsbox"
for text in readme.txt kurzhilfe.txt; do
    cmp -s "$ROOT/usr/share/beitragsbox/$text" "$WORK/$text" || xs_fail "$text not copied to $WORK"
done
[ "$(xprop -id "$WIN" WM_CLASS)" = "WM_CLASS(STRING) = \"Beitragsbox\", \"$(entry StartupWMClass)\"" ] ||
    xs_fail "StartupWMClass=$(entry StartupWMClass), $(xprop -id "$WIN" WM_CLASS)"
/usr/bin/python3 "$(dirname "$0")/window_icon.py" "$WIN" "$ICONS"/{16x16,48x48}/apps/$ID.png ||
    xs_fail "the window's icon is not the installed one"
sleep 0.3 # the tray icon docks
xs_shot installed

# The first starter smiley from the list, then the text in bold and saved.
eval "$(xdotool getwindowgeometry --shell "$WIN")"
xs_focus "$WIN"
xdotool mousemove --window "$WIN" $((WIDTH - 40)) 32 click 1
sleep 0.2
xdotool mousemove --window "$WIN" 100 80 click 1 # into the edit field
sleep 0.2
xdotool key --delay 50 ctrl+a ctrl+b
[ "$(xs_saved)" = "[B] :smile: [/B]" ] || xs_fail "usersave.txt holds '$(cat "$WORK/usersave.txt" 2>&1)'"
xs_term
# What the user's file holds, and that the starter file stays: tst_installed.
[ -f "$HOME_DIR/.config/Beitragsbox/Beitragsbox.ini" ] || xs_fail "no settings: $(cat "$PKG/log")"
echo "1 passed, 0 failed"

#!/bin/bash
# Samples of what real programs put on the clipboard or write as HTML, captured from page.html:
#   chromium.html        Chromium 156.0.8078.129 (Debian 12): page.html opened under Xvfb + openbox,
#                        Ctrl+A, Ctrl+C, then `xclip -selection clipboard -o -t text/html`
#   chromium.targets     the clipboard targets Chromium offered (chromium-source-url.txt: the page's
#                        address from its chromium/x-source-url target)
#   writer.html          LibreOffice Writer 7.4 (Debian 12): page.html converted to .odt, then
#                        `soffice --headless --convert-to html`
# Writer's own clipboard is not captured: libreoffice-writer-nogui has no window to copy from.
# Needs (not for the tests): chromium libreoffice-writer-nogui xvfb openbox xdotool xclip.
# Run from anywhere; it rewrites the samples beside it. The .bbcode files are written by hand.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
chromium --version
soffice --version

export DISPLAY=:57
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp &
sleep 1
openbox &
sleep 1

copy_all() { # $1: window name pattern, $2: output file, $3: targets file
    local win=""
    for _ in $(seq 60); do
        win=$(xdotool search --onlyvisible --name "$1" | head -1 || true)
        [ -n "$win" ] && break
        sleep 1
    done
    [ -n "$win" ] || { echo "no window $1" >&2; return 1; }
    sleep 3
    xdotool windowactivate --sync "$win" || true
    # A click on the empty right margin, where no link is, gives the page the keyboard.
    xdotool mousemove --window "$win" 1150 900 click 1
    sleep 1
    xdotool key --clearmodifiers ctrl+a
    sleep 1
    xdotool key --clearmodifiers ctrl+c
    sleep 2
    xclip -selection clipboard -o -t TARGETS >"$3"
    xclip -selection clipboard -o -t text/html >"$2"
}

chromium --no-sandbox --user-data-dir="$work/chromium" --no-first-run --disable-gpu \
    --window-position=0,0 --window-size=1200,1000 \
    "file://$here/page.html" >/dev/null 2>&1 &
chrome=$!
copy_all "Testseite" "$here/chromium.html" "$here/chromium.targets"
if grep -qx 'chromium/x-source-url' "$here/chromium.targets"; then
    t=$(grep -m1 -x 'chromium/x-source-url' "$here/chromium.targets")
    xclip -selection clipboard -o -t "$t" | tr -d '\0' >"$here/chromium-source-url.txt" || true
fi
kill "$chrome"

cp "$here/page.html" "$work/page.html"
soffice --headless -env:UserInstallation="file://$work/lo" --convert-to odt:writer8 \
    --infilter=HTML --outdir "$work" "$work/page.html" >/dev/null
soffice --headless -env:UserInstallation="file://$work/lo" --convert-to html \
    --outdir "$work/out" "$work/page.odt" >/dev/null
cp "$work/out/page.html" "$here/writer.html"


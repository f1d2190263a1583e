#!/usr/bin/env bash
# Runs a test program as an ordinary user (nobody), as an installed program runs: its folder and
# the settings file beside it belong to root and cannot be written. Tests run as root otherwise,
# where no permission stops a write. Usage: run_as_user.sh path/to/test
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "needs root to switch to the user nobody"; exit 1; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
chmod 755 "$TMP"
NAME=$(basename "$1")
mkdir -m 755 "$TMP/program" "$TMP/home"
cp "$1" "$TMP/program/$NAME"
# The starter settings file of the installed program, with smilies.
printf '[GENERAL]\r\nAutoQuote=1\r\n[SMILIES]\r\nSmiley001=:smile:\r\nSmiley002=:wink:\r\n' \
    >"$TMP/program/$NAME.ini"
chown nobody:nogroup "$TMP/home"
cd "$TMP/home"
exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/home/.config" \
    XDG_RUNTIME_DIR="$TMP/home" QT_QPA_PLATFORM=offscreen \
    BEITRAGSBOX_TEST_INSTALLED="$TMP/program" "$TMP/program/$NAME"

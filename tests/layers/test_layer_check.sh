#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails, naming the file, when a file includes a
# header of a folder above its own. Usage: test_layer_check.sh <source folder> <cmake>
set -euo pipefail
ROOT=$1
CMAKE=$2
COPY=$(mktemp -d)
trap 'rm -rf "$COPY"' EXIT
cp -r "$ROOT/cmake" "$ROOT/src" "$COPY/"
"$CMAKE" -DROOT="$COPY" -P "$COPY/cmake/CheckLayers.cmake" || { echo "FAIL: the tree itself"; exit 1; }
check_fails() { # file, include line
    cp "$COPY/src/$1" "$COPY/src/$1.orig"
    printf '%s\n' "$2" >>"$COPY/src/$1"
    if out=$("$CMAKE" -DROOT="$COPY" -P "$COPY/cmake/CheckLayers.cmake" 2>&1); then
        echo "FAIL: $2 in $1 passed the check"
        exit 1
    fi
    grep -q "$1" <<<"$out" || { echo "FAIL: the message does not name $1: $out"; exit 1; }
    mv "$COPY/src/$1.orig" "$COPY/src/$1"
}
check_fails text/Commands.cpp '#include "platform/boxes.h"'
check_fails text/Config.h '#include "editor/TextField.h"'
check_fails platform/files.cpp '#include "app/Form1.h"'
check_fails spelling/NuspellEngine.cpp '#include "editor/TextField.h"'
check_fails editor/TextField.cpp '#include "dialogs/Form2.h"'
check_fails dialogs/Form2.cpp '#include "app/modMain.h"'
check_fails text/Smilies.cpp '#include "nowhere/Unknown.h"'
echo "1 passed, 0 failed"

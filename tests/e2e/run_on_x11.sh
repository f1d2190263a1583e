#!/usr/bin/env bash
# Runs a widget test binary on a real X server with a window manager, where the desktop's own
# key bindings (Ctrl+K deletes to the line end, redo is Ctrl+Shift+Z) are in force.
source "$(dirname "$0")/xsession.sh"
xs_start wm
"$@"

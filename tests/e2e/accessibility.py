#!/usr/bin/python3
"""What a screen reader sees of the shown window TITLE, over AT-SPI.

  controls TITLE     the window's role, then "role|name" of each control; fails when the window is
                     no frame or dialog, or a name is shorter than three characters (bar "OK")
  press|focus|text TITLE NAME    runs the control's action, focuses it or prints its text
"""
import sys
import time

import pyatspi

APPLICATION = "Beitragsbox"
# Where a screen reader needs a name; their own parts (a list's items, a text's scroll bars)
# are not walked.
CONTROLS = {"push button", "check box", "text", "entry", "combo box", "list", "slider",
            "scroll bar", "spin button", "image"}


def find_window(title):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != APPLICATION:
                continue
            for window in app:
                if (window is not None and window.name == title
                        and window.getState().contains(pyatspi.STATE_SHOWING)):
                    return window
        time.sleep(0.1)
    sys.exit(f"no window '{title}'")


def controls(node):
    for child in node:
        if child is None:
            continue
        if child.getRoleName() in CONTROLS:
            yield child
        else:
            yield from controls(child)


def find_control(window, name):
    for control in controls(window):
        if control.name == name:
            return control
    sys.exit(f"no control '{name}' in '{window.name}'")


def main(command, title, name=None):
    window = find_window(title)
    if command == "controls":
        print(window.getRoleName())
        bad = [] if window.getRoleName() in ("frame", "dialog") else [window.getRoleName()]
        for control in controls(window):
            print(f"{control.getRoleName()}|{control.name}")
            if len(control.name) < 3 and control.name != "OK":
                bad.append(f"{control.getRoleName()} '{control.name}'")
        if bad:
            sys.exit(f"'{title}' is not announced properly: " + ", ".join(bad))
    elif command == "press":
        find_control(window, name).queryAction().doAction(0)
    elif command == "focus":
        control = find_control(window, name)
        # An editable drop-down takes the focus through its text field.
        targets = [control] + [c for c in control if c.getRoleName() == "text"]
        if not any(target.queryComponent().grabFocus() for target in targets):
            sys.exit(f"'{name}' takes no focus")
    elif command == "text":
        print(find_control(window, name).queryText().getText(0, -1))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(*sys.argv[1:])

#pragma once

class QDialog;
class QWidget;

namespace window {

// Shows the dialog modally and returns its result. When it closes, the window that owned it is
// activated again, as Windows does: window managers such as openbox skip windows without a
// task-bar entry when they pick the next window to focus, and the user's keys would go nowhere.
int execModal(QDialog* dialog);

// The window a new modal box belongs to: the modal window on top, else the active window, else
// the one that is getting the focus back from a modal window that has just closed.
QWidget* modalOwner();

// Raises and activates the window, and keeps it active against the window manager's own focus
// fallback for a moment (after start, after showing it from the tray, after a modal window).
void activate(QWidget* window);

} // namespace window

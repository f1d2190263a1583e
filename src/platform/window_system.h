#pragma once
#include <QString>

class QWidget;

// What the window system offers and how the program starts on it. compositorRunning and
// setSkipTaskbar come from window_system_x11.cpp or, built without X11, window_system_plain.cpp.
namespace window {

// True where a translucent window shows as such: on X11 (the xcb plugin) while a compositing
// manager runs; other plugins apply no window opacity. Decided once at start.
bool alphaSupportFor(const QString& platformName, bool compositorRunning);

// Whether a compositing manager runs on the default screen: on X11 it owns the selection
// _NET_WM_CM_S<screen>. False off X11.
bool compositorRunning();

// Before the application object exists: on a Wayland session with an X server (XWayland),
// asks Qt for its xcb platform, since the tray, always on top, skip-taskbar and transparency
// need X11. A platform the user chose through QT_QPA_PLATFORM stays.
void preferX11OnWayland();

// Before the application object exists, after preferX11OnWayland: on X11, an activation token
// the desktop handed over (XDG_ACTIVATION_TOKEN) serves as the startup id, so that the window
// manager gives the new window the focus.
void passActivationToken();

// Keeps the window out of the task bar and pager: sets _NET_WM_STATE on the X11 window, to be
// called before it is mapped (from showEvent); does nothing off X11.
void setSkipTaskbar(QWidget* widget, bool skip);

} // namespace window

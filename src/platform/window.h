#pragma once
#include <QColor>
#include <QString>

class QDialog;
class QPalette;
class QWidget;

namespace window {

// Twips per device-independent pixel on each axis (15 at 96 dpi).
double twipsPerPixelX(const QWidget* widget);
double twipsPerPixelY(const QWidget* widget);

// Places a control by a position and size in twips; never smaller than one pixel.
void placeTwips(QWidget* control, double left, double top, double width, double height);
// Resizes a window's client area to a size in twips; fixedSizeTwips also keeps it there.
void resizeTwips(QWidget* window, double width, double height);
void fixedSizeTwips(QWidget* window, double width, double height);

// Unloads a single-instance window: the slot is emptied at once (so the next use loads a new
// one), the window hidden and deleted when control returns to the event loop.
template <typename T> void unloadLater(T*& slot) {
    T* window = slot;
    slot = nullptr;
    if (window) {
        window->hide();
        window->deleteLater();
    }
}

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

// Loaded windows: the process ends when the last one is unloaded.
void registerLoaded(QWidget* widget);
void unregisterLoaded(QWidget* widget);
int loadedCount();

// Colour values: an RGB colour with red in the lowest byte, or a reference to a colour of the
// desktop's scheme (0x80000000 + index, negative as a signed number).
constexpr qint32 systemColor(int index) {
    return qint32(0x80000000u + unsigned(index));
}
constexpr qint32 kButtonFace = systemColor(15);
constexpr qint32 kWindowBackground = systemColor(5);
constexpr qint32 kWindowText = systemColor(8);
QColor resolveColor(qint32 value, const QPalette& desktop);

// A control's background and text colour values; scheme references follow the desktop theme
// (refreshColors re-resolves them after a theme change).
void setBackColor(QWidget* control, qint32 value);
qint32 backColor(const QWidget* control);
void setForeColor(QWidget* control, qint32 value);
qint32 foreColor(const QWidget* control);
void refreshColors(QWidget* root);

} // namespace window

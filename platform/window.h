#pragma once
#include <QString>

class QWidget;

namespace window {

// Twips per device-independent pixel on each axis (15 at 96 dpi).
double twipsPerPixelX(const QWidget* widget);
double twipsPerPixelY(const QWidget* widget);

// True where the platform plugin applies window opacity (X11); decided once at start.
bool alphaSupportFor(const QString& platformName);

// Keeps the window out of the task bar and pager. Sets _NET_WM_STATE on an unmapped X11
// window and asks the window manager for a mapped one; does nothing off X11.
void setSkipTaskbar(QWidget* widget, bool skip);

// Loaded windows: the process ends when the last one is unloaded.
void registerLoaded(QWidget* widget);
void unregisterLoaded(QWidget* widget);
int loadedCount();

} // namespace window

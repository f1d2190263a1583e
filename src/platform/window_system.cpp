#include "platform/window_system.h"

#include <QByteArray>

namespace window {

bool alphaSupportFor(const QString& platformName, bool compositorRunning) {
    return platformName == QLatin1String("xcb") && compositorRunning;
}

void preferX11OnWayland() {
    const bool wayland =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (wayland && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void passActivationToken() {
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (token.isEmpty())
        return;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool x11 =
        platform == "xcb" || (platform.isEmpty() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    if (!x11)
        return; // Qt's Wayland plugin takes the token itself
    // Through XWayland the desktop's token is the startup id, which Qt's xcb plugin hands to
    // the window manager with the first window (and then drops from the environment).
    if (qEnvironmentVariableIsEmpty("DESKTOP_STARTUP_ID"))
        qputenv("DESKTOP_STARTUP_ID", token);
    // Used up: a program started from here later must not come with it.
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

} // namespace window

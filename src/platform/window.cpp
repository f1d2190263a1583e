#include "platform/window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <memory>

namespace window {

namespace {

double twipsPerPixel(int logicalDpi) {
    return 1440.0 / (logicalDpi > 0 ? logicalDpi : 96);
}

QSet<QWidget*>& loaded() {
    static QSet<QWidget*> set;
    return set;
}

} // namespace

double twipsPerPixelX(const QWidget* widget) {
    return twipsPerPixel(widget->logicalDpiX());
}
double twipsPerPixelY(const QWidget* widget) {
    return twipsPerPixel(widget->logicalDpiY());
}

void placeTwips(QWidget* control, double left, double top, double width, double height) {
    const double tx = twipsPerPixelX(control);
    const double ty = twipsPerPixelY(control);
    control->setGeometry(int(std::lround(left / tx)), int(std::lround(top / ty)),
                         std::max(1, int(std::lround(width / tx))),
                         std::max(1, int(std::lround(height / ty))));
}

void resizeTwips(QWidget* window, double width, double height) {
    window->resize(std::max(1, int(std::lround(width / twipsPerPixelX(window)))),
                   std::max(1, int(std::lround(height / twipsPerPixelY(window)))));
}

void fixedSizeTwips(QWidget* window, double width, double height) {
    resizeTwips(window, width, height);
    window->setFixedSize(window->size());
}

namespace {

// The window that gets the focus back once a modal window has closed. Between two modal
// windows of a chain (a box that opens as the one before it closes) no window of the program
// is active yet; the next one belongs to the same owner.
QPointer<QWidget>& returningTo() {
    static QPointer<QWidget> owner;
    return owner;
}

} // namespace

void activate(QWidget* owner) {
    if (!owner || !owner->isVisible())
        return;
    owner->raise();
    owner->activateWindow();
    // The window manager may pass the focus elsewhere a moment later, while it finishes with a
    // closed window or maps a new one (openbox falls back to its own window and skips windows
    // without a task-bar entry); the program then takes it back, a few times at most and only
    // within that moment. One watch at a time: the newest request wins.
    static QPointer<QObject> watch;
    delete watch;
    watch = new QObject(owner);
    returningTo() = owner;
    auto retries = std::make_shared<int>(3);
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, watch,
                     [owner, retries](QWindow* focus) {
                         if (!focus && *retries > 0 && owner->isVisible() &&
                             !QApplication::activeModalWidget()) {
                             --*retries;
                             owner->activateWindow();
                         }
                     });
    QTimer::singleShot(750, watch, [] {
        delete watch;
        returningTo() = nullptr;
    });
}

QWidget* modalOwner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return returningTo();
}

int execModal(QDialog* dialog) {
    // Read before exec: a dialog that deletes itself on close is gone afterwards.
    QWidget* parent = dialog->parentWidget();
    const QPointer<QWidget> owner = parent ? parent->window() : modalOwner();
    const int result = dialog->exec();
    // Nested: the dialog below is still modal and gets the focus; at the end of a chain the
    // window that opened the first one.
    activate(owner);
    return result;
}

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

QColor resolveColor(qint32 value, const QPalette& desktop) {
    const auto v = quint32(value);
    if ((v & 0x80000000u) == 0)
        return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
    static const QPalette::ColorRole roles[] = {QPalette::Button,
                                                QPalette::Window,
                                                QPalette::Highlight,
                                                QPalette::Mid,
                                                QPalette::Window,
                                                QPalette::Base,
                                                QPalette::Shadow,
                                                QPalette::WindowText,
                                                QPalette::Text,
                                                QPalette::HighlightedText,
                                                QPalette::Window,
                                                QPalette::Window,
                                                QPalette::Dark,
                                                QPalette::Highlight,
                                                QPalette::HighlightedText,
                                                QPalette::Button,
                                                QPalette::Mid,
                                                QPalette::PlaceholderText,
                                                QPalette::ButtonText,
                                                QPalette::WindowText,
                                                QPalette::Light,
                                                QPalette::Shadow,
                                                QPalette::Midlight,
                                                QPalette::ToolTipText,
                                                QPalette::ToolTipBase,
                                                QPalette::Window,
                                                QPalette::Link,
                                                QPalette::Highlight,
                                                QPalette::Mid,
                                                QPalette::Highlight,
                                                QPalette::Window};
    const quint32 index = v & 0xFFFFu;
    return desktop.color(index < std::size(roles) ? roles[index] : QPalette::Window);
}

namespace {

constexpr const char* kBackColor = "backColorValue";
constexpr const char* kForeColor = "foreColorValue";

bool isTextArea(const QWidget* control) {
    return control->inherits("QAbstractScrollArea") || control->inherits("QComboBox");
}

void applyColors(QWidget* control) {
    const QPalette desktop = QApplication::palette();
    QPalette palette = control->palette();
    const QVariant back = control->property(kBackColor);
    if (back.isValid()) {
        const QColor color = resolveColor(back.toInt(), desktop);
        if (isTextArea(control)) {
            palette.setColor(QPalette::Base, color);
            palette.setColor(QPalette::Button, color);
        } else if (control->inherits("QAbstractButton") && !control->inherits("QCheckBox")) {
            palette.setColor(QPalette::Button, color);
        } else {
            palette.setColor(QPalette::Window, color);
            control->setAutoFillBackground(true);
        }
    }
    const QVariant fore = control->property(kForeColor);
    if (fore.isValid()) {
        const QColor color = resolveColor(fore.toInt(), desktop);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::ButtonText, color);
    }
    control->setPalette(palette);
}

} // namespace

void setBackColor(QWidget* control, qint32 value) {
    control->setProperty(kBackColor, value);
    applyColors(control);
}

qint32 backColor(const QWidget* control) {
    const QVariant v = control->property(kBackColor);
    return v.isValid() ? v.toInt() : (isTextArea(control) ? kWindowBackground : kButtonFace);
}

void setForeColor(QWidget* control, qint32 value) {
    control->setProperty(kForeColor, value);
    applyColors(control);
}

qint32 foreColor(const QWidget* control) {
    const QVariant v = control->property(kForeColor);
    return v.isValid() ? v.toInt() : kWindowText;
}

void refreshColors(QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets)
        if (w->property(kBackColor).isValid() || w->property(kForeColor).isValid())
            applyColors(w);
}

void registerLoaded(QWidget* widget) {
    loaded().insert(widget);
}

void unregisterLoaded(QWidget* widget) {
    if (loaded().remove(widget) && loaded().isEmpty())
        QCoreApplication::quit();
}

int loadedCount() {
    return int(loaded().size());
}

} // namespace window

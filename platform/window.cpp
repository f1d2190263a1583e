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

#include <xcb/xcb.h>

#include <cmath>
#include <memory>

namespace window {

namespace {

double twipsPerPixel(int logicalDpi) {
    return 1440.0 / (logicalDpi > 0 ? logicalDpi : 96);
}

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
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

// Activates the owner of a modal window that has just closed. The window manager may pass the
// focus elsewhere a moment later, while it finishes with the closed window (openbox then falls
// back to its own window, skipping windows without a task-bar entry); the program then takes
// it back, a few times at most and only within that moment.
void giveFocusBack(QWidget* owner) {
    if (!owner || !owner->isVisible())
        return;
    owner->activateWindow();
    auto* watch = new QObject(owner);
    auto retries = std::make_shared<int>(3);
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, watch,
                     [owner, retries](QWindow* focus) {
                         if (!focus && *retries > 0 && owner->isVisible() &&
                             !QApplication::activeModalWidget()) {
                             --*retries;
                             owner->activateWindow();
                         }
                     });
    QTimer::singleShot(750, watch, [watch] { delete watch; });
}

} // namespace

int execModal(QDialog* dialog) {
    // Read before exec: a dialog that deletes itself on close is gone afterwards.
    QWidget* parent = dialog->parentWidget();
    const QPointer<QWidget> owner = parent ? parent->window() : QApplication::activeWindow();
    const int result = dialog->exec();
    giveFocusBack(owner);
    return result;
}

bool alphaSupportFor(const QString& platformName) {
    return platformName == QLatin1String("xcb");
}

void setSkipTaskbar(QWidget* widget, bool skip) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    const auto win = xcb_window_t(widget->winId());
    const xcb_atom_t netWmState = internAtom(c, "_NET_WM_STATE");
    const xcb_atom_t states[2] = {internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                  internAtom(c, "_NET_WM_STATE_SKIP_PAGER")};

    // Set before every mapping: the window manager reads the property when it maps the window
    // (Qt merges its own states into it), and may drop it when the window is withdrawn.
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, win, netWmState, XCB_ATOM_ATOM, 0, 1024), nullptr);
    QList<xcb_atom_t> atoms;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms = QList<xcb_atom_t>(data, data + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    for (xcb_atom_t state : states) {
        atoms.removeAll(state);
        if (skip)
            atoms.append(state);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, netWmState, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.constData());
    xcb_flush(c);
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

FormTimer::FormTimer(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, &FormTimer::Timer);
}

void FormTimer::setEnabled(bool enabled) {
    m_enabled = enabled;
    update();
}

void FormTimer::setInterval(int milliseconds) {
    m_interval = std::max(milliseconds, 0);
    update();
}

void FormTimer::update() {
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval); // a new interval restarts the count, as on Windows
    else
        m_timer.stop();
}

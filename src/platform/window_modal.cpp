#include "platform/window_modal.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace window {

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

} // namespace window

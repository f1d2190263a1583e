#include "platform/window_loaded.h"

#include <QCoreApplication>
#include <QSet>

namespace window {

namespace {

QSet<QWidget*>& loaded() {
    static QSet<QWidget*> set;
    return set;
}

} // namespace

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

#include "platform/tray.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() {
    remove();
}

bool TrayIcon::available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIcon::hostDrawsMenu() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierWatcher")
        << QStringLiteral("IsStatusNotifierHostRegistered");
    // No watcher answers at once with an error; a hung one must not hold up the start for long.
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

void TrayIcon::add(const QIcon& icon, const QString& tip, QMenu* menu) {
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(this);
        // A double click arrives as Trigger, then DoubleClick: one left click per click.
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        emit notification(kLeftButtonUp);
                    else if (reason == QSystemTrayIcon::Context)
                        emit notification(kRightButtonUp);
                });
    }
    m_icon->setContextMenu(menu);
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->show();
}

void TrayIcon::remove() {
    if (m_icon)
        m_icon->hide();
}

bool TrayIcon::isShown() const {
    return m_icon && m_icon->isVisible();
}

#include "platform/tray.h"

#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() {
    remove();
}

bool TrayIcon::available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::add(const QIcon& icon, const QString& tip) {
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

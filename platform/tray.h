#pragma once
#include <QIcon>
#include <QObject>
#include <QString>

class QSystemTrayIcon;

// The notification-area icon. Its mouse notifications arrive as the numbers the program
// decodes: 514 for a left click, 517 for a right click; nothing else is passed on.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kLeftButtonUp = 514;
    static constexpr int kRightButtonUp = 517;

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether a tray host is there right now.
    static bool available();

    void add(const QIcon& icon, const QString& tip);
    void remove();
    bool isShown() const;

signals:
    void notification(int message);

private:
    QSystemTrayIcon* m_icon = nullptr;
};

#pragma once
#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

// The notification-area icon. Its mouse notifications arrive as the numbers the program
// decodes, a left or a right click; nothing else is passed on.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // The notifications passed on, numbered as the Windows mouse messages they stand for.
    enum Notification : int {
        kLeftButtonUp = 514,  // WM_LBUTTONUP: left button released over the icon
        kRightButtonUp = 517, // WM_RBUTTONUP: right button released over the icon
    };

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether a tray host is there right now.
    static bool available();

    // Whether the tray host draws the icon's menu itself: a StatusNotifierItem host (KDE
    // Plasma, GNOME's AppIndicator extension, Xfce) shows the menu the program exports over
    // D-Bus and never reports a right click. An xembed tray reports the click instead, and the
    // program pops the menu up. The same test Qt makes when it chooses between the two.
    static bool hostDrawsMenu();

    // Shows the icon; `menu` is handed to a host that draws the menu itself.
    void add(const QIcon& icon, const QString& tip, QMenu* menu = nullptr);
    void remove();
    bool isShown() const;

signals:
    void notification(int message); // a Notification

private:
    QSystemTrayIcon* m_icon = nullptr;
};

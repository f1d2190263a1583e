// The platform asked of Qt on each kind of desktop session.
#include "platform/window_system.h"

#include <QtTest>

#include "support.h"

class TestSession : public QObject {
    Q_OBJECT

    static constexpr const char* kVariables[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY",
                                                 "XDG_SESSION_TYPE", "DISPLAY"};
    QHash<QByteArray, QByteArray> m_saved;

private slots:
    void initTestCase() {
        for (const char* name : kVariables)
            if (qEnvironmentVariableIsSet(name))
                m_saved.insert(name, qgetenv(name));
    }
    void cleanupTestCase() {
        for (const char* name : kVariables)
            m_saved.contains(name) ? qputenv(name, m_saved.value(name)) : qunsetenv(name);
    }

    // Each row: the session's variables ("-" leaves one unset), then QT_QPA_PLATFORM after.
    void preferX11OnWayland_data() {
        QTest::addColumn<QByteArrayList>("session");
        QTest::addColumn<QByteArray>("platform");
        using L = QByteArrayList;
        QTest::newRow("X11 session") << L{"-", "-", "x11", ":0"} << QByteArray("-");
        QTest::newRow("Wayland with XWayland")
            << L{"-", "wayland-0", "wayland", ":0"} << QByteArray("xcb");
        QTest::newRow("Wayland named only by the session type")
            << L{"-", "-", "wayland", ":1"} << QByteArray("xcb");
        QTest::newRow("Wayland socket, no session type")
            << L{"-", "wayland-0", "-", ":0"} << QByteArray("xcb");
        QTest::newRow("Wayland without an X server")
            << L{"-", "wayland-0", "wayland", "-"} << QByteArray("-");
        QTest::newRow("the user's choice stays")
            << L{"wayland", "wayland-0", "wayland", ":0"} << QByteArray("wayland");
        QTest::newRow("an empty choice is none")
            << L{"", "wayland-0", "wayland", ":0"} << QByteArray("xcb");
    }
    void preferX11OnWayland() {
        QFETCH(QByteArrayList, session);
        QFETCH(QByteArray, platform);
        for (int i = 0; i < session.size(); ++i)
            session[i] == "-" ? qunsetenv(kVariables[i]) : qputenv(kVariables[i], session[i]);
        window::preferX11OnWayland();
        QCOMPARE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? qgetenv("QT_QPA_PLATFORM")
                                                              : QByteArray("-"),
                 platform);
    }

    // On X11 the desktop's activation token becomes the startup id, and is used up.
    void activationToken_data() {
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QByteArray>("startupId");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("xcb, no startup id")
            << QByteArray("xcb") << QByteArray() << QByteArray("t1");
        QTest::newRow("xcb, startup id given")
            << QByteArray("xcb") << QByteArray("s1") << QByteArray("s1");
        QTest::newRow("wayland keeps its token")
            << QByteArray("wayland") << QByteArray() << QByteArray();
    }
    void activationToken() {
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, startupId);
        QFETCH(QByteArray, expected);
        qputenv("QT_QPA_PLATFORM", platform);
        qputenv("XDG_ACTIVATION_TOKEN", "t1");
        startupId.isEmpty() ? qunsetenv("DESKTOP_STARTUP_ID")
                            : qputenv("DESKTOP_STARTUP_ID", startupId);
        window::passActivationToken();
        QCOMPARE(qgetenv("DESKTOP_STARTUP_ID"), expected);
        QCOMPARE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"), platform == "wayland");
        for (const char* name : {"QT_QPA_PLATFORM", "XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
            qunsetenv(name);
    }
};

BEITRAGSBOX_TEST_MAIN(TestSession)
#include "tst_session.moc"

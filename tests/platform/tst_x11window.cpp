// Task-bar state of a real X11 window; skipped on other platforms (the X11 run covers it).
#include "platform/window.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtTest>

#include <xcb/xcb.h>

#include "support.h"

namespace {

QStringList netWmState(QWidget* widget) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    };
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, xcb_window_t(widget->winId()),
                                                atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
                               nullptr);
    QStringList names;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i) {
            xcb_get_atom_name_reply_t* n =
                xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atoms[i]), nullptr);
            if (n)
                names << QString::fromLatin1(xcb_get_atom_name_name(n),
                                             xcb_get_atom_name_name_length(n));
            free(n);
        }
    }
    free(reply);
    return names;
}

// Sets the state before every mapping, as the main window does.
class SkippingWindow : public QWidget {
public:
    bool skip = true;

protected:
    void showEvent(QShowEvent* event) override {
        window::setSkipTaskbar(this, skip);
        QWidget::showEvent(event);
    }
};

} // namespace

class TestX11Window : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X11 display");
    }

    void skipTaskbarSurvivesHideAndShow() {
        SkippingWindow w;
        w.resize(200, 100);
        w.show();
        // Generous: a loaded machine may take a while to map and manage the window.
        QTRY_VERIFY_WITH_TIMEOUT(
            netWmState(&w).contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), 15000);
        QVERIFY(netWmState(&w).contains(QStringLiteral("_NET_WM_STATE_SKIP_PAGER")));
        w.hide();
        QTest::qWait(100);
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(
            netWmState(&w).contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), 15000);
        w.hide();
        w.skip = false;
        QTest::qWait(100);
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(
            !netWmState(&w).contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), 15000);
    }
};

BEITRAGSBOX_TEST_MAIN(TestX11Window)
#include "tst_x11window.moc"

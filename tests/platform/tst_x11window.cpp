// Task-bar state of a real X11 window; skipped on other platforms (the X11 run covers it).
#include "platform/window_system.h"

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

    // A compositing manager owns _NET_WM_CM_S<screen>; while nobody does, the window system
    // shows no transparency.
    void compositorFollowsSelectionOwner() {
        QVERIFY(!window::compositorRunning()); // openbox composites nothing
        int screenNumber = 0;
        xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
        QVERIFY(!xcb_connection_has_error(c));
        const auto disconnect = qScopeGuard([c] { xcb_disconnect(c); });
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screenNumber);
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr);
        QVERIFY(atom);
        const xcb_atom_t selection = atom->atom;
        free(atom);
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber; ++i)
            xcb_screen_next(&screens);
        const xcb_window_t owner = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, owner, screens.data->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        // Each change is in force once a round trip on this connection has come back.
        auto setOwner = [c, selection](xcb_window_t window) {
            xcb_set_selection_owner(c, window, selection, XCB_CURRENT_TIME);
            free(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
        };
        setOwner(owner);
        QVERIFY(window::compositorRunning());
        setOwner(XCB_NONE);
        QVERIFY(!window::compositorRunning());
    }
};

BEITRAGSBOX_TEST_MAIN(TestX11Window)
#include "tst_x11window.moc"

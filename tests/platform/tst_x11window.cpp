// Compositor detection on a real X server; skipped on other platforms (the X11 run covers it).
#include "platform/window_system.h"

#include <QGuiApplication>
#include <QtTest>

#include <xcb/xcb.h>

#include "support.h"

class TestX11Window : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X11 display");
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

#include "app/modMain.h"

#include "app/Form1.h"
#include "dialogs/Form2.h"
#include "dialogs/InfoWindows.h"
#include "dialogs/frmEditPhrase.h"
#include "dialogs/frmMenu.h"
#include "platform/boxes.h"
#include "platform/clsINIClass.h"
#include "platform/files.h"
#include "platform/window_modal.h"
#include "platform/window_system.h"
#include "version.h"

#include <QAccessibleWidget>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

QString programCaption() {
    return QStringLiteral("%1 %2.%3.%4")
        .arg(QStringLiteral(BEITRAGSBOX_TITLE))
        .arg(BEITRAGSBOX_VERSION_MAJOR)
        .arg(BEITRAGSBOX_VERSION_MINOR)
        .arg(BEITRAGSBOX_VERSION_REVISION);
}

bool installGermanQtTexts(const QString& folder) {
    auto* translator = new QTranslator(qApp);
    const QString from =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (translator->load(QStringLiteral("qtbase_de"), from) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

namespace {
// Main has not finished loading the main window yet.
bool g_starting = true;
// An end was asked for while starting; it runs once the main window is loaded.
bool g_endPending = false;
EndReason g_pendingReason = EndReason::User;

// Qt gives a top-level window made from a plain QWidget the role of a client area; screen
// readers announce a window with its title only for the window role.
QAccessibleInterface* announceAsWindow(const QString&, QObject* object) {
    if (qobject_cast<Form1*>(object) || qobject_cast<frmKurzHilfe*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void requestEnd(EndReason reason) {
    if (Form1* form = Form1::instance())
        form->setEndReason(reason);
    g_pendingReason = reason;
    boxes::closeForEnd();
    // A start message may be open: its loop is not the main loop, where a quit asked for now
    // would be forgotten, and the window's loading would go on after it closed.
    if (g_starting) {
        g_endPending = true;
        return;
    }
    EndProgram();
}

void Main() {
    g_starting = true;
    g_endPending = false;
    QAccessible::installFactory(announceAsWindow);
    QGuiApplication::setDesktopFileName(QStringLiteral(BEITRAGSBOX_APP_ID));
    const bool alphaSupport =
        window::alphaSupportFor(QGuiApplication::platformName(), window::compositorRunning());
    // The captions are laid out for a small dialog font with Arial's widths (fontconfig finds
    // a metric-compatible face); the desktop's default font would not fit them.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8);
    QGuiApplication::setFont(font);
    files::holdWorkingFolder();
    // What writes killed half way left behind; another running instance keeps its own.
    files::removeLeftovers(QDir::currentPath());
    for (const QString& settings : {settingsfile::besideProgram(), settingsfile::userFile()})
        files::removeLeftovers(QFileInfo(settings).absolutePath());
    Form1* form = Form1::Load(alphaSupport);
    g_starting = false;
    if (g_endPending) {
        form->setEndReason(g_pendingReason);
        EndProgram();
        return;
    }
    form->show();
    // Window managers such as openbox give no focus to a new window without a task-bar entry;
    // the user's first keys would go nowhere.
    window::activate(form);
    form->restorePreview();
}

void EndProgram() {
    // Unloading a window that is not loaded or already unloading does nothing.
    if (Form1* form = Form1::instance(); form && !form->isUnloading())
        form->Unload(1);
    Form2::Unload();
    frmMenu::Unload();
    frmEditPhrase::Unload();
}

namespace {

int signalPipe[2] = {-1, -1};

// Qt ends the process with exit() when the connection to the window system breaks (the X
// server killed, an SSH connection lost); none of the end road runs then. What the program
// keeps on its other ends it keeps here too, without touching the display.
void keepOnAbruptExit() {
    Form1* form = Form1::instance();
    if (!form || form->isUnloading())
        return;
    form->setEndReason(EndReason::Signal); // nobody may be watching: no box
    form->keepForAbruptEnd();
}

void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void installEndHandlers() {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
        QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
            char buffer[16];
            while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
            }
            requestEnd(EndReason::Signal);
        });
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGHUP, SIGINT})
            sigaction(sig, &action, nullptr);
    }
    std::atexit(keepOnAbruptExit);
    // Log-out: end now, while the session still waits for us.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, qApp,
                     [](QSessionManager&) { requestEnd(EndReason::Session); });
    QObject::connect(qGuiApp, &QGuiApplication::aboutToQuit, qApp, [] { EndProgram(); });
}

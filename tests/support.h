#pragma once
// Shared by the tests: the test main, file helpers, answering modal dialogs.
#ifdef BEITRAGSBOX_TEST_PROGRAM_FOLDER
#include "platform/clsINIClass.h"
#endif

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

// Each test program runs in a temporary program folder (where the settings file lies) and a
// temporary working folder of its own, so that no run sees what another one left.
struct TestFolders {
    QTemporaryDir program;
    QTemporaryDir work;
    QTemporaryDir data;                // the user's data folder, where drafts go
    static inline QString programPath; // the program folder of this run
    TestFolders() {
        programPath = program.path();
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
#ifdef BEITRAGSBOX_TEST_PROGRAM_FOLDER
        settingsfile::setProgramFolderForTests(program.path());
#endif
        QDir::setCurrent(work.path());
    }
};

// QTEST_MAIN with the folders set up before the test object exists.
#define BEITRAGSBOX_TEST_MAIN(TestObject)                                                          \
    QTEST_MAIN_WRAPPER(TestObject, QTEST_MAIN_SETUP() TestFolders folders;)

inline QByteArray readFile(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// "|" stands for CR LF.
inline QString crlf(QString s) {
    return s.replace(QLatin1String("|"), QLatin1String("\r\n"));
}

// A folder anyone may write to, sticky like /tmp, removed with the object.
struct SharedFolder {
    QByteArray path = "/tmp/beitragsbox-shared-XXXXXX";
    bool made = ::mkdtemp(path.data()) && ::chmod(path.constData(), 01777) == 0;
    ~SharedFolder() { QDir(QString(path)).removeRecursively(); }
    QString filePath(const QString& name) const { return QString(path) + '/' + name; }
};

// A symbolic link made by another user (nobody), as an attacker would plant it; needs root.
inline bool plantForeignLink(const QString& target, const QString& link) {
    return QProcess::execute("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                         "ln", "-s", target, link}) == 0;
}

#ifdef QT_WIDGETS_LIB
#include <QApplication>

// Runs `act` on the modal dialog of type T as soon as it is shown.
template <typename T> void whenModal(QObject* context, std::function<void(T*)> act) {
    QTimer::singleShot(0, context, [context, act] {
        if (T* modal = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(modal);
        else
            whenModal<T>(context, act);
    });
}
#endif

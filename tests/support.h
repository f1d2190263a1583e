#pragma once
// Shared by the tests: temporary folders, file helpers, answering modal dialogs.
#include "settings/clsINIClass.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

// A temporary program folder (where the settings file lies) and working folder, in force while
// the object lives.
struct TestFolders {
    QTemporaryDir program;
    QTemporaryDir work;
    QString previous = QDir::currentPath();
    TestFolders() {
        settingsfile::setProgramFolderForTests(program.path());
        QDir::setCurrent(work.path());
    }
    ~TestFolders() {
        QDir::setCurrent(previous);
        settingsfile::setProgramFolderForTests(QString());
    }
};

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

// Runs `act` on the modal dialog of type T as soon as it is shown.
template <typename T> void whenModal(QObject* context, std::function<void(T*)> act) {
    QTimer::singleShot(0, context, [context, act] {
        if (T* modal = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(modal);
        else
            whenModal<T>(context, act);
    });
}

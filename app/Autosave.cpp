#include "app/Autosave.h"

#include "platform/files.h"

#include <QDir>

Autosave::Autosave(Report report, QObject* parent) : QObject(parent), m_report(std::move(report)) {
    m_writer.setMaxThreadCount(1);
}

Autosave::~Autosave() {
    finish();
}

void Autosave::save(const QString& text) {
    // The working folder now, not when the write runs.
    const QString path = QDir::current().absoluteFilePath(fileName());
    m_writer.start([this, path, text] {
        const files::WriteResult result = files::writeTextFile(path, text);
        QMetaObject::invokeMethod(
            this, [this, result] { written(result.ok, result.reason); }, Qt::QueuedConnection);
    });
}

void Autosave::finish() {
    m_writer.waitForDone();
}

void Autosave::written(bool ok, const QString& reason) {
    if (ok == !m_failing)
        return;
    m_failing = !ok;
    if (m_report)
        m_report(m_failing, reason);
}

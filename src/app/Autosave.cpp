#include "app/Autosave.h"

#include "platform/files.h"
#include "text/EditBuffer.h"

#include <QDir>

#include <utility>

Autosave::Autosave(Report report, QObject* parent) : QObject(parent), m_report(std::move(report)) {
    m_writer.setMaxThreadCount(1);
}

Autosave::~Autosave() {
    finish();
}

void Autosave::save(const QString& text) {
    if (m_busy)
        m_waiting = text;
    else
        start(text);
}

void Autosave::start(const QString& text) {
    m_busy = true;
    // Relative: the working folder the program started in, held for the run.
    const QString path = fileName();
    m_writer.start([this, path, text] {
        // The conversion to the file's bytes happens here, off the user's thread.
        const files::WriteResult result = files::writeFile(path, fileBytes(text));
        QMetaObject::invokeMethod(
            this, [this, result] { written(result.ok, result.reason); }, Qt::QueuedConnection);
    });
}

void Autosave::finish() {
    m_waiting.reset();
    m_writer.waitForDone();
}

void Autosave::written(bool ok, const QString& reason) {
    m_busy = false;
    if (const std::optional<QString> next = std::exchange(m_waiting, std::nullopt))
        start(*next);
    if (ok == !m_failing)
        return;
    m_failing = !ok;
    if (m_report)
        m_report(m_failing, reason);
}

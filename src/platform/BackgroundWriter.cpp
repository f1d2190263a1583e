#include "platform/BackgroundWriter.h"

#include "platform/files.h"
#include "text/EditBuffer.h"

#include <QFileInfo>

#include <utility>

namespace {

files::WriteResult write(const QString& path, bool privateFolder, const QString& text) {
    if (privateFolder) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!QFileInfo(folder).isDir() && !files::makePrivateFolder(folder))
            return files::WriteResult{
                false,
                QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden.").arg(folder)};
    }
    // The conversion to the file's bytes happens here, off the user's thread.
    return files::writeFile(path, fileBytes(text));
}

} // namespace

BackgroundWriter::BackgroundWriter(QString path, Report report, bool privateFolder, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_report(std::move(report)),
      m_privateFolder(privateFolder) {
    m_writer.setMaxThreadCount(1);
}

BackgroundWriter::~BackgroundWriter() {
    finish();
}

void BackgroundWriter::save(const QString& text) {
    if (m_busy)
        m_waiting = text;
    else
        start(text);
}

void BackgroundWriter::start(const QString& text) {
    m_busy = true;
    const quint64 sequence = ++m_sequence;
    m_writer.start([this, text, sequence] {
        const files::WriteResult result = write(m_path, m_privateFolder, text);
        QMetaObject::invokeMethod(
            this,
            [this, result, sequence] {
                // A write made at once since has reported already.
                if (sequence == m_sequence)
                    written(result.ok, result.reason);
            },
            Qt::QueuedConnection);
    });
}

void BackgroundWriter::finish() {
    m_waiting.reset();
    m_writer.waitForDone();
}

bool BackgroundWriter::saveNow(const QString& text) {
    finish();
    ++m_sequence;
    const files::WriteResult result = write(m_path, m_privateFolder, text);
    written(result.ok, result.reason);
    return result.ok;
}

void BackgroundWriter::written(bool ok, const QString& reason) {
    m_busy = false;
    if (const std::optional<QString> next = std::exchange(m_waiting, std::nullopt))
        start(*next);
    if (ok == !m_failing)
        return;
    m_failing = !ok;
    if (m_report)
        m_report(m_failing, reason);
}

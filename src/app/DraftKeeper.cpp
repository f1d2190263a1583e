#include "app/DraftKeeper.h"

#include "platform/draftfolder.h"
#include "text/Drafts.h"

#include <QCoreApplication>
#include <QThreadPool>

DraftKeeper::DraftKeeper(const QString& folder, const QDateTime& start,
                         BackgroundWriter::Report report, QObject* parent)
    : QObject(parent), m_folder(folder),
      m_fileName(drafts::fileName(start, QCoreApplication::applicationPid())),
      m_writer(folder + QLatin1Char('/') + m_fileName, std::move(report), true) {
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kLongestWaitMs);
    connect(&m_pause, &QTimer::timeout, this, &DraftKeeper::fallDue);
    connect(&m_deadline, &QTimer::timeout, this, &DraftKeeper::fallDue);
}

void DraftKeeper::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (!on) {
        m_pause.stop();
        m_deadline.stop();
        m_writer.finish();
    } else if (m_changed) {
        m_pause.start();
    }
}

void DraftKeeper::changed() {
    m_changed = true;
    if (!m_enabled)
        return;
    m_pause.start();
    if (!m_deadline.isActive())
        m_deadline.start();
}

void DraftKeeper::fallDue() {
    m_pause.stop();
    m_deadline.stop();
    if (pending())
        emit due();
}

void DraftKeeper::save(const QString& text) {
    if (!m_enabled)
        return;
    m_changed = false;
    if (!text.isEmpty())
        m_writer.save(text);
}

void DraftKeeper::saveAtEnd(const QString& text) {
    m_pause.stop();
    m_deadline.stop();
    // A failed write is tried once more.
    if (!m_enabled || (!m_changed && !m_writer.failing())) {
        m_writer.finish();
        return;
    }
    m_changed = false;
    if (text.isEmpty())
        m_writer.finish();
    else
        m_writer.saveNow(text);
}

void DraftKeeper::tidyInBackground() const {
    const QString folder = m_folder;
    QThreadPool::globalInstance()->start(
        [folder] { draftfolder::tidy(folder, QDateTime::currentDateTime()); });
}

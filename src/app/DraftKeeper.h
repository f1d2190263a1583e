#pragma once
#include "platform/BackgroundWriter.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

// Keeps this run's text in a draft file of its own, so that a post outlives the run: written
// after a pause in the changes, at least every half minute while they go on, and at the end.
class DraftKeeper : public QObject {
    Q_OBJECT
public:
    DraftKeeper(const QString& folder, const QDateTime& start, BackgroundWriter::Report report,
                QObject* parent = nullptr);

    QString folder() const { return m_folder; }
    QString fileName() const { return m_fileName; }
    QString path() const { return m_writer.path(); }

    // Off: nothing more is written; the drafts on disk stay.
    void setEnabled(bool on);
    bool enabled() const { return m_enabled; }

    // The text changed: a write falls due after a pause, or after a while of changes.
    void changed();
    // A change waits to be written.
    bool pending() const { return m_enabled && m_changed; }
    // Hands the text over for writing. An empty text is not written: emptying the field after
    // posting leaves the post in the draft.
    void save(const QString& text);
    // At the end of the run: writes a change still waiting now.
    void saveAtEnd(const QString& text);
    bool failing() const { return m_writer.failing(); }
    // Waits for the write under way.
    void finish() { m_writer.finish(); }

    // Removes in the background what the folder keeps no longer.
    void tidyInBackground() const;

    static constexpr int kPauseMs = 2000;
    static constexpr int kLongestWaitMs = 30000;

signals:
    // A write is due: the owner hands the text over with save().
    void due();

private:
    void fallDue();

    QString m_folder;
    QString m_fileName;
    BackgroundWriter m_writer;
    QTimer m_pause;
    QTimer m_deadline;
    bool m_enabled = true;
    bool m_changed = false;
};

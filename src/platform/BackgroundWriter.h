#pragma once
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <optional>

// Writes the edit field's text to one file in the background, so a slow disk never holds up
// typing. At most one write is under way; texts handed over meanwhile merge into one write of
// the newest. A failure is reported once per run of failures, and the return to working writes
// is reported too.
class BackgroundWriter : public QObject {
    Q_OBJECT
public:
    // The report gets true when writing starts failing (with the reason), false when it works
    // again.
    using Report = std::function<void(bool failing, const QString& reason)>;

    // A relative path names a file in the working folder the program started in. With
    // privateFolder, the file's folder is made (0700) before each write where it is missing.
    BackgroundWriter(QString path, Report report, bool privateFolder = false,
                     QObject* parent = nullptr);
    ~BackgroundWriter() override;

    const QString& path() const { return m_path; }

    // Writes the edit field's text (paragraph breaks as U+2029 or CR LF) as the file's bytes
    // (see fileBytes), now or after the write under way.
    void save(const QString& text);
    // Waits for the write under way; a newer text still waiting is not written any more, so
    // that the end of the program waits for one write at most.
    void finish();
    // Writes the text now, after the write under way, and reports as a write in the
    // background would.
    bool saveNow(const QString& text);
    // The last write failed: the text is to be written again at the next tick.
    bool failing() const { return m_failing; }

private:
    void start(const QString& text);
    void written(bool ok, const QString& reason);

    QString m_path;
    Report m_report;
    bool m_privateFolder;
    QThreadPool m_writer;
    bool m_busy = false;
    quint64 m_sequence = 0;
    std::optional<QString> m_waiting;
    bool m_failing = false;
};

#pragma once
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <optional>

// Writes "autosave.txt" in the background, so a slow disk never holds up typing. At most one
// write is under way; texts handed over meanwhile merge into one write of the newest. A failure
// is reported once per run of failures, and the return to working writes is reported too.
class Autosave : public QObject {
    Q_OBJECT
public:
    // The report gets true when writing starts failing (with the reason), false when it works
    // again.
    using Report = std::function<void(bool failing, const QString& reason)>;

    explicit Autosave(Report report, QObject* parent = nullptr);
    ~Autosave() override;

    static QString fileName() { return QStringLiteral("autosave.txt"); }

    // Writes the edit field's text (paragraph breaks as U+2029 or CR LF) as the file's bytes
    // (see fileBytes), now or after the write under way.
    void save(const QString& text);
    // Waits for the write under way; a newer text still waiting is not written any more, so
    // that the end of the program waits for one write at most.
    void finish();
    // The last write failed: the text is to be written again at the next tick.
    bool failing() const { return m_failing; }

private:
    void start(const QString& text);
    void written(bool ok, const QString& reason);

    Report m_report;
    QThreadPool m_writer;
    bool m_busy = false;
    std::optional<QString> m_waiting;
    bool m_failing = false;
};

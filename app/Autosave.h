#pragma once
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>

// Writes "autosave.txt" in the background, so a slow disk never holds up typing. Writes happen
// one at a time in tick order; a failure is reported once per run of failures, and the return
// to working writes is reported too.
class Autosave : public QObject {
    Q_OBJECT
public:
    // The report gets true when writing starts failing (with the reason), false when it works
    // again.
    using Report = std::function<void(bool failing, const QString& reason)>;

    explicit Autosave(Report report, QObject* parent = nullptr);
    ~Autosave() override;

    static QString fileName() { return QStringLiteral("autosave.txt"); }

    // Queues a write of the text; the file is the text followed by CR LF.
    void save(const QString& text);
    // Waits until every queued write is done.
    void finish();

private:
    void written(bool ok, const QString& reason);

    Report m_report;
    QThreadPool m_writer;
    bool m_failing = false;
};

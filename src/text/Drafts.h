#pragma once
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Drafts: one file per run of the program holding the run's last text, kept for a while and
// offered again later.
namespace drafts {

// "2026-12-07_14-03-59_4711.txt": the run's start in local time and its process id, so two
// programs never share a file and the names sort by start.
QString fileName(const QDateTime& start, qint64 pid);

struct NameParts {
    bool ok = false;
    QDateTime start;
    qint64 pid = 0;
};
NameParts parseName(const QString& name);

struct Draft {
    QString name;
    QDateTime written;    // last write
    qint64 size = 0;      // bytes
    bool running = false; // its program still runs (this run too): never removed
};

struct Retention {
    qint64 maxAgeDays = 30;
    int keepNewest = 20;
    qint64 maxTotalBytes = 200LL * 1024 * 1024;
};

// The drafts to remove: those older than maxAgeDays, except the newest keepNewest; then, while
// all together are larger than maxTotalBytes, the oldest. A running program's draft stays.
QStringList toRemove(QList<Draft> drafts, const QDateTime& now, const Retention& rules = {});

// Newest first; by name where two were written in the same moment.
void sortNewestFirst(QList<Draft>& drafts);

// The first line of a text that holds more than blanks, trimmed and cut to about maxLength
// characters; an ellipsis marks a cut.
QString firstLine(QStringView text, int maxLength = 80);

// Characters a user would count in a draft file's bytes (UTF-8, CR LF breaks): a line break is
// one, and the file's closing CR LF is none.
qint64 characterCount(QByteArrayView fileBytes);

// The heading of a draft in a list: "Mo. 07.12.2026 14:03 · 1.234 Zeichen", with the character
// count left out while it is unknown (negative).
QString rowHeading(const QDateTime& written, qint64 characters);

} // namespace drafts

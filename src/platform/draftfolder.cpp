#include "platform/draftfolder.h"

#include "platform/files.h"
#include "text/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace draftfolder {

namespace {

// Enough for the first lines of any post.
constexpr qint64 kHeadBytes = 4096;

// Seconds since boot at which the process started, from /proc; negative when unknown.
double processStartSinceBoot(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold blanks; the fields after it are counted from
    // the last ')'. starttime is field 22, the 20th after it.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    bool ok = false;
    const qint64 ticks = fields[19].toLongLong(&ok);
    const long perSecond = ::sysconf(_SC_CLK_TCK);
    return ok && perSecond > 0 ? double(ticks) / double(perSecond) : -1;
}

QDateTime bootTime() {
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    // Files in /proc tell no size: read to the end instead of asking for it.
    for (const QByteArray& line : stat.readAll().split('\n'))
        if (line.startsWith("btime "))
            return QDateTime::fromSecsSinceEpoch(line.mid(6).trimmed().toLongLong());
    return {};
}

} // namespace

QString path() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/drafts");
}

bool runningSince(qint64 pid, const QDateTime& start) {
    if (pid <= 0 || pid > 0x7fffffff || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
        return false;
    const double sinceBoot = processStartSinceBoot(pid);
    const QDateTime boot = bootTime();
    // Without /proc the number alone decides: keeping a draft too long is the safe side.
    if (sinceBoot < 0 || !boot.isValid())
        return true;
    // The name holds whole seconds; a second's grace for the rounding of both clocks.
    return boot.addMSecs(qint64(sinceBoot * 1000)) <= start.addSecs(2);
}

QList<drafts::Draft> list(const QString& folder) {
    QList<drafts::Draft> found;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const drafts::NameParts parts = drafts::parseName(entry.fileName());
        if (!parts.ok)
            continue;
        found << drafts::Draft{entry.fileName(), entry.lastModified(), entry.size(),
                               runningSince(parts.pid, parts.start)};
    }
    return found;
}

int tidy(const QString& folder, const QDateTime& now) {
    files::removeLeftovers(folder);
    int removed = 0;
    for (const QString& name : drafts::toRemove(list(folder), now))
        if (QFile::remove(QDir(folder).filePath(name)))
            ++removed;
    return removed;
}

Head readHead(const QString& file) {
    const files::BytesResult read = files::readHead(file, kHeadBytes);
    if (!read.ok)
        return Head{false, QString(), -1, read.reason};
    // A head cut inside a character decodes the rest of that character as a replacement.
    const QString text =
        read.tooLarge ? QString::fromUtf8(read.bytes) : textcodec::decodeText(read.bytes);
    return Head{true, drafts::firstLine(text),
                read.tooLarge ? -1 : drafts::characterCount(read.bytes), QString()};
}

qint64 countCharacters(const QString& file) {
    const files::BytesResult read = files::readBytes(file);
    return read.ok ? drafts::characterCount(read.bytes) : -1;
}

} // namespace draftfolder

#include "platform/files.h"

#include "settings/TextDecoding.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

constexpr char kTempPrefix[] = ".beitragsbox-";
constexpr char kTempSuffix[] = ".tmp";

QString reasonFor(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Schreibberechtigung für den Ordner oder die Datei.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen gibt es bereits einen Ordner.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfads ist kein Ordner.");
    case ENOENT:
        return QStringLiteral("Der Ordner existiert nicht.");
    case ENODEV:
    case ENXIO:
    case ESPIPE:
        return QStringLiteral("Unter diesem Namen gibt es keine normale Datei.");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

WriteResult failure(int error) {
    return WriteResult{false, reasonFor(error)};
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

// A symbolic link is kept and the file it points to is replaced, as an editor saving through
// the link would be expected to do.
QByteArray resolveLink(const QByteArray& path) {
    struct stat linkInfo;
    if (::lstat(path.constData(), &linkInfo) != 0 || !S_ISLNK(linkInfo.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved) == nullptr)
        return path; // dangling link: write where the name says
    return QByteArray(resolved);
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

WriteResult writeTextFile(const QString& fileName, const QString& text) {
    return writeFile(fileName, text.toUtf8() + "\r\n");
}

WriteResult writeFile(const QString& fileName, const QByteArray& bytes) {
    if (fileName.isEmpty())
        return failure(ENOENT);
    const QByteArray target = resolveLink(QFile::encodeName(fileName));

    struct stat targetInfo;
    const bool targetExists = ::stat(target.constData(), &targetInfo) == 0;
    if (targetExists && S_ISDIR(targetInfo.st_mode))
        return failure(EISDIR);
    if (!targetExists && errno == ENOTDIR)
        return failure(ENOTDIR);
    // The rename would replace even a write-protected file; honour the protection instead.
    if (targetExists && ::access(target.constData(), W_OK) != 0)
        return failure(errno);

    const QByteArray folder = folderOf(target);
    QByteArray tempName;
    int fd = -1;
    // A fresh random name per attempt; O_EXCL guarantees the file is ours alone. The process id
    // in the name tells a later start whether the writer is gone (removeLeftovers).
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempName = folder + "/" + kTempPrefix + QByteArray::number(::getpid()) + "-" +
                   QByteArray::number(QRandomGenerator::global()->generate(), 16) + kTempSuffix;
        // Mode 0666 lets the umask decide, as for any newly created file.
        fd = ::open(tempName.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failure(errno);
    }
    if (fd < 0)
        return failure(EEXIST);

    auto abandon = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(tempName.constData());
        return failure(error);
    };

    if (targetExists && ::fchmod(fd, targetInfo.st_mode & 07777) != 0)
        return abandon(errno);

    if (!writeAll(fd, bytes))
        return abandon(errno);
    if (::fsync(fd) != 0)
        return abandon(errno);
    const int closed = ::close(fd);
    fd = -1;
    // On Linux the descriptor is gone even after EINTR, and fsync already succeeded.
    if (closed != 0 && errno != EINTR)
        return abandon(errno);

    if (::rename(tempName.constData(), target.constData()) != 0)
        return abandon(errno);

    // Makes the rename itself durable; the new file is complete either way, so errors here do
    // not turn the save into a failure.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return WriteResult{true, QString()};
}

WriteResult appendLine(const QString& fileName, const QByteArray& line) {
    const QByteArray name = QFile::encodeName(fileName);
    // Non-blocking, so that a named pipe of that name does not wait for a reader.
    const int fd =
        ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure(errno);
    auto abandon = [fd](int error) {
        ::close(fd);
        return failure(error);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return abandon(errno);
    if (!S_ISREG(info.st_mode))
        return abandon(ENODEV);
    QByteArray bytes;
    if (info.st_size > 0) {
        char last = 0;
        const ssize_t n = ::pread(fd, &last, 1, info.st_size - 1);
        if (n != 1)
            return abandon(n < 0 ? errno : EIO);
        if (last != '\n')
            bytes = "\r\n";
    }
    bytes += line + "\r\n";
    ssize_t written;
    do
        written = ::write(fd, bytes.constData(), size_t(bytes.size()));
    while (written < 0 && errno == EINTR);
    if (written != bytes.size()) {
        const int error = written < 0 ? errno : ENOSPC;
        // Half a line is taken back rather than left for the next line to join; should that
        // fail too, the first error is the one to report.
        if (written > 0)
            static_cast<void>(::ftruncate(fd, info.st_size) == 0);
        return abandon(error);
    }
    if (::fsync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0 && errno != EINTR)
        return failure(errno);
    return WriteResult{true, QString()};
}

BytesResult readBytes(const QString& fileName) {
    const QByteArray name = QFile::encodeName(fileName);
    // Non-blocking, so that opening a named pipe does not wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return BytesResult{false, error == ENOENT, {}, reasonFor(error)};
    }
    BytesResult result;
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        const int error = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        return BytesResult{false, false, {}, reasonFor(error)};
    }
    result.bytes.reserve(qsizetype(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return BytesResult{false, false, {}, reasonFor(error)};
        }
        if (n == 0)
            break;
        result.bytes.append(chunk, n);
    }
    ::close(fd);
    result.ok = true;
    return result;
}

ReadResult readTextFile(const QString& fileName) {
    const BytesResult read = readBytes(fileName);
    if (!read.ok)
        return ReadResult{false, read.missing, QString(), read.reason};
    return ReadResult{true, false, textcodec::decodeText(read.bytes), QString()};
}

int removeLeftovers(const QString& folder) {
    const QDir dir(folder);
    int removed = 0;
    const QStringList names =
        dir.entryList({QString::fromLatin1(kTempPrefix) + "*" + QString::fromLatin1(kTempSuffix)},
                      QDir::Files | QDir::Hidden | QDir::System);
    static const QRegularExpression ours(QStringLiteral("^\\.beitragsbox-(\\d+)-[0-9a-f]+\\.tmp$"));
    for (const QString& name : names) {
        const QRegularExpressionMatch match = ours.match(name);
        if (!match.hasMatch())
            continue;
        bool number = false;
        const qint64 pid = match.captured(1).toLongLong(&number);
        // A running writer (another instance of the program) keeps its file.
        if (!number || pid <= 0 || pid > INT_MAX || (::kill(pid_t(pid), 0) == 0 || errno != ESRCH))
            continue;
        if (QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace files

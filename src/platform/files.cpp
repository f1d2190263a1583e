#include "platform/files.h"

#include "text/TextDecoding.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
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
    case ENAMETOOLONG:
        return QStringLiteral("Der Name der Datei oder des Ordners ist zu lang.");
    case ELOOP:
        return QStringLiteral("Der Pfad enthält zu viele symbolische Verknüpfungen.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien gleichzeitig geöffnet.");
    case ENOMEM:
        return QStringLiteral("Nicht genug Arbeitsspeicher.");
    case EFBIG:
    case EOVERFLOW:
        return QStringLiteral("Die Datei ist zu groß.");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler beim Zugriff auf den Datenträger.");
    case EEXIST:
        return QStringLiteral("Es konnte keine Zwischendatei im Ordner angelegt werden.");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.");
    case EAGAIN:
        return QStringLiteral("Die Datei ist gerade gesperrt.");
    case EINVAL:
    case EXDEV:
    case EOPNOTSUPP:
        return QStringLiteral("Das Dateisystem unterstützt diesen Vorgang nicht.");
    case EMLINK:
        return QStringLiteral("Der Ordner enthält zu viele Einträge.");
    case ESTALE:
    case ENOTCONN:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
        return QStringLiteral("Die Verbindung zum Netzlaufwerk ist unterbrochen.");
    default:
        // The system's own text may not be German; the number says what it is in any language.
        return QStringLiteral("Systemfehler %1 (%2).")
            .arg(error)
            .arg(QString::fromLocal8Bit(std::strerror(error)));
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

// The folder the program started in, held open for the run: a name without a folder belongs
// to it even when the process's folder is removed or replaced later.
struct WorkingFolder {
    int fd = AT_FDCWD;
    QString path;
};
WorkingFolder& working() {
    static WorkingFolder folder;
    return folder;
}

bool workingFolderGone() {
    struct stat info {};
    return working().fd != AT_FDCWD && ::fstat(working().fd, &info) == 0 && info.st_nlink == 0;
}

// A file name as the *at() calls take it: relative names count from the working folder.
struct Place {
    int base = AT_FDCWD;
    QByteArray name;
};

Place placeOf(const QString& fileName) {
    const QByteArray name = QFile::encodeName(fileName);
    return Place{name.startsWith('/') ? AT_FDCWD : working().fd, name};
}

// Why a call on a name failed; a removed working folder is said as such.
QString reasonAt(const Place& place, int error) {
    if (place.base != AT_FDCWD && workingFolderGone())
        return QStringLiteral("Der Arbeitsordner \"%1\" existiert nicht mehr.").arg(working().path);
    return reasonFor(error);
}

constexpr int kForeignLink = -1; // not an errno: a link the protected-symlinks rule refuses

// Follows symbolic links as an editor saving through a link would (the target is replaced, the
// link kept), but only where the kernel's protected-symlinks rule would: never a link in a
// sticky, world-writable folder that belongs neither to this user nor to the folder's owner,
// as another user may plant there. A dangling link is written where its name says.
struct Resolved {
    Place place;
    int error = 0;
};

Resolved resolve(Place place) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat link {};
        if (::fstatat(place.base, place.name.constData(), &link, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISLNK(link.st_mode))
            return Resolved{place};
        const QByteArray folder = folderOf(place.name);
        struct stat shared {};
        if (::fstatat(place.base, folder.constData(), &shared, 0) == 0 &&
            (shared.st_mode & S_ISVTX) && (shared.st_mode & S_IWOTH) &&
            link.st_uid != ::geteuid() && link.st_uid != shared.st_uid)
            return Resolved{place, kForeignLink};
        char target[PATH_MAX];
        const ssize_t n = ::readlinkat(place.base, place.name.constData(), target, sizeof target);
        if (n <= 0 || n >= ssize_t(sizeof target))
            return Resolved{place};
        Place next{place.base, QByteArray(target, n)};
        if (next.name.startsWith('/'))
            next.base = AT_FDCWD;
        else if (folder != ".")
            next.name = folder + '/' + next.name;
        struct stat exists {};
        if (::fstatat(next.base, next.name.constData(), &exists, 0) != 0 && errno == ENOENT)
            return Resolved{place};
        place = next;
    }
    return Resolved{place, ELOOP};
}

QString reasonFor(const Resolved& resolved) {
    if (resolved.error == kForeignLink)
        return QStringLiteral("Die Datei ist eine Verknüpfung (symbolischer Link) eines anderen "
                              "Benutzers in einem gemeinsamen Ordner; ihr wird nicht gefolgt.");
    return reasonAt(resolved.place, resolved.error);
}

// What the program keeps for the user (settings, word list, data) is the user's alone.
bool usersOwn(const QByteArray& path) {
    for (const auto location :
         {QStandardPaths::AppConfigLocation, QStandardPaths::AppLocalDataLocation}) {
        const QByteArray folder = QFile::encodeName(QStandardPaths::writableLocation(location));
        if (!folder.isEmpty() && path.startsWith(folder + '/'))
            return true;
    }
    return false;
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

void holdWorkingFolder() {
    if (working().fd != AT_FDCWD)
        return;
    working().path = QDir::currentPath();
    working().fd = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (working().fd < 0)
        working().fd = AT_FDCWD;
}

void ignoreRelativeXdgPaths() {
    // A relative XDG path is invalid and to be ignored; used as it is, it would put the user's
    // settings into whatever folder the program was started in.
    for (const char* single :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        if (qEnvironmentVariableIsSet(single) && !qgetenv(single).startsWith('/'))
            qunsetenv(single);
    for (const char* list : {"XDG_CONFIG_DIRS", "XDG_DATA_DIRS"}) {
        if (!qEnvironmentVariableIsSet(list))
            continue;
        QList<QByteArray> kept;
        for (const QByteArray& entry : qgetenv(list).split(':'))
            if (entry.startsWith('/'))
                kept << entry;
        if (kept.isEmpty())
            qunsetenv(list);
        else
            qputenv(list, kept.join(':'));
    }
}

bool makePrivateFolder(const QString& folder) {
    if (!QDir().mkpath(folder))
        return false;
    return ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

WriteResult writeTextFile(const QString& fileName, const QString& text) {
    return writeFile(fileName, text.toUtf8() + "\r\n");
}

WriteResult writeFile(const QString& fileName, const QByteArray& bytes) {
    if (fileName.isEmpty())
        return failure(ENOENT);
    const Resolved resolved = resolve(placeOf(fileName));
    if (resolved.error != 0)
        return WriteResult{false, reasonFor(resolved)};
    const Place target = resolved.place;
    const auto fail = [&](int error) { return WriteResult{false, reasonAt(target, error)}; };

    struct stat targetInfo;
    const bool targetExists = ::fstatat(target.base, target.name.constData(), &targetInfo, 0) == 0;
    if (targetExists && S_ISDIR(targetInfo.st_mode))
        return failure(EISDIR);
    if (!targetExists && errno == ENOTDIR)
        return failure(ENOTDIR);
    // The rename would replace even a write-protected file; honour the protection instead.
    if (targetExists && ::faccessat(target.base, target.name.constData(), W_OK, 0) != 0)
        return fail(errno);

    const bool own = usersOwn(target.name);
    const QByteArray folder = folderOf(target.name);
    QByteArray tempName;
    int fd = -1;
    // A fresh random name per attempt; O_EXCL guarantees the file is ours alone. The process id
    // in the name tells a later start whether the writer is gone (removeLeftovers).
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempName = folder + "/" + kTempPrefix + QByteArray::number(::getpid()) + "-" +
                   QByteArray::number(QRandomGenerator::global()->generate(), 16) + kTempSuffix;
        // Mode 0666 lets the umask decide, as for any newly created file.
        fd = ::openat(target.base, tempName.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC,
                      own ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return failure(EEXIST);

    auto abandon = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlinkat(target.base, tempName.constData(), 0);
        return fail(error);
    };

    if (own ? ::fchmod(fd, 0600) != 0
            : targetExists && ::fchmod(fd, targetInfo.st_mode & 07777) != 0)
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

    if (::renameat(target.base, tempName.constData(), target.base, target.name.constData()) != 0)
        return abandon(errno);

    // Makes the rename itself durable; the new file is complete either way, so errors here do
    // not turn the save into a failure.
    const int folderFd =
        ::openat(target.base, folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return WriteResult{true, QString()};
}

WriteResult appendLine(const QString& fileName, const QByteArray& line) {
    const Resolved resolved = resolve(placeOf(fileName));
    if (resolved.error != 0)
        return WriteResult{false, reasonFor(resolved)};
    const Place place = resolved.place;
    const bool own = usersOwn(place.name);
    // Non-blocking, so that a named pipe of that name does not wait for a reader.
    const int fd = ::openat(place.base, place.name.constData(),
                            O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW,
                            own ? 0600 : 0666);
    if (fd < 0)
        return WriteResult{false, reasonAt(place, errno)};
    auto abandon = [fd](int error) {
        ::close(fd);
        return failure(error);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return abandon(errno);
    if (!S_ISREG(info.st_mode))
        return abandon(ENODEV);
    if (own && (info.st_mode & 0777) != 0600 && ::fchmod(fd, 0600) != 0)
        return abandon(errno);
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

namespace {

BytesResult readStart(const QString& fileName, qint64 maxBytes, bool headOnly) {
    const Resolved resolved = resolve(placeOf(fileName));
    if (resolved.error != 0)
        return BytesResult{false, false, false, {}, reasonFor(resolved)};
    const Place place = resolved.place;
    // Non-blocking, so that opening a named pipe does not wait for a writer; a link swapped in
    // after the check is not followed.
    const int fd = ::openat(place.base, place.name.constData(),
                            O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        int error = errno;
        struct stat target {};
        // A dangling link reads as a missing file.
        if (error == ELOOP && ::fstatat(place.base, place.name.constData(), &target, 0) != 0 &&
            errno == ENOENT)
            error = ENOENT;
        return BytesResult{
            false, error == ENOENT && !workingFolderGone(), false, {}, reasonAt(place, error)};
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        const int error = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        return BytesResult{false, false, false, {}, reasonFor(error)};
    }
    const bool cut = headOnly && info.st_size > maxBytes;
    if (maxBytes >= 0 && info.st_size > maxBytes && !headOnly) {
        ::close(fd);
        return BytesResult{false,
                           false,
                           true,
                           {},
                           QStringLiteral("Die Datei ist mit %1 MB zu groß für einen Text "
                                          "(höchstens %2 MB).")
                               .arg(info.st_size / (1024 * 1024))
                               .arg(maxBytes / (1024 * 1024))};
    }
    BytesResult result;
    try {
        const qint64 wanted = cut ? maxBytes : info.st_size;
        result.bytes.reserve(qsizetype(wanted));
        char chunk[65536];
        for (;;) {
            const qint64 left = cut ? maxBytes - result.bytes.size() : qint64(sizeof chunk);
            if (left <= 0)
                break;
            const ssize_t n = ::read(fd, chunk, size_t(std::min<qint64>(left, sizeof chunk)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                const int error = errno;
                ::close(fd);
                return BytesResult{false, false, false, {}, reasonFor(error)};
            }
            if (n == 0)
                break;
            result.bytes.append(chunk, n);
        }
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return BytesResult{false, false, false, {}, reasonFor(ENOMEM)};
    }
    ::close(fd);
    result.ok = true;
    result.tooLarge = cut;
    return result;
}

} // namespace

BytesResult readBytes(const QString& fileName, qint64 maxBytes) {
    return readStart(fileName, maxBytes, false);
}

BytesResult readHead(const QString& fileName, qint64 headBytes) {
    return readStart(fileName, headBytes, true);
}

ReadResult readTextFile(const QString& fileName, qint64 maxBytes) {
    const BytesResult read = readBytes(fileName, maxBytes);
    if (!read.ok)
        return ReadResult{false, read.missing, read.tooLarge, QString(), read.reason};
    return ReadResult{true, false, false, textcodec::decodeText(read.bytes), QString()};
}

WriteResult removeFile(const QString& fileName) {
    if (::unlink(QFile::encodeName(fileName).constData()) != 0)
        return failure(errno);
    return WriteResult{true, QString()};
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

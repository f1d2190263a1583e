#include "platform/files.h"

#include <QtTest>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString fullDisk = QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
const QString noPermission =
    QStringLiteral("Keine Schreibberechtigung für den Ordner oder die Datei.");
const QString readOnlyMedium = QStringLiteral("Der Datenträger ist schreibgeschützt.");

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

bool writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every entry below dir, hidden ones included, with the contents of files, so that a left-over
// temporary file or any change shows up as a difference.
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(dir).relativeFilePath(path);
        entries.insert(name, it.fileInfo().isDir() ? QByteArray("<folder>") : readAll(path));
    }
    return entries;
}

mode_t permissionBits(const QString& path) {
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mountPoint;

    QString path(const QString& name) const { return m_dir->filePath(name); }

    // A tmpfs of the given options inside the temporary folder; false with a message when this
    // process may not mount.
    bool mountTmpfs(const QString& options, QString* message) {
        if (::geteuid() != 0) {
            *message = QStringLiteral("mounting a tmpfs needs root");
            return false;
        }
        const QString point = path(QStringLiteral("small"));
        QDir().mkpath(point);
        QProcess mount;
        mount.start(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                     QStringLiteral("tmpfs"), point});
        if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit ||
            mount.exitCode() != 0) {
            *message = QStringLiteral("cannot mount a tmpfs here: ") +
                       QString::fromLocal8Bit(mount.readAllStandardError()).trimmed() +
                       mount.errorString();
            return false;
        }
        m_mountPoint = point;
        return true;
    }

    static bool remount(const QString& point, const QString& options) {
        return QProcess::execute(
                   QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("remount,") + options, point}) == 0;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup() {
        if (!m_mountPoint.isEmpty()) {
            QProcess::execute(QStringLiteral("umount"), {m_mountPoint});
            m_mountPoint.clear();
        }
        m_dir.reset();
    }

    // UTF-8 where the bytes are valid UTF-8, else Windows-1252 with every byte kept.
    void decodesText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8") << QByteArray("Gr\xc3\xbc\xc3\x9f") << QString::fromUtf8("Grüß");
        QTest::newRow("windows-1252")
            << QByteArray("Gr\xfc\xdf \x80\x93") << QString::fromUtf8("Grüß €“");
        QTest::newRow("cut-off character at the end")
            << QByteArray("ab\xc3") << QString::fromUtf8("abÃ");
        QTest::newRow("unassigned bytes kept")
            << QByteArray("\x81\x9d") << QString(QChar(0x81)) + QChar(0x9d);
    }
    void decodesText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(files::decodeText(bytes), text);
        QVERIFY(writeRaw(path(QStringLiteral("in.txt")), bytes));
        const files::ReadResult read = files::readTextFile(path(QStringLiteral("in.txt")));
        QVERIFY(read.ok);
        QCOMPARE(read.text, text);
    }

    void writesUtf8WithCrLf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Hallo") << QByteArray("Hallo\r\n");
        QTest::newRow("empty") << QString() << QByteArray("\r\n");
        QTest::newRow("umlauts and euro")
            << QStringLiteral("äöüß€")
            << QByteArray("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xE2\x82\xAC\r\n");
        QTest::newRow("emoji") << QStringLiteral("a😀b")
                               << QByteArray("a\xF0\x9F\x98\x80") + "b\r\n";
        QTest::newRow("inner line breaks kept")
            << QStringLiteral("1\r\n2\n3") << QByteArray("1\r\n2\n3\r\n");
    }
    void writesUtf8WithCrLf() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const files::WriteResult result = files::writeTextFile(path("out.txt"), text);
        QVERIFY(result.ok);
        QVERIFY(result.reason.isEmpty());
        QCOMPARE(readAll(path("out.txt")), bytes);
        QCOMPARE(snapshot(m_dir->path()).keys(), QStringList{"out.txt"});
    }

    void relativeNameUsesWorkingFolder() {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        const files::WriteResult result = files::writeTextFile("relative.txt", "x");
        QDir::setCurrent(previous);
        QVERIFY(result.ok);
        QCOMPARE(readAll(path("relative.txt")), QByteArray("x\r\n"));
    }

    void secondWriteReplacesFirst() {
        QVERIFY(files::writeTextFile(path("twice.txt"), QString(5000, QLatin1Char('a'))).ok);
        QVERIFY(files::writeTextFile(path("twice.txt"), "kurz").ok);
        QCOMPARE(readAll(path("twice.txt")), QByteArray("kurz\r\n"));
        QCOMPARE(snapshot(m_dir->path()).keys(), QStringList{"twice.txt"});
    }

    void keepsPermissionBits_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("owner only") << 0600;
        QTest::newRow("group reads") << 0640;
        QTest::newRow("executable") << 0755;
        QTest::newRow("others read, group not") << 0604;
    }
    void keepsPermissionBits() {
        QFETCH(int, mode);
        const QString file = path("kept.txt");
        QVERIFY(writeRaw(file, "alt"));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), mode), 0);
        const mode_t oldMask = ::umask(077);
        const files::WriteResult result = files::writeTextFile(file, "neu");
        ::umask(oldMask);
        QVERIFY(result.ok);
        QCOMPARE(readAll(file), QByteArray("neu\r\n"));
        QCOMPARE(int(permissionBits(file)), mode);
    }

    void newFileFollowsUmask_data() {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("mode");
        QTest::newRow("022") << 022 << 0644;
        QTest::newRow("002") << 002 << 0664;
        QTest::newRow("077") << 077 << 0600;
    }
    void newFileFollowsUmask() {
        QFETCH(int, mask);
        QFETCH(int, mode);
        const mode_t oldMask = ::umask(mask);
        const files::WriteResult result = files::writeTextFile(path("new.txt"), "x");
        ::umask(oldMask);
        QVERIFY(result.ok);
        QCOMPARE(int(permissionBits(path("new.txt"))), mode);
    }

    void writesThroughSymbolicLink() {
        QVERIFY(writeRaw(path("real.txt"), "alt"));
        QVERIFY(QFile::link(path("real.txt"), path("link.txt")));
        QVERIFY(files::writeTextFile(path("link.txt"), "neu").ok);
        QVERIFY(QFileInfo(path("link.txt")).isSymLink());
        QCOMPARE(readAll(path("real.txt")), QByteArray("neu\r\n"));
    }

    void refusesWithReason_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder of that name")
            << "taken.txt" << QStringLiteral("Unter diesem Namen gibt es bereits einen Ordner.");
        QTest::newRow("below a plain file")
            << "plain.txt/x.txt" << QStringLiteral("Ein Teil des Pfads ist kein Ordner.");
        QTest::newRow("missing folder")
            << "missing/x.txt" << QStringLiteral("Der Ordner existiert nicht.");
        QTest::newRow("missing folder two levels")
            << "missing/deeper/x.txt" << QStringLiteral("Der Ordner existiert nicht.");
    }
    void refusesWithReason() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QVERIFY(QDir(m_dir->path()).mkdir("taken.txt"));
        QVERIFY(writeRaw(path("taken.txt/inside.txt"), "drin"));
        QVERIFY(writeRaw(path("plain.txt"), "plain"));
        const auto before = snapshot(m_dir->path());

        const files::WriteResult result = files::writeTextFile(path(name), "text");
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, reason);
        QCOMPARE(snapshot(m_dir->path()), before);
    }

    void fullDiskKeepsOldFile_data() {
        QTest::addColumn<bool>("oldFileExists");
        QTest::newRow("replacing a file") << true;
        QTest::newRow("new file") << false;
    }
    void fullDiskKeepsOldFile() {
        QFETCH(bool, oldFileExists);
        QString message;
        if (!mountTmpfs(QStringLiteral("size=16k"), &message))
            QSKIP(qPrintable(message));
        const QString file = m_mountPoint + QStringLiteral("/brief.txt");
        if (oldFileExists)
            QVERIFY(files::writeTextFile(file, "gut").ok);
        const auto before = snapshot(m_mountPoint);

        const files::WriteResult result =
            files::writeTextFile(file, QString(64 * 1024, QLatin1Char('x')));
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, fullDisk);
        QCOMPARE(snapshot(m_mountPoint), before);
        if (oldFileExists)
            QCOMPARE(readAll(file), QByteArray("gut\r\n"));
    }

    void readOnlyMediumKeepsOldFile() {
        QString message;
        if (!mountTmpfs(QStringLiteral("size=64k"), &message))
            QSKIP(qPrintable(message));
        const QString file = m_mountPoint + QStringLiteral("/brief.txt");
        QVERIFY(files::writeTextFile(file, "gut").ok);
        QVERIFY(remount(m_mountPoint, QStringLiteral("ro")));
        const auto before = snapshot(m_mountPoint);

        for (const QString& name : {file, m_mountPoint + QStringLiteral("/neu.txt")}) {
            const files::WriteResult result = files::writeTextFile(name, "neu");
            QVERIFY(!result.ok);
            QCOMPARE(result.reason, readOnlyMedium);
        }
        QCOMPARE(snapshot(m_mountPoint), before);
    }

    // Permission bits do not stop root, so these run the write in a child that has given up
    // root for the user nobody.
    void unprivilegedWriteRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("folder without write permission") << "locked/neu.txt";
        QTest::newRow("file without write permission") << "open/protected.txt";
    }
    void unprivilegedWriteRefused() {
        QFETCH(QString, name);
        const passwd* nobody = ::getpwnam("nobody");
        if (::geteuid() != 0 || nobody == nullptr)
            QSKIP("needs root and the user nobody");
        QDir dir(m_dir->path());
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ExeOwner | QFile::ExeOther));
        QVERIFY(dir.mkdir("locked") && dir.mkdir("open"));
        QCOMPARE(::chmod(QFile::encodeName(path("locked")).constData(), 0555), 0);
        QCOMPARE(::chmod(QFile::encodeName(path("open")).constData(), 0777), 0);
        QVERIFY(writeRaw(path("open/protected.txt"), "geschützt"));
        QCOMPARE(::chmod(QFile::encodeName(path("open/protected.txt")).constData(), 0444), 0);
        const auto before = snapshot(m_dir->path());

        int channel[2];
        QCOMPARE(::pipe(channel), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(channel[0]);
            if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
                ::setuid(nobody->pw_uid) != 0)
                ::_exit(2);
            const files::WriteResult result = files::writeTextFile(path(name), "neu");
            const QByteArray reason = result.reason.toUtf8();
            if (::write(channel[1], reason.constData(), reason.size()) != reason.size())
                ::_exit(3);
            ::_exit(result.ok ? 0 : 1);
        }
        ::close(channel[1]);
        QByteArray reason;
        char buffer[256];
        ssize_t n;
        while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
            reason.append(buffer, n);
        ::close(channel[0]);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2)
            QSKIP("cannot switch to the user nobody here");
        QCOMPARE(WEXITSTATUS(status), 1); // the write failed, not the setup
        QCOMPARE(QString::fromUtf8(reason), noPermission);
        QCOMPARE(snapshot(m_dir->path()), before);
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"

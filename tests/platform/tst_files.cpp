#include "platform/files.h"
#include "text/TextDecoding.h"

#include <QtTest>

#include <sys/stat.h>

#include "support.h"

namespace {

// Every entry below dir, hidden ones included, with file contents: a left-over temporary file
// or any change shows up as a difference.
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path, it.fileInfo().isDir() ? QByteArray("<folder>") : readFile(path));
    }
    return entries;
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    // UTF-8 where the bytes are valid UTF-8, else Windows-1252 with every byte kept.
    void decodesText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8") << QByteArray("Gr\xc3\xbc\xc3\x9f") << QStringLiteral("Grüß");
        QTest::newRow("windows-1252")
            << QByteArray("Gr\xfc\xdf \x80\x93\x81") << QString("Grüß €“\u0081");
        QTest::newRow("cut-off character at end") << QByteArray("ab\xc3") << QString("abÃ");
    }
    void decodesText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(textcodec::decodeText(bytes), text);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("in.txt"), bytes));
        const files::ReadResult read = files::readTextFile(dir.filePath("in.txt"));
        QVERIFY(read.ok);
        QCOMPARE(read.text, text);
    }

    void keepsPermissionBits() {
        QTemporaryDir dir;
        const QString file = dir.filePath("kept.txt");
        // Group may not read, others may: no usual umask gives a new file these bits.
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;
        QVERIFY(writeFile(file, "alt") && QFile::setPermissions(file, mode));
        const auto before = QFile::permissions(file);
        QVERIFY(files::writeTextFile(file, "neu").ok);
        QCOMPARE(QFile::permissions(file), before);
        QCOMPARE(readFile(file), QByteArray("neu\r\n"));
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
        QTest::newRow("name too long") << QString(300, u'x')
                                       << QStringLiteral("Der Name der Datei oder des Ordners "
                                                         "ist zu lang."); // German in any locale
    }
    void refusesWithReason() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken.txt") && writeFile(dir.filePath("plain.txt"), "p"));
        QVERIFY(writeFile(dir.filePath("taken.txt/inside.txt"), "drin")); // not an empty folder
        const auto before = snapshot(dir.path());
        const files::WriteResult result = files::writeTextFile(dir.filePath(name), "text");
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, reason);
        QCOMPARE(snapshot(dir.path()), before);
    }

    void fullDiskKeepsOldFile() {
        QTemporaryDir dir;
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", dir.path()}) != 0)
            QSKIP("cannot mount a small tmpfs here");
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {dir.path()}); });
        const QString file = dir.path() + "/brief.txt";
        QVERIFY(files::writeTextFile(file, "gut").ok);
        const auto before = snapshot(dir.path());
        const auto result = files::writeTextFile(file, QString(64 * 1024, QLatin1Char('x')));
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei."));
        QCOMPARE(snapshot(dir.path()), before);
        QCOMPARE(readFile(file), QByteArray("gut\r\n"));
    }

    // Only regular files are read: a pipe would block for good, a folder never ends.
    void readsOnlyRegularFiles() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("user0.txt");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(QDir(dir.path()).mkdir("readme.txt"));
        for (const char* name : {"user0.txt", "readme.txt", "fehlt.txt"}) {
            const files::ReadResult read = files::readTextFile(dir.filePath(name));
            QVERIFY(!read.ok && !read.reason.isEmpty());
            QCOMPARE(read.missing, qstrcmp(name, "fehlt.txt") == 0);
        }
    }

    // In a sticky folder anyone may write to (like /tmp), the user's own link is followed and
    // kept; one planted by another user is refused (tst_sharedfolder).
    void followsOwnLinkInSharedFolder() {
        const SharedFolder shared;
        QVERIFY(shared.made);
        QTemporaryDir home;
        const QString target = home.filePath("notizen.txt");
        QVERIFY(writeFile(target, "mine"));
        const QString link = shared.filePath("usersave.txt");
        QVERIFY(QFile::link(target, link));
        QVERIFY(files::readTextFile(link).ok);
        QVERIFY(files::writeTextFile(link, "post").ok);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(target), QByteArray("post\r\n"));
    }

    // What the program keeps for the user in its configuration folder is private whatever the
    // umask; the folder too.
    void usersOwnFilesArePrivate() {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const auto restore = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        const mode_t umask = ::umask(022);
        QVERIFY(files::makePrivateFolder(folder));
        QVERIFY(files::writeTextFile(folder + "/woerterbuch.txt", "Wort").ok);
        QVERIFY(files::writeTextFile(config.filePath("other.txt"), "x").ok);
        ::umask(umask);
        const auto mode = [](const QString& path) {
            struct stat info {};
            return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777
                                                                           : mode_t(-1);
        };
        QCOMPARE(mode(folder), mode_t(0700));
        QCOMPARE(mode(folder + "/woerterbuch.txt"), mode_t(0600));
        QCOMPARE(mode(config.filePath("other.txt")), mode_t(0644)); // elsewhere the umask decides
    }

    // XDG folder variables count only with an absolute path.
    void relativeXdgPathsAreIgnored() {
        qputenv("XDG_CONFIG_HOME", "config");
        qputenv("XDG_DATA_DIRS", "share:/usr/share:other");
        files::ignoreRelativeXdgPaths();
        QVERIFY(!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"));
        QCOMPARE(qgetenv("XDG_DATA_DIRS"), QByteArray("/usr/share"));
        qunsetenv("XDG_DATA_DIRS");
        QVERIFY(
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).startsWith('/'));
    }

    // A file far larger than any text a user wrote is not read when a limit is asked for.
    void tooLargeIsNotRead() {
        QTemporaryDir dir;
        QFile sparse(dir.filePath("user0.txt"));
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(files::kMaxUserText + 1));
        sparse.close();
        const files::ReadResult read = files::readTextFile(sparse.fileName(), files::kMaxUserText);
        QVERIFY(!read.ok && read.tooLarge && read.text.isEmpty());
        QVERIFY(read.reason.contains(QStringLiteral("zu groß")));
    }

    // A start removes the temporary files of writes whose process was killed, and nothing else:
    // not those of a running process, not other files.
    void removesLeftovers() {
        QTemporaryDir dir;
        QProcess gone;
        gone.start("true");
        QVERIFY(gone.waitForFinished());
        const QString deadPid = QString::number(gone.processId() ? gone.processId() : 999999);
        const QString mine = QString::number(QCoreApplication::applicationPid());
        const QStringList kept = {".beitragsbox-" + mine + "-ab.tmp", ".beitragsbox-x-ab.tmp",
                                  "beitragsbox-1-ab.tmp", "notizen.tmp"};
        const QString leftover = ".beitragsbox-" + deadPid + "-1f.tmp";
        for (const QString& name : kept + QStringList{leftover})
            QVERIFY(writeFile(dir.filePath(name), "x"));
        QCOMPARE(files::removeLeftovers(dir.path()), 1);
        QDir listing(dir.path());
        QStringList left = listing.entryList(QDir::Files | QDir::Hidden);
        left.sort();
        QStringList expected = kept;
        expected.sort();
        QCOMPARE(left, expected);
    }

    // Names without a folder belong to the folder the program started in: once that is removed
    // nothing is written anywhere else, and the reason says so. Last: it holds the folder.
    void removedWorkingFolder() {
        const QString start = QDir::currentPath();
        QTemporaryDir elsewhere;
        QTemporaryDir working;
        QVERIFY(QDir::setCurrent(working.path()));
        files::holdWorkingFolder();
        QVERIFY(files::writeTextFile("autosave.txt", "eins").ok);
        QCOMPARE(readFile(working.filePath("autosave.txt")), QByteArray("eins\r\n"));
        QVERIFY(QDir::setCurrent(elsewhere.path())); // the process's folder moves on: no matter
        QVERIFY(files::writeTextFile("autosave.txt", "zwei").ok);
        QCOMPARE(readFile(working.filePath("autosave.txt")), QByteArray("zwei\r\n"));
        QVERIFY(working.remove());
        const files::WriteResult result = files::writeTextFile("autosave.txt", "drei");
        QVERIFY(!result.ok);
        QCOMPARE(
            result.reason,
            QStringLiteral("Der Arbeitsordner \"%1\" existiert nicht mehr.").arg(working.path()));
        QVERIFY(!QFile::exists(elsewhere.filePath("autosave.txt")));
        QVERIFY(!QFile::exists("/autosave.txt"));
        QDir::setCurrent(start);
    }
};

BEITRAGSBOX_TEST_MAIN(TestFiles)
#include "tst_files.moc"

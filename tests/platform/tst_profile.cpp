#include "platform/profile.h"

#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Changes with every atomic replacement, so it tells whether a file was written at all.
ino_t inode(const QString& path) {
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void readRow(const char* name, const QByteArray& file, const QString& section, const QString& key,
             const QString& expected) {
    QTest::newRow(name) << file << section << key << expected;
}

void setRow(const char* name, const QByteArray& initial, const QString& section, const QString& key,
            const QString& value, int result, const QByteArray& expected) {
    QTest::newRow(name) << initial << false << section << key << value << result << expected;
}

void deleteRow(const char* name, const QByteArray& initial, const QString& section,
               const QString& key, const QByteArray& expected) {
    QTest::newRow(name) << initial << true << section << key << QString() << 1 << expected;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void reads_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray quoted =
            "[s]\nd=\"a\"\ns='a'\nm=\"a'\nt=\"\"\"x\"\"\"\nb= \" a \" \no=\"\n";
        const QByteArray dups = "[s]\na=1\nA=2\n[S]\na=3\nb=4\n";
        const QByteArray nonKeys = "k=0\n[s]\n[t\nx\n[y=1\n#x=2\n ;c=3\n\tv\t=\t v w \t\n";
        const QByteArray long255 = "[s]\nk=" + QByteArray(255, 'a') + "\n";
        const QByteArray pairAtCut = "[s]\nk=" + QByteArray(253, 'a') + "\xF0\x9F\x98\x80\n";
        readRow("names ignore case", "[General]\r\nName=x\r\n", "GENERAL", "nAME", "x");
        readRow("UTF-8 names ignore case", "[\xC3\x84RGER]\nk=1", "ärger", "K", "1");
        readRow("blanks in header", " \t[ GENERAL\t]  \nk=1", "general", "k", "1");
        readRow("blanks around key and value", nonKeys, "s", "v", "v w");
        readRow("double quotes", quoted, "s", "d", "a");
        readRow("single quotes", quoted, "s", "s", "a");
        readRow("unlike quotes kept", quoted, "s", "m", "\"a'");
        readRow("one pair removed", quoted, "s", "t", "\"\"x\"\"");
        readRow("blanks inside quotes kept", quoted, "s", "b", " a ");
        readRow("lone quote kept", quoted, "s", "o", "\"");
        readRow("value with =", "[s]\nk = a=b", "s", "k", "a=b");
        readRow("; comment", nonKeys, "s", ";c", "");
        readRow("# is a key", nonKeys, "s", "#x", "2");
        readRow("[ without ] is no key", nonKeys, "s", "[y", "");
        readRow("[ without ] is no header", nonKeys, "t", "#x", "");
        readRow("key before any section", nonKeys, "s", "k", "");
        readRow("key before any section, empty name", nonKeys, "", "k", "");
        readRow("first key wins", dups, "s", "a", "1");
        readRow("first section wins", dups, "S", "b", "");
        readRow("header ends at first ]", "[a]b]\nk=1", "a", "k", "1");
        readRow("CR only", "[s]\ra=1\rb=2\r", "s", "b", "2");
        readRow("LF only", "[s]\na=1\nb=2\n", "s", "b", "2");
        readRow("mixed line ends", "[s]\r\na=1\rb=2\n\r\nc=3", "s", "c", "3");
        readRow("missing section", dups, "x", "a", "");
        readRow("missing key", dups, "s", "x", "");
        readRow("255 characters", long255, "s", "k", QString(254, u'a'));
        readRow("pair not cut", pairAtCut, "s", "k", QString(253, u'a'));
        readRow("Windows-1252", "[s]\nk=\xE4\xF6\xFC\xDF\x80\n", "s", "k", "äöüß€");
        readRow("UTF-8 BOM", "\xEF\xBB\xBF[s]\r\nk=\xC3\xA4\r\n", "s", "k", "ä");
        readRow("incomplete UTF-8 at end", "[s]\nk=a\xC3", "s", "k", "aÃ");
        readRow("NUL and invalid UTF-8", QByteArrayLiteral("[s]\nn=\0\xC3\nk\0=1\nj=2\n"), "s", "j",
                "2");
    }
    void reads() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(writeRaw(dir.filePath("p.ini"), file));
        QCOMPARE(profile::getString(section, key, dir.filePath("p.ini")), expected);
    }

    void writes_data() {
        QTest::addColumn<QByteArray>("initial");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray odd = " ;c \r\n[S]\rKey = old \n other = x\t\r\n[t]\r\nkey=1";
        const QByteArray cp1252 = "[s]\r\nname=M\xFCller\x81\r\nx=1\r\n";
        setRow("replace", odd, "s", "KEY", "new", 1,
               " ;c \r\n[S]\rKey=new\n other = x\t\r\n[t]\r\nkey=1");
        setRow("replace last line", odd, "T", "key", "2", 1,
               QByteArray(odd).replace("key=1", "key=2"));
        setRow("replace in first section", "[s]\nk=1\n[s]\nk=2\n", "s", "k", "3", 1,
               "[s]\nk=3\n[s]\nk=2\n");
        setRow("names trimmed", "[s]\nn=1\n", " S\t", " N ", "v", 1, "[s]\nn=v\n");
        // Lines without "=", comments and "[" lines without "]" are not key lines.
        setRow("add after last key", "[s]\nk=1\nplain\n[u\nm=2\n;c=1\n\n[t]\nx=1\n", "s", "n", "2",
               1, "[s]\nk=1\nplain\n[u\nm=2\nn=2\r\n;c=1\n\n[t]\nx=1\n");
        setRow("add to section without keys", "[s]\r\n;c\r[t]\r", "s", "n", "2", 1,
               "[s]\r\nn=2\r\n;c\r[t]\r");
        setRow("add after key without line end", "[s]\nk=1", "s", "n", "2", 1,
               "[s]\nk=1\r\nn=2\r\n");
        setRow("add section to empty file", "", "s", "n", "2", 1, "[s]\r\nn=2\r\n");
        setRow("add section after missing line end", "[a]\nx=1", "s", "n", "2", 1,
               "[a]\nx=1\r\n[s]\r\nn=2\r\n");
        setRow("add section after CR", "n=1\r", "s", "n", "2", 1, "n=1\r[s]\r\nn=2\r\n");
        deleteRow("delete", "[s]\r\na=1\rb=2\nc=3\r\n", "S", "B", "[s]\r\na=1\rc=3\r\n");
        deleteRow("delete only key", "[s]\nk=1\n[t]\n", "s", "k", "[s]\n[t]\n");
        deleteRow("delete missing key", odd, "s", "x", odd);
        setRow("CR in section", odd, "s\r", "key", "v", 0, odd);
        setRow("LF in key", odd, "s", "key\n", "v", 0, odd);
        setRow("CR LF in value", odd, "s", "key", "a\r\nb", 0, odd);
        setRow("Windows-1252 stays", cp1252, "s", "x", "ä€", 1,
               QByteArray(cp1252).replace("x=1", "x=\xE4\x80"));
        setRow("Windows-1252 to UTF-8", cp1252, "s", "x", "→", 1,
               "[s]\r\nname=M\xC3\xBCller\xC2\x81\r\nx=\xE2\x86\x92\r\n");
        setRow("ASCII becomes UTF-8", "[s]\nx=1\n", "s", "x", "ä", 1, "[s]\nx=\xC3\xA4\n");
        setRow("BOM kept", "\xEF\xBB\xBF[s]\nx=1\n", "s", "x", "ä", 1,
               "\xEF\xBB\xBF[s]\nx=\xC3\xA4\n");
        setRow("second BOM kept", "\xEF\xBB\xBF\xEF\xBB\xBF;\n[s]\nx=1", "s", "x", "2", 1,
               "\xEF\xBB\xBF\xEF\xBB\xBF;\n[s]\nx=2");
        setRow("incomplete UTF-8 at end kept", "[s]\nx=1\nk=\xC3", "s", "x", "2", 1,
               "[s]\nx=2\nk=\xC3");
        setRow("NUL and invalid UTF-8 kept", QByteArrayLiteral("[s]\nn=\0\xC3\nx=1\n"), "s", "x",
               "2", 1, QByteArrayLiteral("[s]\nn=\0\xC3\nx=2\n"));
    }
    void writes() {
        QFETCH(QByteArray, initial);
        QFETCH(bool, remove);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, result);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath("p.ini");
        QVERIFY(writeRaw(file, initial));
        const ino_t before = inode(file);
        QCOMPARE(remove ? profile::deleteKey(section, key, file)
                        : profile::writeString(section, key, value, file),
                 result);
        QCOMPARE(readAll(file), expected);
        if (expected == initial)
            QCOMPARE(inode(file), before); // not written at all
        QCOMPARE(entries(dir.path()), QStringList{"p.ini"});
    }

    void missingFileAndFolder() {
        QTemporaryDir dir;
        const QString file = dir.filePath("new.ini");
        QCOMPARE(profile::getString("s", "k", file), QString());
        QCOMPARE(profile::deleteKey("s", "k", file), 1);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(profile::writeString("s", "k", "v", dir.filePath("sub/new.ini")), 0);
        QCOMPARE(entries(dir.path()), QStringList());
        QCOMPARE(profile::writeString("s", "k", "v", file), 1);
        QCOMPARE(readAll(file), QByteArray("[s]\r\nk=v\r\n"));
        QCOMPARE(entries(dir.path()), QStringList{"new.ini"});
    }

    void bigFiles_data() {
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("perSection");
        QTest::addColumn<int>("padding");
        QTest::newRow("100000 keys in one section") << 100000 << 100000 << 0;
        QTest::newRow("10 MB in sections") << 180000 << 1000 << 40;
    }
    void bigFiles() {
        QFETCH(int, keys);
        QFETCH(int, perSection);
        QFETCH(int, padding);
        const QByteArray pad(padding, 'x');
        QByteArray bytes;
        for (int i = 0; i < keys; ++i) {
            if (i % perSection == 0)
                bytes += "[sec" + QByteArray::number(i / perSection) + "]\r\n";
            bytes += "k" + QByteArray::number(i) + " = " + pad + QByteArray::number(i) + "\r\n";
        }
        QTemporaryDir dir;
        const QString file = dir.filePath("big.ini");
        QVERIFY(writeRaw(file, bytes));
        const auto section = [&](int i) { return "sec" + QString::number(i / perSection); };
        const int mid = keys / 2;

        QElapsedTimer timer;
        timer.start();
        for (const int i : {0, mid, keys - 1})
            QCOMPARE(profile::getString(section(i), "K" + QString::number(i), file),
                     pad + QString::number(i));
        QCOMPARE(profile::getString(section(keys - 1), "k-missing", file), QString());
        QCOMPARE(profile::writeString(section(mid), "k" + QString::number(mid), "neu", file), 1);
        const qint64 elapsed = timer.elapsed();
        qInfo("%s bytes: 4 reads and 1 write in %lld ms", qPrintable(QString::number(bytes.size())),
              elapsed);
        QVERIFY2(elapsed < 10000, "far too slow for a linear pass");

        const QByteArray old = "\nk" + QByteArray::number(mid) + " = ";
        const qsizetype at = bytes.indexOf(old) + 1;
        bytes.replace(at, bytes.indexOf('\r', at) - at, "k" + QByteArray::number(mid) + "=neu");
        QCOMPARE(readAll(file), bytes);
        QCOMPARE(entries(dir.path()), QStringList{"big.ini"});
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"

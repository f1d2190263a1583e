#include "platform/profile.h"

#include <QtTest>

#include "support.h"

namespace {

QStringList entries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void readRow(const char* name, const QByteArray& file, const QString& section, const QString& key,
             const QString& expected) {
    QTest::newRow(name) << file << section << key << expected;
}

void writeRow(const char* name, const QByteArray& initial, const QString& section,
              const QString& key, const QString& value, int result, const QByteArray& expected) {
    QTest::newRow(name) << initial << section << key << value << result << expected;
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
        const QByteArray quoted = "[s]\nt=\"\"\"x\"\"\"\ns= ' a ' \nm=\"a'\n";
        const QByteArray dups = "[s]\na=1\nA=2\n;c=3\n#x=4\n[S]\nb=5\n";
        readRow("names ignore case", "[General]\r\nName=x\r\n", "GENERAL", "nAME", "x");
        readRow("blanks", " \t[ s\t]  \n\tv\t=\t v w \t\n", "s", " v ", "v w");
        readRow("one pair of quotes removed", quoted, "s", "t", "\"\"x\"\"");
        readRow("blanks inside single quotes kept", quoted, "s", "s", " a ");
        readRow("unlike quotes kept", quoted, "s", "m", "\"a'");
        readRow("; starts a comment", dups, "s", ";c", "");
        readRow("# does not", dups, "s", "#x", "4");
        readRow("first key wins", dups, "s", "a", "1");
        readRow("first section wins", dups, "s", "b", "");
        readRow("header ends at first ]", "[a]b]\nk=1", "a", "k", "1");
        readRow("CR only", "[s]\ra=1\rb=2\r", "s", "b", "2");
        readRow("LF only", "[s]\na=1\nb=2", "s", "b", "2");
        readRow("255 give 254", "[s]\nk=" + QByteArray(255, 'a'), "s", "k", QString(254, u'a'));
        readRow("Windows-1252", "[s]\nk=\xE4\xF6\xFC\xDF\x80\n", "s", "k", "äöüß€");
        readRow("NUL, bad UTF-8", QByteArrayLiteral("[s]\nn=\0\xC3\nk\0=1\nj=2\n"), "s", "j", "2");
    }
    void reads() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("p.ini"), file));
        QCOMPARE(profile::getString(section, key, dir.filePath("p.ini")), expected);
    }

    // A null value deletes the key.
    void writes_data() {
        QTest::addColumn<QByteArray>("initial");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray odd = " ;c \r\n[S]\rKey = old \n other = x\t\r\n[t]\r\nkey=1";
        const QByteArray cp1252 = "[s]\r\nname=M\xFCller\r\nx=1\r\n";
        writeRow("replace keeps the rest", odd, "s", "KEY", "new", 1,
                 " ;c \r\n[S]\rKey=new\n other = x\t\r\n[t]\r\nkey=1");
        // Lines without "=", comments and "[" lines without "]" are no key lines.
        writeRow("add after last key line", "[s]\nk=1\nplain\n[u\nm=2\n;c=1\n\n[t]\nx=1\n", "s",
                 "n", "2", 1, "[s]\nk=1\nplain\n[u\nm=2\nn=2\r\n;c=1\n\n[t]\nx=1\n");
        writeRow("add after unended line", "[s]\nk=1", "s", "n", "2", 1, "[s]\nk=1\r\nn=2\r\n");
        writeRow("add section at end", "[a]\nx=1\n", "s", "n", "2", 1, "[a]\nx=1\n[s]\r\nn=2\r\n");
        writeRow("delete", "[s]\r\na=1\rb=2\nc=3\r\n", "S", "B", {}, 1, "[s]\r\na=1\rc=3\r\n");
        writeRow("delete missing key", odd, "s", "x", {}, 1, odd);
        writeRow("CR LF in value", odd, "s", "key", "a\r\nb", 0, odd);
        writeRow("Windows-1252 stays", cp1252, "s", "x", "ä€", 1,
                 QByteArray(cp1252).replace("x=1", "x=\xE4\x80"));
    }
    void writes() {
        QFETCH(QByteArray, initial);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, result);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath("p.ini");
        QVERIFY(writeFile(file, initial));
        QCOMPARE(value.isNull() ? profile::deleteKey(section, key, file)
                                : profile::writeString(section, key, value, file),
                 result);
        QCOMPARE(readFile(file), expected);
        QCOMPARE(entries(dir), QStringList{"p.ini"});
    }

    void missingFileAndFolder() {
        QTemporaryDir dir;
        const QString file = dir.filePath("new.ini");
        QCOMPARE(profile::getString("s", "k", file), QString());
        QCOMPARE(profile::deleteKey("s", "k", file), 1);
        QCOMPARE(profile::writeString("s", "k", "v", dir.filePath("sub/new.ini")), 0);
        QCOMPARE(entries(dir), QStringList());
        QCOMPARE(profile::writeString("s", "k", "v", file), 1);
        QCOMPARE(readFile(file), QByteArray("[s]\r\nk=v\r\n"));
    }
};

BEITRAGSBOX_TEST_MAIN(TestProfile)
#include "tst_profile.moc"

// The spell checker with the real German dictionary: the installed dictionaries, words checked
// on the worker, suggestions and the user's own word list.
#include "spelling/NuspellEngine.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include "support.h"

namespace {

// One character a word: ? pending, + right, - wrong.
QString states(NuspellEngine& checker, const QStringList& words) {
    QString result;
    for (const QString& word : words) {
        const NuspellEngine::State state = checker.state(word);
        result += state == NuspellEngine::State::Pending ? u'?'
                  : state == NuspellEngine::State::Right ? u'+'
                                                         : u'-';
    }
    return result;
}

bool loaded(NuspellEngine& checker, const QString& language = QStringLiteral("de_DE")) {
    QSignalSpy ready(&checker, &NuspellEngine::ready);
    checker.load(language);
    return ready.wait(10000) && ready.first().first().toBool();
}

// The answer to one request, with time enough for a loaded machine.
QStringList suggestionsFor(NuspellEngine& checker, const QString& word, int max = 7) {
    QSignalSpy found(&checker, &NuspellEngine::suggestionsFound);
    const quint64 request = checker.requestSuggestions(word, max, 10000);
    if ((found.isEmpty() && !found.wait(11000)) || found.first().first().toULongLong() != request)
        return {QStringLiteral("<no answer>")};
    return found.first().at(1).toStringList();
}

files::WriteResult added(NuspellEngine& checker, const QString& word) {
    QSignalSpy written(&checker, &NuspellEngine::personalListWritten);
    checker.addToPersonalList(word);
    if ((written.isEmpty() && !written.wait(5000)) || written.first().first().toString() != word)
        return {false, QStringLiteral("no answer")};
    return written.first().at(1).value<files::WriteResult>();
}

} // namespace

class TestSpelling : public QObject {
    Q_OBJECT
    QTemporaryDir m_config;
    QString m_listPath;

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        m_listPath = spelling::personalListPath();
        QVERIFY2(m_listPath.startsWith(m_config.path()), qPrintable(m_listPath));
    }
    void init() { QDir(QFileInfo(m_listPath).absolutePath()).removeRecursively(); }

    // The German ones first, each language once, only those with both files.
    void dictionaries() {
        QStringList names;
        for (const spelling::Dictionary& dictionary : spelling::installedDictionaries()) {
            names << dictionary.language;
            QVERIFY(QFileInfo(dictionary.affPath).isFile());
            QVERIFY(QFileInfo(dictionary.affPath.chopped(4) + ".dic").isFile());
        }
        QCOMPARE(names.mid(0, 3), (QStringList{"de_DE", "de_AT", "de_CH"}));
        QCOMPARE(names.removeDuplicates(), 0);
        const QStringList german = names.filter(QRegularExpression(QStringLiteral("^de_")));
        QCOMPARE(names.mid(0, german.size()), german);
        QVERIFY(std::is_sorted(german.begin() + 3, german.end()));
    }

    // Words asked while the dictionary loads get their state after ready().
    void wordsAskedDuringLoad() {
        {
            NuspellEngine discarded; // destroyed during its load: the load is waited for
            discarded.load(QStringLiteral("de_DE"));
        }
        NuspellEngine checker;
        QSignalSpy ready(&checker, &NuspellEngine::ready);
        QSignalSpy checked(&checker, &NuspellEngine::checked);
        const QStringList words{"Fehlr", "Fehler", "Straße", "Grüße", "Nachrcht"};
        checker.load(QStringLiteral("de_DE"));
        QCOMPARE(states(checker, words), QStringLiteral("?????"));
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(ready.first().first().toBool(), true);
        QVERIFY(checker.isReady());
        QCOMPARE(checker.language(), QStringLiteral("de_DE"));
        QTRY_VERIFY(!checked.isEmpty());
        QCOMPARE(states(checker, words), QStringLiteral("-+++-"));
    }

    void suggestions_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("first");
        QTest::newRow("Fehlr") << "Fehlr"
                               << "Fehler" << false;
        QTest::newRow("Nachrcht") << "Nachrcht"
                                  << "Nachricht" << true;
    }
    void suggestions() {
        QFETCH(QString, word);
        QFETCH(QString, expected);
        QFETCH(bool, first);
        NuspellEngine checker;
        QCOMPARE(suggestionsFor(checker, word), QStringList()); // no dictionary yet
        QVERIFY(loaded(checker));
        QStringList found = suggestionsFor(checker, word);
        QVERIFY2(found.contains(expected), qPrintable(found.join(u' ')));
        QVERIFY(!first || found.first() == expected);
        QCOMPARE(suggestionsFor(checker, word, 2), found.mid(0, 2));
        QCOMPARE(found.removeDuplicates(), 0);
    }

    // A broken dictionary found first gives way to the next one of the language: the system's.
    void brokenDictionaryGivesWay_data() {
        QTest::addColumn<QByteArray>("aff");
        QTest::addColumn<QByteArray>("dic");
        QByteArray noise(4000, 0);
        for (qsizetype i = 0; i < noise.size(); ++i)
            noise[i] = char(i * 7919 % 251);
        QTest::newRow("random bytes") << noise << noise.mid(1000);
        QTest::newRow("empty .dic") << QByteArray("SET UTF-8\n") << QByteArray();
        QTest::newRow("2^31 entries")
            << QByteArray("SET UTF-8\n") << QByteArray("2147483648\nHaus\n");
        QTest::newRow("flag above 65535")
            << QByteArray("SET UTF-8\nFLAG num\n") << QByteArray("1\nHaus/70000\n");
    }
    void brokenDictionaryGivesWay() {
        QFETCH(QByteArray, aff);
        QFETCH(QByteArray, dic);
        QTemporaryDir folder;
        QVERIFY(writeFile(folder.filePath("de_DE.aff"), aff));
        QVERIFY(writeFile(folder.filePath("de_DE.dic"), dic));
        qputenv("DICPATH", QFile::encodeName(folder.path()));
        const QString first = spelling::installedDictionaries().value(0).affPath;
        NuspellEngine checker;
        const bool ok = loaded(checker);
        qunsetenv("DICPATH");
        QCOMPARE(first, folder.filePath("de_DE.aff"));
        QVERIFY(ok);
        QVERIFY2(!checker.dictionaryFile().startsWith(folder.path()) &&
                     QFileInfo(checker.dictionaryFile()).isFile(),
                 qPrintable(checker.dictionaryFile()));
        QTRY_COMPARE(states(checker, {"Fehlr", "Straße"}), QStringLiteral("-+"));
    }

    // A failed load leaves every word pending; a later load replaces an earlier one still queued.
    void unknownLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("unknown") << "xx_XX";
        QTest::newRow("empty") << "";
    }
    void unknownLanguage() {
        QFETCH(QString, language);
        NuspellEngine checker;
        QSignalSpy ready(&checker, &NuspellEngine::ready);
        checker.load(language);
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(ready.first().first().toBool(), false);
        QVERIFY(!checker.isReady());
        QCOMPARE(states(checker, {"Fehler"}), QStringLiteral("?"));
        checker.load(language);
        QTest::qSleep(100); // the worker answers before the event loop delivers the answer
        checker.load(QStringLiteral("de_DE"));
        QTRY_COMPARE(ready.count(), 2);
        QCOMPARE(ready.last().first().toBool(), true);
        QTRY_COMPARE(states(checker, {"Fehler"}), QStringLiteral("+"));
    }

    // Lines written by hand stay; a word added is right at once, written once, read back later.
    void personalList() {
        QVERIFY(QDir().mkpath(QFileInfo(m_listPath).absolutePath()));
        QVERIFY(writeFile(m_listPath, "Quabbelwurz\r\n\r\nSchnurzelbart"));
        const QStringList words{"Quabbelwurz", "Schnurzelbart", "Blubberkiste"};
        {
            NuspellEngine checker;
            QSignalSpy checked(&checker, &NuspellEngine::checked);
            QVERIFY(loaded(checker));
            QTRY_COMPARE(states(checker, words), QStringLiteral("++-"));
            for (int twice = 0; twice < 2; ++twice) {
                checked.clear();
                const files::WriteResult result = added(checker, "Blubberkiste");
                QVERIFY2(result.ok, qPrintable(result.reason));
                QCOMPARE(states(checker, words), QStringLiteral("+++"));
                QVERIFY(!checked.isEmpty());
            }
        }
        QCOMPARE(readFile(m_listPath), "Quabbelwurz\r\n\r\nSchnurzelbart\r\nBlubberkiste\r\n");
        NuspellEngine later;
        QVERIFY(loaded(later));
        QTRY_COMPARE(states(later, words), QStringLiteral("+++"));
    }

    // A folder named like the list: nothing to read, the write fails with the file named.
    void personalListNotWritable() {
        QVERIFY(QDir().mkpath(m_listPath));
        NuspellEngine checker;
        QVERIFY(loaded(checker));
        QTRY_COMPARE(states(checker, {"Quabbelwurz"}), QStringLiteral("-"));
        const files::WriteResult result = added(checker, "Quabbelwurz");
        QVERIFY(!result.ok);
        QVERIFY2(result.reason.contains(m_listPath) && result.reason.contains("Ordner"),
                 qPrintable(result.reason));
        QCOMPARE(states(checker, {"Quabbelwurz"}), QStringLiteral("+"));
        QVERIFY(QFileInfo(m_listPath).isDir());
    }
};

BEITRAGSBOX_TEST_MAIN(TestSpelling)
#include "tst_spelling.moc"

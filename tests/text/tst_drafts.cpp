// Drafts: their names, what the list shows of them, and which ones the folder gives up.
#include "text/Drafts.h"

#include <QtTest>

#include "support.h"

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(12, 0));

// "age[/MB][/r] ..." in days, one draft each, named d0, d1, ... in that order; "25x3" stands for
// 25 drafts aged 3 days. r: its program still runs.
QList<drafts::Draft> draftsFrom(const QString& layout) {
    QList<drafts::Draft> list;
    for (const QString& item : layout.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList times = item.split(u'x');
        const int count = times.size() == 2 ? times[0].toInt() : 1;
        const QStringList parts = times.last().split(u'/');
        for (int i = 0; i < count; ++i) {
            drafts::Draft draft;
            draft.name = QStringLiteral("d%1").arg(list.size());
            // A minute apart, so that the order is the order written.
            draft.written = kNow.addDays(-parts[0].toInt()).addSecs(-60 * list.size());
            draft.size = parts.size() > 1 && parts[1] != u'r' ? parts[1].toLongLong() << 20 : 1000;
            draft.running = parts.last() == u'r';
            list << draft;
        }
    }
    return list;
}

} // namespace

class TestDrafts : public QObject {
    Q_OBJECT
private slots:
    void retention_data() {
        QTest::addColumn<QString>("drafts");
        QTest::addColumn<QString>("removed");
        QTest::newRow("young drafts stay") << "25x29"
                                           << "";
        QTest::newRow("old ones beyond the newest 20 go") << "25x31"
                                                          << "d20 d21 d22 d23 d24";
        QTest::newRow("the newest 20 stay however old") << "20x400"
                                                        << "";
        QTest::newRow("young ones count among the 20") << "19x1 3x40"
                                                       << "d20 d21";
        QTest::newRow("a running program's draft stays") << "20x1 40/r 40"
                                                         << "d21";
        QTest::newRow("above 200 MB the oldest go first") << "1/90 2/90 3/90"
                                                          << "d2";
        QTest::newRow("200 MB exactly stay") << "1/100 2/100"
                                             << "";
        QTest::newRow("the cap passes over running ones") << "1/150 2/150/r 3/150"
                                                          << "d2 d0";
        QTest::newRow("the cap after the age rule") << "20x1/9 2x50/90"
                                                    << "d20 d21";
        QTest::newRow("nothing") << ""
                                 << "";
    }
    void retention() {
        QFETCH(QString, drafts);
        QFETCH(QString, removed);
        QStringList got = drafts::toRemove(draftsFrom(drafts), kNow);
        QCOMPARE(got.join(u' '), removed);
    }

    void names() {
        const QDateTime start(QDate(2026, 3, 9), QTime(7, 5, 3));
        const QString name = drafts::fileName(start, 4711);
        QCOMPARE(name, QStringLiteral("2026-03-09_07-05-03_4711.txt"));
        const drafts::NameParts parts = drafts::parseName(name);
        QVERIFY(parts.ok);
        QCOMPARE(parts.start, start);
        QCOMPARE(parts.pid, 4711);
        // Only the program's own names: another file in the folder is never a draft.
        for (const char* other :
             {"notiz.txt", "2026-03-09_07-05-03_0.txt", "2026-13-09_07-05-03_1.txt",
              ".beitragsbox-1-ab.tmp", "2026-03-09_07-05-03_99999999999.txt",
              "2026-03-09_07-05-03_12.txt~"})
            QVERIFY2(!drafts::parseName(QString::fromLatin1(other)).ok, other);
    }

    void heads_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("characters");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("break counts once, closing break not")
            << QByteArray("ab\r\ncd\r\n") << qint64(5) << "ab";
        QTest::newRow("umlauts and emoji one each")
            << QByteArray("Grüße 😀\r\n") << qint64(7) << "Grüße 😀";
        QTest::newRow("blank lines before the first")
            << QByteArray("\r\n  \r\n  [B]Hallo[/B]   Welt \r\n") << qint64(26)
            << "[B]Hallo[/B] Welt";
        QTest::newRow("long line cut")
            << QByteArray(100, 'x') << qint64(100) << QString(80, u'x') + QChar(0x2026);
    }
    void heads() {
        QFETCH(QByteArray, file);
        QFETCH(qint64, characters);
        QFETCH(QString, firstLine);
        QCOMPARE(drafts::characterCount(file), characters);
        QCOMPARE(drafts::firstLine(QString::fromUtf8(file)), firstLine);
    }

    void row() {
        const QDateTime written(QDate(2026, 12, 7), QTime(14, 3));
        QCOMPARE(drafts::rowHeading(written, 1234),
                 QStringLiteral("Mo. 07.12.2026 14:03 · 1.234 Zeichen"));
        QCOMPARE(drafts::rowHeading(written, -1), QStringLiteral("Mo. 07.12.2026 14:03"));
    }
};

BEITRAGSBOX_TEST_MAIN(TestDrafts)
#include "tst_drafts.moc"

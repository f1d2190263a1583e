#pragma once
#include "text/TagBalance.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>

class QTimer;
class TextField;

// The tag balance of the edit field's text: checked over the whole text on a worker thread once
// the user pauses, its marks (and the quotes found on the way) moved along with the edits in
// between.
class TagMarks : public QObject {
    Q_OBJECT
public:
    explicit TagMarks(TextField* field, QObject* parent = nullptr);
    ~TagMarks() override;

    // The text is checked while the marks or the quotes are wanted; the quotes are kept only
    // while they are. Turning either on checks at once.
    void setMarksWanted(bool on);
    void setQuotesWanted(bool on);

    // The first tagbalance::kMaxMarks of the text, sorted and apart.
    const QList<tagbalance::Mark>& marks() const { return m_marks; }
    // The first mark that ends at or after `position`.
    QList<tagbalance::Mark>::const_iterator firstReaching(qsizetype position) const;
    // The message of the mark at `position`; empty where there is none.
    QString messageAt(qsizetype position) const;
    bool inQuote(qsizetype position) const;
    // True while no check is waiting or running.
    bool settled() const;

signals:
    // The quotes found moved: the words left out of spelling changed.
    void quotesMoved();

private:
    struct Edit {
        qsizetype position = 0;
        qsizetype removed = 0;
        qsizetype added = 0;
    };
    static void moveAlong(QList<tagbalance::Mark>& marks, QList<tagbalance::Range>& quotes,
                          const Edit& edit);
    bool wanted() const { return m_marksWanted || m_quotesWanted; }
    void contentsChange(int position, int removed, int added);
    void followText(const Edit& edit);
    QString textAt(qsizetype position, qsizetype length) const;
    void start();
    void done();

    TextField* m_field;
    bool m_marksWanted = true;
    bool m_quotesWanted = false;
    QList<tagbalance::Mark> m_marks;
    bool m_moreMarks = false; // the text has more tags out of balance than m_marks
    QList<tagbalance::Range> m_quotes;
    QTimer* m_pause;
    QFutureWatcher<tagbalance::Result> m_running;
    // The text as the check reads it, kept in step with the edits while it is `followed`: a
    // check starts with a copy of it, not with a copy of the whole text.
    tagbalance::PiecedText m_text;
    bool m_textFollowed = false;
    bool m_checkPending = false;
    QList<Edit> m_editsSince; // since the running check started
};

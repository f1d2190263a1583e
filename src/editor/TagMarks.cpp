#include "editor/TagMarks.h"

#include "editor/TextField.h"
#include "editor/ViewLines.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// After this pause in typing the tags of the whole text are checked again.
constexpr int kTagPauseMs = 400;
// An insertion of more than a quarter of the text (a new text, F9, whose changes come as one
// from the first to the last) is not read into the check's copy of the text: the next check
// reads the whole text once instead, and a second large edit before it costs nothing.
constexpr qsizetype kFollowShare = 4;
constexpr qsizetype kReadSlice = 1 << 20;

} // namespace

TagMarks::TagMarks(TextField* field, QObject* parent)
    : QObject(parent), m_field(field), m_pause(new QTimer(this)) {
    m_pause->setSingleShot(true);
    m_pause->setInterval(kTagPauseMs);
    connect(m_pause, &QTimer::timeout, this, &TagMarks::start);
    connect(&m_running, &QFutureWatcher<tagbalance::Result>::finished, this, &TagMarks::done);
    connect(field->document(), &QTextDocument::contentsChange, this, &TagMarks::contentsChange);
}

TagMarks::~TagMarks() {
    // The running check finishes in the pool; its result is dropped with the watcher.
    m_running.disconnect(this);
}

void TagMarks::setMarksWanted(bool on) {
    m_marksWanted = on;
    if (on)
        start();
}

void TagMarks::setQuotesWanted(bool on) {
    m_quotesWanted = on;
    // Leaving quotes out needs to know where they are.
    if (on && m_quotes.isEmpty())
        start();
}

bool TagMarks::settled() const {
    return !m_pause->isActive() && !m_checkPending;
}

bool TagMarks::inQuote(qsizetype position) const {
    const auto after =
        std::upper_bound(m_quotes.cbegin(), m_quotes.cend(), position,
                         [](qsizetype p, const tagbalance::Range& r) { return p < r.start; });
    return after != m_quotes.cbegin() && position < std::prev(after)->end;
}

QList<tagbalance::Mark>::const_iterator TagMarks::firstReaching(qsizetype position) const {
    return std::lower_bound(
        m_marks.cbegin(), m_marks.cend(), position,
        [](const tagbalance::Mark& m, qsizetype p) { return m.start + m.length < p; });
}

QString TagMarks::messageAt(qsizetype position) const {
    const auto mark = firstReaching(position);
    if (mark == m_marks.cend() || mark->start > position)
        return QString();
    QString tip = tagbalance::message(*mark);
    if (m_moreMarks && mark == std::prev(m_marks.cend()))
        tip += QStringLiteral("\n… und weitere Tags außer Gleichgewicht");
    return tip;
}

void TagMarks::contentsChange(int position, int removed, int added) {
    const Edit edit{position, removed, added};
    moveAlong(m_marks, m_quotes, edit);
    if (m_checkPending)
        m_editsSince.append(edit); // they move the running check's marks too
    followText(edit);
    if (wanted())
        m_pause->start();
}

void TagMarks::moveAlong(QList<tagbalance::Mark>& marks, QList<tagbalance::Range>& quotes,
                         const Edit& edit) {
    const qsizetype end = edit.position + edit.removed;
    const qsizetype delta = edit.added - edit.removed;
    // Marks are sorted and apart: those ending before the edit stay, those it touched go (the
    // next check decides) and those behind it move.
    const auto touched =
        std::partition_point(marks.begin(), marks.end(), [&](const tagbalance::Mark& m) {
            return m.start + m.length <= edit.position;
        });
    const auto behind = std::partition_point(
        touched, marks.end(), [end](const tagbalance::Mark& m) { return m.start < end; });
    for (auto mark = behind; mark != marks.end(); ++mark)
        mark->start += delta;
    marks.erase(touched, behind);
    auto quote =
        std::partition_point(quotes.begin(), quotes.end(),
                             [&](const tagbalance::Range& r) { return r.end <= edit.position; });
    for (; quote != quotes.end(); ++quote) {
        if (quote->start >= end) {
            quote->start += delta;
            quote->end += delta;
        } else {
            quote->start = std::min(quote->start, edit.position);
            quote->end = std::max(quote->end + delta, edit.position + edit.added);
        }
    }
}

void TagMarks::followText(const Edit& edit) {
    if (!m_textFollowed)
        return;
    // A new text counts the final paragraph separator in both numbers; it is not in the text.
    const qsizetype length = m_field->document()->characterCount() - 1;
    const qsizetype added = std::min(edit.added, length - edit.position);
    const qsizetype removed = m_text.size() + added - length;
    if (!wanted() || added > length / kFollowShare || added < 0 || removed < 0 ||
        edit.position + removed > m_text.size()) {
        m_textFollowed = false;
        m_text.clear();
        return;
    }
    m_text.replace(edit.position, removed, textAt(edit.position, added));
}

QString TagMarks::textAt(qsizetype position, qsizetype length) const {
    if (length <= 0)
        return QString();
    QTextCursor cursor(m_field->document());
    cursor.setPosition(int(position));
    cursor.setPosition(int(position + length), QTextCursor::KeepAnchor);
    return cursor.selectedText(); // paragraph breaks as U+2029, as in toRawText()
}

void TagMarks::start() {
    if (!wanted())
        return;
    if (m_checkPending) {
        m_pause->start(); // again once this one is done
        return;
    }
    if (!m_textFollowed) {
        // In slices: no second copy of a long text at once.
        m_text.clear();
        const qsizetype length = m_field->document()->characterCount() - 1;
        for (qsizetype at = 0; at < length; at += kReadSlice)
            m_text.replace(at, 0, textAt(at, std::min(kReadSlice, length - at)));
        m_textFollowed = true;
    }
    m_checkPending = true;
    m_editsSince.clear();
    m_running.setFuture(QtConcurrent::run([text = m_text] { return tagbalance::check(text); }));
}

void TagMarks::done() {
    m_checkPending = false;
    tagbalance::Result result = m_running.result();
    // Quotes matter only while they are left out of spell checking.
    if (!m_quotesWanted)
        result.quotes.clear();
    // Edits made while it ran move its marks as they moved the ones shown; the tags they
    // touched wait for the next check, which they asked for.
    for (const Edit& edit : std::as_const(m_editsSince))
        moveAlong(result.marks, result.quotes, edit);
    m_editsSince.clear();
    const bool otherQuotes = m_quotesWanted && result.quotes != m_quotes;
    // Named copies: clang before 16 cannot capture structured bindings.
    const auto range = viewlines::rangeInView(*m_field);
    const auto from = range.first;
    const auto to = range.second;
    const auto inView = [from, to](const QList<tagbalance::Mark>& marks) {
        const auto first =
            std::partition_point(marks.cbegin(), marks.cend(), [from](const tagbalance::Mark& m) {
                return m.start + m.length < from;
            });
        return std::make_pair(
            first, std::partition_point(first, marks.cend(),
                                        [to](const tagbalance::Mark& m) { return m.start <= to; }));
    };
    const auto [oldFirst, oldEnd] = inView(m_marks);
    const auto [newFirst, newEnd] = inView(result.marks);
    const bool marksMoved = !std::equal(oldFirst, oldEnd, newFirst, newEnd);
    m_marks = std::move(result.marks);
    m_moreMarks = result.more;
    m_quotes = std::move(result.quotes);
    if (otherQuotes)
        emit quotesMoved();
    // Most checks after typing find what is shown already: no repaint then.
    if (otherQuotes || marksMoved)
        m_field->viewport()->update();
}

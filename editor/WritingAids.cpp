#include "editor/WritingAids.h"

#include "editor/TextField.h"
#include "markup/SpellScan.h"
#include "platform/boxes.h"
#include "platform/spelling.h"

#include <QAbstractTextDocumentLayout>
#include <QActionGroup>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// After this pause in typing the tags of the whole text are checked again.
constexpr int kTagPauseMs = 400;
constexpr int kMaxSuggestions = 7;

enum class Line { Wave, Dots };

// Underlines the characters [start, start + length) of a block, line by line of its layout.
void underline(QPainter& painter, const QPointF& blockTop, const QTextLayout* layout,
               qsizetype start, qsizetype length, Line style) {
    const qsizetype end = start + length;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const qsizetype from = std::max<qsizetype>(start, line.textStart());
        const qsizetype to = std::min<qsizetype>(end, line.textStart() + line.textLength());
        if (from >= to)
            continue;
        const qreal x1 = blockTop.x() + line.cursorToX(int(from));
        const qreal x2 = blockTop.x() + line.cursorToX(int(to));
        const qreal y = blockTop.y() + line.y() + std::min(line.ascent() + 2, line.height() - 2);
        if (style == Line::Dots) {
            QPen pen(QColor(255, 140, 0), 2, Qt::DotLine);
            painter.setPen(pen);
            painter.drawLine(QPointF(x1, y + 0.5), QPointF(x2, y + 0.5));
            continue;
        }
        // A zigzag of 2-pixel steps reads as the usual wavy spelling line at every font size.
        QPainterPath wave(QPointF(x1, y));
        bool up = true;
        for (qreal x = x1 + 2; x <= x2; x += 2, up = !up)
            wave.lineTo(x, up ? y + 2 : y);
        painter.setPen(QPen(Qt::red, 1));
        painter.drawPath(wave);
    }
}

QString languageLabel(const QString& language) {
    const QLocale locale(language);
    if (locale.language() == QLocale::C)
        return language;
    return QStringLiteral("%1 (%2)").arg(locale.nativeLanguageName(), locale.nativeTerritoryName());
}

} // namespace

WritingAids::WritingAids(TextField* field)
    : QObject(field), m_field(field), m_checker(new SpellChecker(this)), m_pause(new QTimer(this)) {
    for (const spelling::Dictionary& dictionary : spelling::installedDictionaries())
        m_installed.append(dictionary.language);
    m_language = m_installed.value(0, QStringLiteral("de_DE"));
    m_pause->setSingleShot(true);
    m_pause->setInterval(kTagPauseMs);
    connect(m_pause, &QTimer::timeout, this, &WritingAids::startTagCheck);
    connect(&m_running, &QFutureWatcher<tagbalance::Result>::finished, this,
            &WritingAids::tagCheckDone);
    const auto repaint = [this] { m_field->viewport()->update(); };
    connect(m_checker, &SpellChecker::checked, this, repaint);
    connect(m_checker, &SpellChecker::ready, this, repaint);
    connect(field->document(), &QTextDocument::contentsChange, this, &WritingAids::contentsChange);
    connect(field, &TextField::contextMenuAboutToShow, this,
            [this](QMenu* menu) { extendMenu(menu, m_field->contextMenuPos()); });
    field->paintOver = [this](QPainter& painter, const QRect& rect) { paint(painter, rect); };
    field->toolTipAt = [this](const QPoint& point) { return toolTipAt(point); };
}

WritingAids::~WritingAids() {
    m_field->paintOver = nullptr;
    m_field->toolTipAt = nullptr;
    // The running check finishes in the pool; its result is dropped with the watcher.
    m_running.disconnect(this);
}

void WritingAids::setSpellChecking(bool on) {
    m_spellOn = on;
    loadDictionary();
    m_field->viewport()->update();
}

void WritingAids::setLanguage(const QString& language) {
    m_language =
        m_installed.contains(language) || m_installed.isEmpty() ? language : m_installed.first();
    loadDictionary();
    m_field->viewport()->update();
}

void WritingAids::setQuotesChecked(bool on) {
    m_quotesChecked = on;
    // Leaving quotes out needs to know where they are.
    if (!on && m_quotes.isEmpty())
        startTagCheck();
    m_field->viewport()->update();
}

void WritingAids::setTagCheck(bool on) {
    m_tagsOn = on;
    if (on)
        startTagCheck();
    m_field->viewport()->update();
}

void WritingAids::loadDictionary() {
    if (!m_spellOn || !m_installed.contains(m_language) || m_requested == m_language)
        return;
    m_requested = m_language;
    m_checker->load(m_language);
}

bool WritingAids::tagsSettled() const {
    return !m_pause->isActive() && !m_checkPending;
}

bool WritingAids::inQuote(qsizetype position) const {
    const auto after =
        std::upper_bound(m_quotes.cbegin(), m_quotes.cend(), position,
                         [](qsizetype p, const tagbalance::Range& r) { return p < r.start; });
    return after != m_quotes.cbegin() && position < std::prev(after)->end;
}

template <typename Visit>
void WritingAids::forEachMisspelt(const QTextBlock& block, Visit&& visit) const {
    const QString text = block.text();
    for (const spellscan::Word& word : spellscan::checkableWords(text)) {
        if (!m_quotesChecked && inQuote(block.position() + word.start))
            continue;
        if (m_checker->state(text.mid(word.start, word.length)) == SpellChecker::State::Wrong)
            visit(word.start, word.length);
    }
}

void WritingAids::paint(QPainter& painter, const QRect& rect) const {
    const bool spelling = m_spellOn && m_checker->isReady();
    const bool tags = m_tagsOn && !m_marks.isEmpty();
    if (!spelling && !tags)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    for (QTextBlock block = m_field->firstVisibleTextBlock(); block.isValid();
         block = block.next()) {
        const QPointF top = m_field->blockTopLeft(block);
        if (top.y() > rect.bottom())
            break;
        const QTextLayout* layout = block.layout();
        if (!block.isVisible() || !layout || top.y() + layout->boundingRect().bottom() < rect.top())
            continue;
        if (spelling)
            forEachMisspelt(block, [&](qsizetype start, qsizetype length) {
                underline(painter, top, layout, start, length, Line::Wave);
            });
        if (!tags)
            continue;
        const qsizetype begin = block.position();
        const qsizetype end = begin + block.length();
        auto mark = std::lower_bound(
            m_marks.cbegin(), m_marks.cend(), begin,
            [](const tagbalance::Mark& m, qsizetype p) { return m.start + m.length <= p; });
        for (; mark != m_marks.cend() && mark->start < end; ++mark)
            underline(painter, top, layout, mark->start - begin, mark->length, Line::Dots);
    }
}

QList<WritingAids::Span> WritingAids::misspeltInView() const {
    QList<Span> spans;
    if (!m_spellOn || !m_checker->isReady())
        return spans;
    const int bottom = m_field->viewport()->height();
    for (QTextBlock block = m_field->firstVisibleTextBlock(); block.isValid();
         block = block.next()) {
        if (m_field->blockTopLeft(block).y() > bottom)
            break;
        forEachMisspelt(block, [&](qsizetype start, qsizetype length) {
            spans.append({block.position() + start, length});
        });
    }
    return spans;
}

WritingAids::WordAt WritingAids::misspeltAt(const QPoint& viewportPos) const {
    WordAt found;
    if (!m_spellOn || !m_checker->isReady())
        return found;
    const QTextCursor cursor = m_field->cursorForPosition(viewportPos);
    const QTextBlock block = cursor.block();
    const int offset = cursor.positionInBlock();
    forEachMisspelt(block, [&](qsizetype start, qsizetype length) {
        if (found.start < 0 && start <= offset && offset <= start + length)
            found = {block.position() + start, block.text().mid(start, length)};
    });
    return found;
}

void WritingAids::replaceWord(qsizetype start, const QString& word, const QString& replacement) {
    QTextCursor cursor(m_field->document());
    cursor.setPosition(int(start));
    cursor.setPosition(int(start + word.size()), QTextCursor::KeepAnchor);
    if (cursor.selectedText() != word)
        return;
    // One edit block, so one undo step.
    cursor.beginEditBlock();
    cursor.insertText(replacement);
    cursor.endEditBlock();
    m_field->setTextCursor(cursor);
}

void WritingAids::extendMenu(QMenu* menu, const QPoint& viewportPos) {
    QAction* top = menu->actions().value(0);
    const WordAt misspelt = misspeltAt(viewportPos);
    if (misspelt.start >= 0) {
        const QStringList suggestions = m_checker->suggestions(misspelt.word, kMaxSuggestions);
        for (const QString& suggestion : suggestions) {
            auto* action = new QAction(suggestion, menu);
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            connect(action, &QAction::triggered, this, [this, misspelt, suggestion] {
                replaceWord(misspelt.start, misspelt.word, suggestion);
            });
            menu->insertAction(top, action);
        }
        if (suggestions.isEmpty()) {
            auto* none = new QAction(QStringLiteral("(keine Vorschläge)"), menu);
            none->setEnabled(false);
            menu->insertAction(top, none);
        }
        auto* add = new QAction(QStringLiteral("Zum Wörterbuch hinzufügen"), menu);
        connect(add, &QAction::triggered, this, [this, word = misspelt.word] {
            const files::WriteResult written = m_checker->addToPersonalList(word);
            if (!written.ok)
                boxes::MsgBox(QStringLiteral("Das Wort \"%1\" konnte nicht ins Wörterbuch "
                                             "geschrieben werden.\n%2\nEs gilt bis zum "
                                             "Programmende als richtig.")
                                  .arg(word, written.reason));
        });
        auto* ignore = new QAction(QStringLiteral("Ignorieren"), menu);
        connect(ignore, &QAction::triggered, this,
                [this, word = misspelt.word] { m_checker->ignore(word); });
        menu->insertActions(top, {add, ignore});
        if (top)
            menu->insertSeparator(top);
    }

    menu->addSeparator();
    const bool installed = dictionaryInstalled();
    QAction* spell = menu->addAction(
        installed ? QStringLiteral("Rechtschreibprüfung")
                  : QStringLiteral("Rechtschreibprüfung (kein Wörterbuch installiert)"));
    spell->setCheckable(true);
    spell->setChecked(installed && m_spellOn);
    spell->setEnabled(installed);
    connect(spell, &QAction::toggled, this, [this](bool on) {
        setSpellChecking(on);
        emit switchesChanged();
    });
    QMenu* languages = menu->addMenu(QStringLiteral("Sprache"));
    languages->setEnabled(installed);
    auto* group = new QActionGroup(languages);
    for (const QString& language : m_installed) {
        QAction* choice = languages->addAction(languageLabel(language));
        choice->setCheckable(true);
        choice->setChecked(language == m_language);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, language] {
            setLanguage(language);
            emit switchesChanged();
        });
    }
    QAction* quotes = menu->addAction(QStringLiteral("Zitate prüfen"));
    quotes->setCheckable(true);
    quotes->setChecked(m_quotesChecked);
    quotes->setEnabled(installed && m_spellOn);
    connect(quotes, &QAction::toggled, this, [this](bool on) {
        setQuotesChecked(on);
        emit switchesChanged();
    });
    QAction* tags = menu->addAction(QStringLiteral("Tags prüfen"));
    tags->setCheckable(true);
    tags->setChecked(m_tagsOn);
    connect(tags, &QAction::toggled, this, [this](bool on) {
        setTagCheck(on);
        emit switchesChanged();
    });
}

QString WritingAids::toolTipAt(const QPoint& viewportPos) const {
    if (!m_tagsOn)
        return {};
    const int position = m_field->cursorForPosition(viewportPos).position();
    for (const tagbalance::Mark& mark : m_marks) {
        if (mark.start > position)
            break;
        if (position <= mark.start + mark.length)
            return mark.message;
    }
    return {};
}

void WritingAids::contentsChange(int position, int removed, int added) {
    ++m_edits;
    const qsizetype end = qsizetype(position) + removed;
    const qsizetype delta = qsizetype(added) - removed;
    QList<tagbalance::Mark> kept;
    kept.reserve(m_marks.size());
    for (tagbalance::Mark mark : std::as_const(m_marks)) {
        if (mark.start >= end)
            mark.start += delta;
        else if (mark.start + mark.length > position)
            continue; // the edit touched the tag itself: the next check decides
        kept.append(mark);
    }
    m_marks = std::move(kept);
    for (tagbalance::Range& quote : m_quotes) {
        if (quote.end <= position)
            continue;
        if (quote.start >= end) {
            quote.start += delta;
            quote.end += delta;
        } else {
            quote.start = std::min<qsizetype>(quote.start, position);
            quote.end = std::max(quote.end + delta, qsizetype(position) + added);
        }
    }
    if (m_tagsOn || !m_quotesChecked)
        m_pause->start();
}

void WritingAids::startTagCheck() {
    if (!m_tagsOn && m_quotesChecked)
        return;
    if (m_running.isRunning()) {
        m_pause->start(); // again once this one is done
        return;
    }
    m_checkPending = true;
    m_runningEdits = m_edits;
    m_running.setFuture(QtConcurrent::run(
        [text = m_field->document()->toRawText()] { return tagbalance::check(text); }));
}

void WritingAids::tagCheckDone() {
    m_checkPending = false;
    if (m_runningEdits != m_edits) {
        m_pause->start(); // the text changed meanwhile; its edits restarted the pause anyway
        return;
    }
    tagbalance::Result result = m_running.result();
    m_marks = std::move(result.marks);
    m_quotes = std::move(result.quotes);
    m_field->viewport()->update();
}

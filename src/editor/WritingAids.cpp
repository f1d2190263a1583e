#include "editor/WritingAids.h"

#include "editor/TextField.h"
#include "platform/boxes.h"
#include "spelling/SpellingEngine.h"
#include "text/SpellScan.h"

#include <QAbstractTextDocumentLayout>
#include <QActionGroup>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <optional>

namespace {

// After this pause in typing the tags of the whole text are checked again.
constexpr int kTagPauseMs = 400;
// An insertion of more than a quarter of the text (a new text, F9, whose changes come as one
// from the first to the last) is not read into the tag check's copy of the text: the next
// check reads the whole text once instead, and a second large edit before it costs nothing.
constexpr qsizetype kFollowShare = 4;
constexpr qsizetype kReadSlice = 1 << 20;
constexpr int kMaxSuggestions = 7;
// The right-click menu shows "Keine Vorschläge" when the engine needs longer (long compounds
// take it seconds); what it finds later still comes into a menu that is open.
constexpr int kSuggestionLimitMs = 300;

enum class Line { Wave, Dots };

// A paragraph longer than this is spelled only around its lines in view.
constexpr qsizetype kWholeBlock = 4096;

constexpr int kWaveHeight = 3;

// One period of the red wave: down and up over four pixels.
const QPixmap& waveTile() {
    static const QPixmap tile = [] {
        QImage image(4, kWaveHeight, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        const QRgb red = qRgb(255, 0, 0);
        image.setPixel(0, 0, red);
        image.setPixel(1, 1, red);
        image.setPixel(2, 2, red);
        image.setPixel(3, 1, red);
        return QPixmap::fromImage(image);
    }();
    return tile;
}

// Underlines the characters [start, start + length) of a block, on those of its lines that lie
// in the painted rectangle.
void underline(QPainter& painter, const QPointF& blockTop, const QTextLayout* layout,
               const QRect& rect, qsizetype start, qsizetype length, Line style) {
    const qsizetype end = start + length;
    for (int i = layout->lineForTextPosition(int(start)).lineNumber();
         i >= 0 && i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (line.textStart() >= end)
            break;
        const qreal top = blockTop.y() + line.y();
        if (top > rect.bottom() || top + line.height() < rect.top())
            continue;
        const qsizetype from = std::max<qsizetype>(start, line.textStart());
        const qsizetype to = std::min<qsizetype>(end, line.textStart() + line.textLength());
        if (from >= to)
            continue;
        const int x1 = qRound(blockTop.x() + line.cursorToX(int(from)));
        const int x2 = qRound(blockTop.x() + line.cursorToX(int(to)));
        const int y = qRound(top + std::min(line.ascent() + 2, line.height() - 2));
        if (style == Line::Dots) {
            static const QPen dots(QColor(255, 140, 0), 2, Qt::DotLine);
            painter.setPen(dots);
            painter.drawLine(x1, y, x2, y);
            continue;
        }
        // The usual wavy spelling line, blitted from one tile of the wave: far cheaper than
        // stroking a zigzag for each word on every repaint.
        painter.drawTiledPixmap(QRect(x1, y, std::max(x2 - x1, 2), kWaveHeight), waveTile());
    }
}

QString languageLabel(const QString& language) {
    const QLocale locale(language);
    if (locale.language() == QLocale::C)
        return language;
    return QStringLiteral("%1 (%2)").arg(locale.nativeLanguageName(), locale.nativeTerritoryName());
}

// The text range of a block's lines that lie between two heights of the viewport.
struct Lines {
    qsizetype from = 0;
    qsizetype to = 0;
};
Lines linesIn(const QPointF& blockTop, const QTextLayout* layout, qreal top, qreal bottom) {
    Lines lines{-1, 0};
    // The first line reaching down to `top`: lines stand in order of height.
    int first = 0;
    for (int count = layout->lineCount(); count > 0;) {
        const int half = count / 2;
        const QTextLine line = layout->lineAt(first + half);
        if (blockTop.y() + line.y() + line.height() < top) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    for (int i = first; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const qreal y = blockTop.y() + line.y();
        if (y > bottom)
            break;
        if (y + line.height() < top)
            continue;
        if (lines.from < 0)
            lines.from = line.textStart();
        lines.to = line.textStart() + line.textLength();
    }
    lines.from = std::max<qsizetype>(lines.from, 0);
    return lines;
}

} // namespace

WritingAids::WritingAids(TextField* field, SpellingEngine* engine)
    : QObject(field), m_field(field), m_checker(engine), m_pause(new QTimer(this)) {
    engine->setParent(this);
    m_installed = engine->languages();
    m_language = m_installed.value(0, QStringLiteral("de_DE"));
    m_pause->setSingleShot(true);
    m_pause->setInterval(kTagPauseMs);
    connect(m_pause, &QTimer::timeout, this, &WritingAids::startTagCheck);
    connect(&m_running, &QFutureWatcher<tagbalance::Result>::finished, this,
            &WritingAids::tagCheckDone);
    // New answers matter only where a word was still waiting for one.
    connect(m_checker, &SpellingEngine::checked, this, [this] {
        ++m_generation;
        if (m_sawPending) {
            m_sawPending = false;
            repaintAnswered();
        }
    });
    connect(m_checker, &SpellingEngine::ready, this, [this] { answersChanged(); });
    connect(m_checker, &SpellingEngine::personalListWritten, this,
            [](const QString& word, const files::WriteResult& written) {
                if (!written.ok)
                    boxes::MsgBox(QStringLiteral("Das Wort \"%1\" konnte nicht ins persönliche "
                                                 "Wörterbuch geschrieben werden.\n%2\nEs gilt "
                                                 "bis zum Programmende als richtig.")
                                      .arg(word, written.reason));
            });
    connect(field->document(), &QTextDocument::contentsChange, this, &WritingAids::contentsChange);
    connect(field, &TextField::contextMenuAboutToShow, this,
            [this](QMenu* menu) { extendMenu(menu, m_field->contextMenuPos()); });
    field->paintOver = [this](QWidget* viewport, const QRect& rect) { paint(viewport, rect); };
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

void WritingAids::answersChanged() {
    ++m_epoch;
    m_field->viewport()->update();
}

void WritingAids::ignoreWord(const QString& word) {
    m_checker->ignore(word);
    answersChanged();
}

void WritingAids::addWord(const QString& word) {
    m_checker->addToPersonalList(word);
    answersChanged();
}

void WritingAids::setQuotesChecked(bool on) {
    m_quotesChecked = on;
    ++m_epoch;
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
    // An empty field needs no dictionary: it comes with the first text, so an idle start keeps
    // its memory.
    if (m_field->document()->isEmpty())
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

namespace {

// The misspelt words of a short block, kept with the block until its text or the checker's
// answers change: a repaint then costs no scanning.
struct MisspeltCache : QTextBlockUserData {
    int revision = 0;
    quint64 epoch = 0;
    bool pending = false; // a word had no answer yet: good until the next answers only
    quint64 generation = 0;
    QList<WritingAids::Span> words; // block-relative
};

} // namespace

template <typename Visit>
void WritingAids::forEachMisspelt(const QTextBlock& block, qsizetype from, qsizetype to,
                                  Visit&& visit) const {
    // The block's length counts its separator; its text is only copied on a miss.
    const bool whole = block.length() - 1 <= kWholeBlock;
    if (whole) {
        // Only the aids keep data with a block.
        if (auto* cache = static_cast<MisspeltCache*>(block.userData());
            cache && cache->revision == block.revision() && cache->epoch == m_epoch &&
            (!cache->pending || cache->generation == m_generation)) {
            for (const Span& word : std::as_const(cache->words))
                visit(word.start, word.length);
            return;
        }
    }
    const QString text = block.text();
    QStringView part(text);
    qsizetype offset = 0;
    if (!whole) {
        // From a space before the range to one after it, so no word is cut.
        const qsizetype begin = from > 0 ? text.lastIndexOf(u' ', from - 1) + 1 : 0;
        qsizetype end = to < text.size() ? text.indexOf(u' ', to) : text.size();
        end = end < 0 ? text.size() : end;
        part = part.sliced(begin, end - begin);
        offset = begin;
    }
    QList<Span> found;
    bool pending = false;
    for (const spellscan::Word& word : spellscan::checkableWords(part)) {
        const qsizetype start = offset + word.start;
        if (!whole && (start + word.length < from || start > to))
            continue;
        if (!m_quotesChecked && inQuote(block.position() + start))
            continue;
        const SpellingEngine::State state = m_checker->state(text.mid(start, word.length));
        pending = pending || state == SpellingEngine::State::Pending;
        if (state == SpellingEngine::State::Wrong)
            found.append({start, word.length});
    }
    m_sawPending = m_sawPending || pending;
    for (const Span& word : std::as_const(found))
        visit(word.start, word.length);
    if (whole) {
        auto* cache = new MisspeltCache;
        cache->revision = block.revision();
        cache->generation = m_generation;
        cache->epoch = m_epoch;
        cache->pending = pending;
        cache->words = std::move(found);
        QTextBlock(block).setUserData(cache); // the block owns it
    }
}

template <typename Visit>
void WritingAids::forEachBlockIn(int top, int bottom, Visit&& visit) const {
    for (QTextBlock block = m_field->firstVisibleTextBlock(); block.isValid();
         block = block.next()) {
        const QPointF topLeft = m_field->blockTopLeft(block);
        if (topLeft.y() > bottom)
            break;
        const QTextLayout* layout = block.layout();
        if (!block.isVisible() || !layout || layout->lineCount() == 0 ||
            topLeft.y() + layout->boundingRect().bottom() < top)
            continue;
        visit(block, topLeft, linesIn(topLeft, layout, top, bottom));
    }
}

std::pair<qsizetype, qsizetype> WritingAids::rangeInView() const {
    qsizetype from = -1, to = -1;
    forEachBlockIn(0, m_field->viewport()->height(),
                   [&](const QTextBlock& block, const QPointF&, const Lines& lines) {
                       if (from < 0)
                           from = block.position() + lines.from;
                       to = block.position() + lines.to;
                   });
    return {from, to};
}

QList<tagbalance::Mark>::const_iterator WritingAids::firstMarkReaching(qsizetype position) const {
    return std::lower_bound(
        m_marks.cbegin(), m_marks.cend(), position,
        [](const tagbalance::Mark& m, qsizetype p) { return m.start + m.length < p; });
}

void WritingAids::paint(QWidget* viewport, const QRect& rect) const {
    const bool spelling = m_spellOn && m_checker->isReady();
    const bool tags = m_tagsOn && !m_marks.isEmpty();
    if (!spelling && !tags)
        return;
    // Most repaints have nothing to underline: the painter is only made for the first mark.
    std::optional<QPainter> open;
    const auto painter = [&]() -> QPainter& {
        if (!open)
            open.emplace(viewport);
        return *open;
    };
    forEachBlockIn(rect.top(), rect.bottom(),
                   [&](const QTextBlock& block, const QPointF& top, const Lines& lines) {
                       const QTextLayout* layout = block.layout();
                       if (spelling)
                           forEachMisspelt(block, lines.from, lines.to,
                                           [&](qsizetype start, qsizetype length) {
                                               underline(painter(), top, layout, rect, start,
                                                         length, Line::Wave);
                                           });
                       if (!tags)
                           return;
                       const qsizetype begin = block.position();
                       const qsizetype end = begin + block.length();
                       for (auto mark = firstMarkReaching(begin + 1);
                            mark != m_marks.cend() && mark->start < end; ++mark)
                           underline(painter(), top, layout, rect, mark->start - begin,
                                     mark->length, Line::Dots);
                   });
}

QList<WritingAids::Span> WritingAids::misspeltInView() const {
    QList<Span> spans;
    if (!m_spellOn || !m_checker->isReady())
        return spans;
    forEachBlockIn(0, m_field->viewport()->height(),
                   [&](const QTextBlock& block, const QPointF&, const Lines& lines) {
                       forEachMisspelt(block, lines.from, lines.to,
                                       [&](qsizetype start, qsizetype length) {
                                           spans.append({block.position() + start, length});
                                       });
                   });
    return spans;
}

void WritingAids::repaintAnswered() {
    // Only the lines in view whose words got their answers and with them new underlines: a page
    // of words never seen gets its answers in several batches, and a whole repaint for each
    // would draw all its text again each time.
    QWidget* viewport = m_field->viewport();
    QRegion answered;
    forEachBlockIn(
        0, viewport->height(),
        [&](const QTextBlock& block, const QPointF& top, const Lines& lines) {
            const QTextLayout* layout = block.layout();
            // The lines holding the characters [start, end) of the block.
            const auto addLines = [&](qsizetype start, qsizetype end) {
                const QTextLine first = layout->lineForTextPosition(int(start));
                const QTextLine last = layout->lineForTextPosition(int(end));
                const qreal bottom =
                    last.isValid() ? last.y() + last.height() : layout->boundingRect().bottom();
                const qreal y = first.isValid() ? first.y() : 0;
                answered += QRectF(0, top.y() + y, viewport->width(), bottom - y + kWaveHeight)
                                .toAlignedRect();
            };
            if (block.length() - 1 > kWholeBlock) {
                addLines(lines.from, lines.to); // nothing kept to compare with
                return;
            }
            const auto* cache = static_cast<const MisspeltCache*>(block.userData());
            if (!cache || !cache->pending || cache->revision != block.revision() ||
                cache->epoch != m_epoch)
                return; // nothing waited here, or it is painted anew anyway
            const QList<Span> before = cache->words;
            forEachMisspelt(block, lines.from, lines.to, [](qsizetype, qsizetype) {});
            const QList<Span>& after = static_cast<const MisspeltCache*>(block.userData())->words;
            for (const QList<Span>* words : {&before, &after}) {
                const QList<Span>& other = words == &before ? after : before;
                for (const Span& word : *words)
                    if (!other.contains(word))
                        addLines(word.start, word.start + word.length);
            }
        });
    if (!answered.isEmpty())
        viewport->update(answered);
}

WritingAids::WordAt WritingAids::misspeltAt(const QPoint& viewportPos) const {
    WordAt found;
    if (!m_spellOn || !m_checker->isReady())
        return found;
    const QTextCursor cursor = m_field->cursorForPosition(viewportPos);
    const QTextBlock block = cursor.block();
    const int offset = cursor.positionInBlock();
    forEachMisspelt(block, offset, offset, [&](qsizetype start, qsizetype length) {
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
        // The engine needs from a tenth of a second to many seconds: the menu does not wait.
        auto* searching = new QAction(QStringLiteral("Vorschläge werden gesucht …"), menu);
        searching->setEnabled(false);
        menu->insertAction(top, searching);
        const quint64 request =
            m_checker->requestSuggestions(misspelt.word, kMaxSuggestions, kSuggestionLimitMs);
        connect(m_checker, &SpellingEngine::suggestionsFound, searching,
                [this, menu, searching, request, misspelt](quint64 answered,
                                                           const QStringList& suggestions) {
                    if (answered != request)
                        return;
                    if (suggestions.isEmpty()) {
                        searching->setText(QStringLiteral("Keine Vorschläge"));
                        return;
                    }
                    for (const QString& suggestion : suggestions) {
                        auto* action = new QAction(suggestion, menu);
                        QFont bold = action->font();
                        bold.setBold(true);
                        action->setFont(bold);
                        connect(action, &QAction::triggered, this, [this, misspelt, suggestion] {
                            replaceWord(misspelt.start, misspelt.word, suggestion);
                        });
                        menu->insertAction(searching, action);
                    }
                    menu->removeAction(searching);
                    searching->deleteLater();
                });
        auto* add = new QAction(QStringLiteral("Zum Wörterbuch hinzufügen"), menu);
        connect(add, &QAction::triggered, this, [this, word = misspelt.word] { addWord(word); });
        auto* ignore = new QAction(QStringLiteral("Ignorieren"), menu);
        connect(ignore, &QAction::triggered, this,
                [this, word = misspelt.word] { ignoreWord(word); });
        menu->insertActions(top, {add, ignore});
        if (top)
            menu->insertSeparator(top);
    }

    menu->addSeparator();
    const bool installed = dictionaryInstalled();
    const auto addSwitch = [this, menu](const QString& text, bool checked, bool enabled,
                                        void (WritingAids::*set)(bool)) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(checked);
        action->setEnabled(enabled);
        connect(action, &QAction::toggled, this, set);
    };
    addSwitch(installed ? QStringLiteral("Rechtschreibprüfung")
                        : QStringLiteral("Rechtschreibprüfung (kein Wörterbuch installiert)"),
              installed && m_spellOn, installed, &WritingAids::setSpellChecking);
    QMenu* languages = menu->addMenu(QStringLiteral("Sprache"));
    languages->setEnabled(installed);
    auto* group = new QActionGroup(languages);
    for (const QString& language : m_installed) {
        QAction* choice = languages->addAction(languageLabel(language));
        choice->setCheckable(true);
        choice->setChecked(language == m_language);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, language] { setLanguage(language); });
    }
    // Which of the dictionaries found for the language is in use: a broken one gives way.
    if (const QString file = m_checker->dictionaryFile(); !file.isEmpty()) {
        languages->addSeparator();
        languages->addAction(QStringLiteral("Wörterbuch: %1").arg(file))->setEnabled(false);
    }
    addSwitch(QStringLiteral("Zitate prüfen"), m_quotesChecked, installed && m_spellOn,
              &WritingAids::setQuotesChecked);
    addSwitch(QStringLiteral("Tags prüfen"), m_tagsOn, true, &WritingAids::setTagCheck);
}

QString WritingAids::toolTipAt(const QPoint& viewportPos) const {
    if (!m_tagsOn)
        return {};
    const int position = m_field->cursorForPosition(viewportPos).position();
    const auto mark = firstMarkReaching(position);
    if (mark == m_marks.cend() || mark->start > position)
        return QString();
    QString tip = tagbalance::message(*mark);
    if (m_moreMarks && mark == std::prev(m_marks.cend()))
        tip += QStringLiteral("\n… und weitere Tags außer Gleichgewicht");
    return tip;
}

void WritingAids::contentsChange(int position, int removed, int added) {
    loadDictionary();
    const Edit edit{position, removed, added};
    moveAlong(m_marks, m_quotes, edit);
    if (m_checkPending)
        m_editsSince.append(edit); // they move the running check's marks too
    followText(edit);
    if (tagCheckWanted())
        m_pause->start();
}

void WritingAids::moveAlong(QList<tagbalance::Mark>& marks, QList<tagbalance::Range>& quotes,
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

void WritingAids::followText(const Edit& edit) {
    if (!m_textFollowed)
        return;
    // A new text counts the final paragraph separator in both numbers; it is not in the text.
    const qsizetype length = m_field->document()->characterCount() - 1;
    const qsizetype added = std::min(edit.added, length - edit.position);
    const qsizetype removed = m_text.size() + added - length;
    if (!tagCheckWanted() || added > length / kFollowShare || added < 0 || removed < 0 ||
        edit.position + removed > m_text.size()) {
        m_textFollowed = false;
        m_text.clear();
        return;
    }
    m_text.replace(edit.position, removed, textAt(edit.position, added));
}

QString WritingAids::textAt(qsizetype position, qsizetype length) const {
    if (length <= 0)
        return QString();
    QTextCursor cursor(m_field->document());
    cursor.setPosition(int(position));
    cursor.setPosition(int(position + length), QTextCursor::KeepAnchor);
    return cursor.selectedText(); // paragraph breaks as U+2029, as in toRawText()
}

void WritingAids::startTagCheck() {
    if (!tagCheckWanted())
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

void WritingAids::tagCheckDone() {
    m_checkPending = false;
    tagbalance::Result result = m_running.result();
    // Quotes matter only while they are left out of spell checking.
    if (m_quotesChecked)
        result.quotes.clear();
    // Edits made while it ran move its marks as they moved the ones shown; the tags they
    // touched wait for the next check, which they asked for.
    for (const Edit& edit : std::as_const(m_editsSince))
        moveAlong(result.marks, result.quotes, edit);
    m_editsSince.clear();
    const bool quotesMoved = !m_quotesChecked && result.quotes != m_quotes;
    const auto [from, to] = rangeInView();
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
    if (quotesMoved)
        ++m_epoch; // the words left out changed
    // Most checks after typing find what is shown already: no repaint then.
    if (quotesMoved || marksMoved)
        m_field->viewport()->update();
}

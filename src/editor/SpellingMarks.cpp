#include "editor/SpellingMarks.h"

#include "editor/MarkPainter.h"
#include "editor/TagMarks.h"
#include "editor/TextField.h"
#include "editor/ViewLines.h"
#include "platform/boxes.h"
#include "spelling/SpellingEngine.h"
#include "text/SpellScan.h"

#include <QRegion>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// A paragraph longer than this is spelled only around its lines in view.
constexpr qsizetype kWholeBlock = 4096;

// The misspelt words of a short block, kept with the block until its text or the engine's
// answers change.
struct MisspeltCache : QTextBlockUserData {
    int revision = 0;
    quint64 epoch = 0;
    bool pending = false; // a word had no answer yet: good until the next answers only
    quint64 generation = 0;
    QList<SpellingMarks::Span> words; // block-relative
};

} // namespace

SpellingMarks::SpellingMarks(TextField* field, SpellingEngine* engine, QObject* parent)
    : QObject(parent), m_field(field), m_engine(engine), m_installed(engine->languages()) {
    m_language = m_installed.value(0, QStringLiteral("de_DE"));
    // New answers matter only where a word was still waiting for one.
    connect(engine, &SpellingEngine::checked, this, [this] {
        ++m_generation;
        if (m_sawPending) {
            m_sawPending = false;
            repaintAnswered();
        }
    });
    connect(engine, &SpellingEngine::ready, this, &SpellingMarks::answersChanged);
    connect(engine, &SpellingEngine::personalListWritten, this,
            [](const QString& word, const files::WriteResult& written) {
                if (!written.ok)
                    boxes::MsgBox(QStringLiteral("Das Wort \"%1\" konnte nicht ins persönliche "
                                                 "Wörterbuch geschrieben werden.\n%2\nEs gilt "
                                                 "bis zum Programmende als richtig.")
                                      .arg(word, written.reason));
            });
    connect(field->document(), &QTextDocument::contentsChange, this,
            &SpellingMarks::loadDictionary);
}

void SpellingMarks::setOn(bool on) {
    m_on = on;
    loadDictionary();
}

void SpellingMarks::setLanguage(const QString& language) {
    m_language =
        m_installed.contains(language) || m_installed.isEmpty() ? language : m_installed.first();
    loadDictionary();
}

void SpellingMarks::setQuotesLeftOut(const TagMarks* tags) {
    m_quotesLeftOut = tags;
    ++m_epoch;
}

void SpellingMarks::answersChanged() {
    ++m_epoch;
    m_field->viewport()->update();
}

bool SpellingMarks::shown() const {
    return m_on && m_engine->isReady();
}

void SpellingMarks::loadDictionary() {
    if (!m_on || !m_installed.contains(m_language) || m_requested == m_language)
        return;
    // An empty field needs no dictionary: it comes with the first text, so an idle start keeps
    // its memory.
    if (m_field->document()->isEmpty())
        return;
    m_requested = m_language;
    m_engine->load(m_language);
}

QList<SpellingMarks::Span> SpellingMarks::misspelt(const QTextBlock& block, qsizetype from,
                                                   qsizetype to) const {
    // The block's length counts its separator; its text is only copied on a miss.
    const bool whole = block.length() - 1 <= kWholeBlock;
    if (whole) {
        // Only the spelling marks keep data with a block.
        if (auto* cache = static_cast<MisspeltCache*>(block.userData());
            cache && cache->revision == block.revision() && cache->epoch == m_epoch &&
            (!cache->pending || cache->generation == m_generation))
            return cache->words;
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
        if (m_quotesLeftOut && m_quotesLeftOut->inQuote(block.position() + start))
            continue;
        const SpellingEngine::State state = m_engine->state(text.mid(start, word.length));
        pending = pending || state == SpellingEngine::State::Pending;
        if (state == SpellingEngine::State::Wrong)
            found.append({start, word.length});
    }
    m_sawPending = m_sawPending || pending;
    if (whole) {
        auto* cache = new MisspeltCache;
        cache->revision = block.revision();
        cache->generation = m_generation;
        cache->epoch = m_epoch;
        cache->pending = pending;
        cache->words = found;
        QTextBlock(block).setUserData(cache); // the block owns it
    }
    return found;
}

QList<SpellingMarks::Span> SpellingMarks::inView() const {
    QList<Span> spans;
    if (!shown())
        return spans;
    viewlines::forEachBlockIn(
        *m_field, 0, m_field->viewport()->height(),
        [&](const QTextBlock& block, const QPointF&, const viewlines::Lines& lines) {
            const QList<Span> words = misspelt(block, lines.from, lines.to);
            for (const Span& word : words)
                spans.append({block.position() + word.start, word.length});
        });
    return spans;
}

void SpellingMarks::repaintAnswered() {
    // Only the lines in view whose words got their answers and with them new underlines: a page
    // of words never seen gets its answers in several batches, and a whole repaint for each
    // would draw all its text again each time.
    QWidget* viewport = m_field->viewport();
    QRegion answered;
    viewlines::forEachBlockIn(
        *m_field, 0, viewport->height(),
        [&](const QTextBlock& block, const QPointF& top, const viewlines::Lines& lines) {
            const QTextLayout* layout = block.layout();
            // The lines holding the characters [start, end) of the block.
            const auto addLines = [&](qsizetype start, qsizetype end) {
                const QTextLine first = layout->lineForTextPosition(int(start));
                const QTextLine last = layout->lineForTextPosition(int(end));
                const qreal bottom =
                    last.isValid() ? last.y() + last.height() : layout->boundingRect().bottom();
                const qreal y = first.isValid() ? first.y() : 0;
                answered +=
                    QRectF(0, top.y() + y, viewport->width(), bottom - y + markpainter::kWaveHeight)
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
            const QList<Span> after = misspelt(block, lines.from, lines.to);
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

SpellingMarks::WordAt SpellingMarks::at(const QPoint& viewportPos) const {
    WordAt found;
    if (!shown())
        return found;
    const QTextCursor cursor = m_field->cursorForPosition(viewportPos);
    const QTextBlock block = cursor.block();
    const int offset = cursor.positionInBlock();
    const QList<Span> words = misspelt(block, offset, offset);
    for (const Span& word : words)
        if (word.start <= offset && offset <= word.start + word.length)
            return {block.position() + word.start, block.text().mid(word.start, word.length)};
    return found;
}

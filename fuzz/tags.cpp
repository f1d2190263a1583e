// The tag balance and the spelling word scanner: whatever the text, every mark sits on a tag
// the tag reader recognises, marks and quotes come in order inside the text, the same text kept
// in pieces through edits is checked alike, and every word is a run of letters inside its line,
// in order and apart.
#include "text/SpellScan.h"
#include "text/TagBalance.h"

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzzBytes(data, size));

    const tagbalance::Result result = tagbalance::check(text);
    qsizetype previous = -1;
    for (const tagbalance::Mark& mark : result.marks) {
        FUZZ_CHECK(mark.start > previous && mark.start + mark.length <= text.size());
        const std::optional<tagbalance::Tag> tag = tagbalance::tagAt(text, mark.start);
        FUZZ_CHECK(tag && tag->length == mark.length);
        FUZZ_CHECK(text[mark.start + mark.length - 1] == u']' &&
                   !tagbalance::message(mark).isEmpty());
        previous = mark.start;
    }
    qsizetype end = 0;
    for (const tagbalance::Range& quote : result.quotes) {
        FUZZ_CHECK(quote.start >= end && quote.start < quote.end && quote.end <= text.size());
        const std::optional<tagbalance::Tag> opening = tagbalance::tagAt(text, quote.start);
        FUZZ_CHECK(opening && opening->name == QLatin1String("QUOTE") && !opening->closing);
        end = quote.end;
    }

    // Typed in slices into small pieces, then a part cut out, something else put in and the
    // part put back.
    tagbalance::PiecedText pieced(4 + qsizetype(size % 13));
    for (qsizetype at = 0; at < text.size(); at += 7)
        pieced.replace(at, 0, QStringView(text).mid(at, 7));
    const qsizetype cut = size > 0 ? data[0] % (text.size() + 1) : 0;
    const qsizetype count = (text.size() - cut) / 2;
    const QString other = QStringLiteral("[B]\n[/");
    pieced.replace(cut, count, other);
    pieced.replace(cut, other.size(), QStringView(text).mid(cut, count));
    FUZZ_CHECK(pieced.size() == text.size());
    for (qsizetype i = 0; i + 1 < pieced.pieces().size(); ++i) {
        const QByteArray& piece = pieced.pieces().at(i);
        FUZZ_CHECK(piece.endsWith('\n') || piece.endsWith('\r'));
    }
    const tagbalance::Result fromPieces = tagbalance::check(pieced);
    FUZZ_CHECK(fromPieces.marks == result.marks && fromPieces.quotes == result.quotes &&
               fromPieces.more == result.more);

    for (QStringView line : QStringView(text).split(u'\n')) {
        qsizetype after = 0;
        for (const spellscan::Word& word : spellscan::checkableWords(line)) {
            FUZZ_CHECK(word.start >= after && word.length >= 2 &&
                       word.start + word.length <= line.size());
            const QStringView w = line.sliced(word.start, word.length);
            FUZZ_CHECK(!w.first().isSpace() && !w.last().isSpace() && w.first() != u'[');
            FUZZ_CHECK(w.first().isLetter() || w.first().isSurrogate());
            after = word.start + word.length;
        }
    }
    return 0;
}

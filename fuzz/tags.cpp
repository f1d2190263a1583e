// The tag balance and the spelling word scanner: whatever the text, every mark sits on a tag
// the tag reader recognises, marks and quotes come in order inside the text, and every word is
// a run of letters inside its line, in order and apart.
#include "markup/SpellScan.h"
#include "markup/TagBalance.h"

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzzBytes(data, size));

    const tagbalance::Result result = tagbalance::check(text);
    qsizetype previous = -1;
    for (const tagbalance::Mark& mark : result.marks) {
        FUZZ_CHECK(mark.start > previous && mark.start + mark.length <= text.size());
        const std::optional<tagbalance::Tag> tag = tagbalance::tagAt(text, mark.start);
        FUZZ_CHECK(tag && tag->length == mark.length);
        FUZZ_CHECK(text[mark.start + mark.length - 1] == u']' && !mark.message.isEmpty());
        previous = mark.start;
    }
    qsizetype end = 0;
    for (const tagbalance::Range& quote : result.quotes) {
        FUZZ_CHECK(quote.start >= end && quote.start < quote.end && quote.end <= text.size());
        const std::optional<tagbalance::Tag> opening = tagbalance::tagAt(text, quote.start);
        FUZZ_CHECK(opening && opening->name == QLatin1String("QUOTE") && !opening->closing);
        end = quote.end;
    }

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

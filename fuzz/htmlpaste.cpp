// HTML from the clipboard as bracket markup: whatever the page, the conversion ends, its work
// stays linear in the parsed page, and the tags it writes are balanced and never crossed.
#include "text/HtmlToBBCode.h"
#include "text/TagBalance.h"

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const htmlpaste::Options options{(data[0] & 1) != 0};
    const QString base = (data[0] & 2) != 0 ? QStringLiteral("https://x.de/a/b.html") : QString();
    QByteArray bytes = fuzzBytes(data + 1, size - 1);
    const htmlpaste::Conversion any = htmlpaste::convert(QString::fromUtf8(bytes), options, base);
    FUZZ_CHECK(any.steps <= 4 * (any.nodes + 1));

    // Brackets of the page's own text stay as they are, so only a page without any (none
    // written, none from an entity) must give balanced tags.
    bytes.replace('[', QByteArray()).replace('&', QByteArray());
    const QString text = htmlpaste::convert(QString::fromUtf8(bytes), options, base).text;
    const tagbalance::Result balance = tagbalance::check(text);
    if (!balance.marks.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(tagbalance::message(balance.marks.front())));
    FUZZ_CHECK(balance.marks.isEmpty());
    return 0;
}

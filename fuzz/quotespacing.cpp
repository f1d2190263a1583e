// Quote tidying: the linear strFormat gives what the quadratic first version gave, and so do the
// deletions found in the edit field's own form of the text (breaks as U+2029, no lone CR or LF).
#include "text/QuoteSpacing.h"
#include "text/TextDecoding.h"

#include "FuzzCheck.h"
#include "tests/QuoteSpacingReference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reference is quadratic; longer inputs would only slow the search down.
    if (size > 8192)
        return 0;
    const QString text = textcodec::decodeText(fuzzBytes(data, size));
    const FormatResult result = strFormat(text);
    FUZZ_CHECK(!result.failed);
    FUZZ_CHECK(result.text == literalFormat(text));

    QString field = text;
    field.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    field.replace(u'\r', u'x').replace(u'\n', u'x');
    const quotespacing::Tidying tidying =
        quotespacing::tidy(field, quotespacing::Breaks::Paragraph);
    FUZZ_CHECK(!tidying.failed);
    QString tidied = field;
    for (auto it = tidying.deletions.crbegin(); it != tidying.deletions.crend(); ++it)
        tidied.remove(it->pos, it->removed);
    QString crlf = field;
    crlf.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    tidied.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    FUZZ_CHECK(tidied == literalFormat(crlf));
    return 0;
}

// Quote tidying: the linear strFormat gives what the quadratic first version gave.
#include "markup/QuoteSpacing.h"
#include "settings/TextDecoding.h"

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
    return 0;
}

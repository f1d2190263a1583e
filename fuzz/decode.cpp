// Text decoding: whatever the bytes, reading them and writing them back loses nothing.
#include "text/TextDecoding.h"

#include "FuzzCheck.h"

#include <cstring>

namespace {

// Writing a text as Windows-1252 succeeds exactly for texts that its reading can give.
void checkEncoding(const QString& text) {
    QByteArray out;
    if (!textcodec::encodeWindows1252(text, &out)) {
        bool outside = false;
        for (const QChar c : text)
            outside = outside || c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() < 0xA0);
        FUZZ_CHECK(outside);
        return;
    }
    FUZZ_CHECK(out.size() == text.size());
    // 0xFF is never UTF-8, so the reading takes the Windows-1252 path.
    FUZZ_CHECK(textcodec::decodeText(out + '\xFF').chopped(1) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const QString text = textcodec::decodeText(bytes);
    // Read as UTF-8 (a byte-order mark at the start dropped) or as Windows-1252, the text gives
    // the bytes back; which reading applies is pinned by tst_files.
    const QByteArray bom("\xEF\xBB\xBF");
    QByteArray back;
    FUZZ_CHECK(text.toUtf8() == (bytes.startsWith(bom) ? bytes.sliced(bom.size()) : bytes) ||
               (textcodec::encodeWindows1252(text, &back) && back == bytes));
    checkEncoding(text);
    checkEncoding(QString::fromLatin1(bytes));
    QString wide(bytes.size() / 2, Qt::Uninitialized); // any UTF-16, surrogates included
    std::memcpy(wide.data(), bytes.constData(), size_t(wide.size()) * 2);
    checkEncoding(wide);
    return 0;
}

// Text decoding: whatever the bytes, reading them and writing them back loses nothing.
#include "text/TextDecoding.h"

#include "FuzzCheck.h"

#include <cstring>

namespace {

// Well-formed UTF-8 as the Unicode standard defines it: no overlong forms, no surrogates,
// nothing beyond U+10FFFF. Written out here rather than asked of Qt, to judge the decoder.
bool isUtf8(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = uchar(bytes[i]);
        int more = 0;
        uchar low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + more >= bytes.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto next = uchar(bytes[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += more + 1;
    }
    return true;
}

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
    if (isUtf8(bytes)) {
        // The decoder drops a byte-order mark at the start, and only there.
        const QByteArray bom("\xEF\xBB\xBF");
        FUZZ_CHECK(text.toUtf8() == (bytes.startsWith(bom) ? bytes.sliced(bom.size()) : bytes));
    } else {
        QByteArray back;
        FUZZ_CHECK(text.size() == bytes.size());
        FUZZ_CHECK(textcodec::encodeWindows1252(text, &back));
        FUZZ_CHECK(back == bytes);
    }
    checkEncoding(text);
    checkEncoding(QString::fromLatin1(bytes));
    QString wide(bytes.size() / 2, Qt::Uninitialized); // any UTF-16, surrogates included
    std::memcpy(wide.data(), bytes.constData(), size_t(wide.size()) * 2);
    checkEncoding(wide);
    return 0;
}

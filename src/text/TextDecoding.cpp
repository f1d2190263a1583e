#include "text/TextDecoding.h"

#include <QStringDecoder>

namespace textcodec {

namespace {

// Windows-1252 bytes 0x80..0x9F; the rest is Latin-1. Its five unassigned bytes keep their
// value, as Windows maps them, so every byte reads as one character and writes back unchanged.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString decodeText(const QByteArray& bytes) {
    // Stateless: bytes of a character cut off at the end count as invalid, not as pending.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    text.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(kHigh[byte - 0x80]) : QChar(byte);
    }
    return text;
}

bool encodeWindows1252(const QString& text, QByteArray* out) {
    out->resize(text.size());
    char* dest = out->data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            *dest++ = char(u);
            continue;
        }
        int i = 0;
        while (i < 32 && kHigh[i] != u)
            ++i;
        if (i == 32)
            return false;
        *dest++ = char(0x80 + i);
    }
    return true;
}

} // namespace textcodec

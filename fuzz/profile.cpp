// Settings file: any bytes read as a document and written back unchanged; setting the GENERAL
// keys to numbers leaves the other sections alone, and reading gives back what was set.
#include "text/Config.h"
#include "text/ProfileDocument.h"
#include "text/TextDecoding.h"

#include "FuzzCheck.h"

#include <array>

namespace {

constexpr std::array kKeys = {config::AutoQuote,     config::AutoSave,        config::AlwaysOnTop,
                              config::FormBackColor, config::AutoSaveDelay,   config::TextColor,
                              config::TextBackColor, config::ButtonBackColor, config::Transparency};
const QString kGeneral = QStringLiteral("GENERAL");
const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

// The values to set, drawn from the input so that a crash reproduces: about half within the
// key's range, the rest anywhere in 32 bits. Unset keys stay unchanged.
struct Change {
    bool set = false;
    qint32 value = 0;
    QByteArray text;
};

std::array<Change, kKeys.size()> drawChanges(const QByteArray& bytes) {
    quint64 state = 0xcbf29ce484222325u; // FNV-1a, then xorshift for the draws
    for (const char c : bytes)
        state = (state ^ uchar(c)) * 0x100000001b3u;
    const auto draw = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::array<Change, kKeys.size()> changes;
    for (size_t k = 0; k < kKeys.size(); ++k) {
        const quint64 r = draw();
        changes[k].set = r % 4 != 0;
        const qint64 span = qint64(kKeys[k].maximum) - kKeys[k].minimum + 1;
        changes[k].value = (r >> 8) % 2
                               ? qint32(kKeys[k].minimum + qint64((r >> 16) % quint64(span)))
                               : qint32(quint32(r >> 16));
        changes[k].text = QByteArray::number(changes[k].value);
    }
    return changes;
}

// Whether the bytes read as Windows-1252 do: not UTF-8, or plain ASCII that reads alike either
// way. 0xFF is never UTF-8, so with it appended the reading is Windows-1252.
bool readsAs1252(const QByteArray& bytes) {
    return textcodec::decodeText(bytes) == textcodec::decodeText(bytes + '\xFF').chopped(1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    profile::Document doc = profile::Document::fromBytes(bytes);
    // Unchanged, the file is written back byte for byte, whatever its encoding.
    FUZZ_CHECK(doc.bytes() == bytes);

    // The two ways of reading agree.
    QHash<QString, QString> expected = doc.values(kGeneral);
    for (const config::SettingKey& key : kKeys) {
        const QString name = QLatin1String(key.name);
        FUZZ_CHECK(doc.value(kGeneral, name) == expected.value(name.toCaseFolded()));
        FUZZ_CHECK(doc.value(QStringLiteral(" general\t"), name.toUpper()) ==
                   doc.value(kGeneral, name));
    }
    const QHash<QString, QString> smilies = doc.values(QStringLiteral("SMILIES"));
    const QString decoded = textcodec::decodeText(bytes);
    doc.values(decoded.left(16));
    doc.value(decoded.left(8), decoded.mid(8, 8));

    // A line break in any part would split the line: refused, nothing changes.
    FUZZ_CHECK(!doc.setValue(kGeneral, QStringLiteral("AutoSave"), QStringLiteral("1\r\n2")));
    FUZZ_CHECK(!doc.setValue(QStringLiteral("GEN\nERAL"), QStringLiteral("AutoSave"),
                             QStringLiteral("1")));
    FUZZ_CHECK(!doc.setValue(kGeneral, QStringLiteral("Auto\rSave"), QStringLiteral("1")));
    FUZZ_CHECK(doc.bytes() == bytes);

    const auto changes = drawChanges(bytes);
    for (size_t k = 0; k < kKeys.size(); ++k) {
        if (!changes[k].set)
            continue;
        const QString name = QLatin1String(kKeys[k].name);
        const QString value = QString::fromLatin1(changes[k].text);
        FUZZ_CHECK(doc.setValue(kGeneral, name, value));
        expected.insert(name.toCaseFolded(), value);
    }
    const QByteArray after = doc.bytes();
    FUZZ_CHECK(doc.values(kGeneral) == expected);
    FUZZ_CHECK(doc.values(QStringLiteral("SMILIES")) == smilies);
    // The byte-order mark stays at the start. Which lines a change touches is pinned by
    // tst_profile's rows.
    FUZZ_CHECK(bytes.startsWith(kBom) == after.startsWith(kBom));
    const qsizetype skip = bytes.startsWith(kBom) ? kBom.size() : 0;

    // Read again from the written bytes, the values are those set, and the settings as the
    // program takes them are the numbers held to their ranges. A file read as Windows-1252 only
    // for bytes on a changed line reads as UTF-8 once they are gone, and its other lines may
    // then read differently; that is only compared while the reading stays.
    const profile::Document reread = profile::Document::fromBytes(after);
    FUZZ_CHECK(reread.bytes() == after);
    if (readsAs1252(bytes.sliced(skip)) && !readsAs1252(after.sliced(skip)))
        return 0;
    FUZZ_CHECK(reread.values(kGeneral) == expected);
    FUZZ_CHECK(reread.values(QStringLiteral("SMILIES")) == smilies);
    for (size_t k = 0; k < kKeys.size(); ++k) {
        if (!changes[k].set)
            continue;
        const config::SettingKey& key = kKeys[k];
        const QString stored = reread.value(kGeneral, QLatin1String(key.name));
        FUZZ_CHECK(stored == QString::fromLatin1(changes[k].text));
        const qint32 clamped = qBound(key.minimum, changes[k].value, key.maximum);
        FUZZ_CHECK(config::settingValue(stored, key.maximum, key.minimum, key.fallback) == clamped);
    }
    return 0;
}

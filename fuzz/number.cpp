// Number reader and the GENERAL settings built on it: any text gives a number, never NaN, and
// every setting stays within its range.
#include "text/Config.h"
#include "text/NumberReader.h"
#include "text/TextDecoding.h"

#include "FuzzCheck.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr std::array kKeys = {config::AutoQuote,     config::AutoSave,        config::AlwaysOnTop,
                              config::FormBackColor, config::AutoSaveDelay,   config::TextColor,
                              config::TextBackColor, config::ButtonBackColor, config::Transparency};

// Only an "&H" or "&O" number beyond 32 bits has no value (NaN).
bool isRadix(QString text) {
    text.remove(u' ').remove(u'\t').remove(u'\n');
    return text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("&O"), Qt::CaseInsensitive);
}

double read(const QString& text, NumberSyntax syntax) {
    const double x = readNumber(text, syntax);
    FUZZ_CHECK(!std::isnan(x) || (syntax == NumberSyntax::Setting && isRadix(text)));
    return x;
}

bool same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// "&H" / "&O" digits as a signed 16-bit number up to 0xFFFF, else as a signed 32-bit one.
double radixValue(quint32 u) {
    return u <= 0xFFFFu ? double(qint16(quint16(u))) : double(qint32(u));
}

// The nearest whole number, a tie to the even one; never -0, which would print as "-0".
void checkRounding(double x) {
    const double r = roundHalfEven(x);
    if (!std::isfinite(x)) {
        FUZZ_CHECK(same(r, x));
        return;
    }
    FUZZ_CHECK(r == std::floor(r));
    FUZZ_CHECK(r != 0 || !std::signbit(r));
    const double distance = std::fabs(r - x); // exact: r and x are at most 0.5 apart
    FUZZ_CHECK(distance <= 0.5);
    FUZZ_CHECK(distance < 0.5 || std::fmod(r, 2) == 0);
}

qint32 clamp(double x, const config::SettingKey& key) {
    return x > key.maximum ? key.maximum : x < key.minimum ? key.minimum : qint32(x);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = textcodec::decodeText(fuzzBytes(data, size));
    for (const NumberSyntax syntax : {NumberSyntax::Decimal, NumberSyntax::Setting}) {
        const double x = read(text, syntax);
        checkRounding(x);
        // A letter that belongs to no number ends it wherever it stands.
        FUZZ_CHECK(same(read(text + u'x', syntax), x));
    }
    FUZZ_CHECK(read(u' ' + text, NumberSyntax::Decimal) == read(text, NumberSyntax::Decimal));
    QString squeezed = text;
    squeezed.remove(u' ').remove(u'\t').remove(u'\n');
    FUZZ_CHECK(same(read(squeezed, NumberSyntax::Setting), read(text, NumberSyntax::Setting)));

    for (const config::SettingKey& key : kKeys) {
        const qint32 value = config::settingValue(text, key.maximum, key.minimum, key.fallback);
        FUZZ_CHECK(value >= key.minimum && value <= key.maximum);
        FUZZ_CHECK(!text.isEmpty() || value == key.fallback);
    }

    // Numbers as the program writes them read back exactly.
    if (size >= sizeof(double)) {
        double d;
        std::memcpy(&d, data, sizeof d);
        if (std::isnormal(d) || d == 0) {
            const QString written = QString::number(d, 'g', 17);
            FUZZ_CHECK(read(written, NumberSyntax::Decimal) == d);
            FUZZ_CHECK(read(written, NumberSyntax::Setting) == d);
        }
        quint32 u;
        std::memcpy(&u, data, sizeof u);
        const QString hex = QString::number(u, 16);
        FUZZ_CHECK(read("&H" + hex, NumberSyntax::Setting) == radixValue(u));
        FUZZ_CHECK(read("&H000" + hex, NumberSyntax::Setting) == radixValue(u));
        FUZZ_CHECK(std::isnan(read("&H1" + hex.rightJustified(8, u'0'), NumberSyntax::Setting)));
        FUZZ_CHECK(read("&o" + QString::number(u, 8), NumberSyntax::Setting) == radixValue(u));
        FUZZ_CHECK(std::isnan(
            read("&O4" + QString::number(u, 8).rightJustified(10, u'0'), NumberSyntax::Setting)));
        const auto i = qint32(u);
        for (const config::SettingKey& key : kKeys)
            FUZZ_CHECK(config::settingValue(QString::number(i), key.maximum, key.minimum,
                                            key.fallback) == clamp(i, key));
    }
    return 0;
}

// Number reader and the GENERAL settings built on it: any text gives a number, never NaN, and
// every setting stays within its range.
#include "settings/Config.h"
#include "settings/NumberReader.h"
#include "settings/TextDecoding.h"

#include "FuzzCheck.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr std::array kKeys = {config::AutoQuote,     config::AutoSave,        config::AlwaysOnTop,
                              config::FormBackColor, config::AutoSaveDelay,   config::TextColor,
                              config::TextBackColor, config::ButtonBackColor, config::Transparency};

double read(const QString& text, NumberSyntax syntax) {
    const double x = readNumber(text, syntax);
    FUZZ_CHECK(!std::isnan(x));
    return x;
}

// The nearest whole number, a tie to the even one; never -0, which would print as "-0".
void checkRounding(double x) {
    const double r = roundHalfEven(x);
    if (!std::isfinite(x)) {
        FUZZ_CHECK(r == x);
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
        FUZZ_CHECK(read(text + u'x', syntax) == x);
    }
    FUZZ_CHECK(read(u' ' + text, NumberSyntax::Decimal) == read(text, NumberSyntax::Decimal));
    QString squeezed = text;
    squeezed.remove(u' ').remove(u'\t').remove(u'\n');
    FUZZ_CHECK(read(squeezed, NumberSyntax::Setting) == read(text, NumberSyntax::Setting));

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
        FUZZ_CHECK(read("&H" + QString::number(u, 16), NumberSyntax::Setting) == u);
        FUZZ_CHECK(read("&o" + QString::number(u, 8), NumberSyntax::Setting) == u);
        const auto i = qint32(u);
        for (const config::SettingKey& key : kKeys)
            FUZZ_CHECK(config::settingValue(QString::number(i), key.maximum, key.minimum,
                                            key.fallback) == clamp(i, key));
    }
    return 0;
}

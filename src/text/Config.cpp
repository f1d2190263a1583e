#include "text/Config.h"

#include "text/NumberReader.h"

#include <cmath>

namespace config {

qint32 settingValue(const QString& stored, qint32 maximum, qint32 minimum, qint32 fallback) {
    const double x = roundHalfEven(readNumber(stored, NumberSyntax::Setting));
    // A hexadecimal or octal number too long for 32 bits has no value, like an empty one.
    if (stored.isEmpty() || std::isnan(x))
        return fallback;
    if (x > maximum)
        return maximum;
    if (x < minimum)
        return minimum;
    return qint32(x);
}

} // namespace config

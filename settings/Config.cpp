#include "settings/Config.h"

#include "settings/NumberReader.h"

namespace config {

qint32 settingValue(const QString& stored, qint32 maximum, qint32 minimum, qint32 fallback) {
    if (stored.isEmpty())
        return fallback;
    const double x = roundHalfEven(readNumber(stored, NumberSyntax::Setting));
    if (x > maximum)
        return maximum;
    if (x < minimum)
        return minimum;
    return qint32(x);
}

} // namespace config

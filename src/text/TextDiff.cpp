#include "text/TextDiff.h"

#include <algorithm>

namespace {

// Appends the deletions that turn `before` into `after`; false when `after` is not a
// subsequence of `before`.
bool deletionsOnly(QStringView before, QStringView after, qsizetype offset,
                   QList<TextChange>& out) {
    qsizetype i = 0;
    for (qsizetype j = 0; j < after.size(); ++j) {
        const qsizetype runStart = i;
        while (i < before.size() && before[i] != after[j])
            ++i;
        if (i == before.size())
            return false;
        if (i > runStart)
            out.append({offset + runStart, i - runStart, {}});
        ++i;
    }
    if (i < before.size())
        out.append({offset + i, before.size() - i, {}});
    return true;
}

} // namespace

QList<TextChange> smallestChanges(QStringView before, QStringView after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;

    const QStringView oldMiddle = before.mid(prefix, before.size() - prefix - suffix);
    const QStringView newMiddle = after.mid(prefix, after.size() - prefix - suffix);
    QList<TextChange> changes;
    if (oldMiddle.isEmpty() && newMiddle.isEmpty())
        return changes;
    if (newMiddle.size() < oldMiddle.size() && deletionsOnly(oldMiddle, newMiddle, prefix, changes))
        return changes;
    changes.clear();
    changes.append({prefix, oldMiddle.size(), newMiddle.toString()});
    return changes;
}

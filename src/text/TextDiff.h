#pragma once
#include <QList>
#include <QString>
#include <QStringView>

// One replacement: `removed` characters from `pos` give way to `inserted`.
struct TextChange {
    qsizetype pos = 0;
    qsizetype removed = 0;
    QString inserted;
    friend bool operator==(const TextChange&, const TextChange&) = default;
};

// Changes that turn `before` into `after`, in ascending order and not overlapping. The common
// start and end are kept; where `after` only lacks characters of `before` (as after tidying the
// blank lines) each deleted run is its own change, so a large text is not rewritten for a few
// deletions. Otherwise the differing middle is one replacement.
QList<TextChange> smallestChanges(QStringView before, QStringView after);

#include "platform/mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QSet>

namespace mnemonics {
namespace {

// The position of the letter after a single '&', or -1; "&&" is a plain ampersand.
qsizetype mnemonicAt(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return i + 1;
        ++i;
    }
    return -1;
}

} // namespace

void addMissing(QMenu* menu) {
    const QList<QAction*> items = menu->actions();
    QSet<QChar> taken;
    for (const QAction* item : items) {
        const QString text = item->text();
        if (const qsizetype at = mnemonicAt(text); at >= 0)
            taken.insert(text[at].toLower());
    }
    for (QAction* item : items) {
        if (item->menu())
            addMissing(item->menu());
        const QString text = item->text();
        if (item->isSeparator() || text.isEmpty() || mnemonicAt(text) >= 0)
            continue;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar letter = text[i].toLower();
            if (!letter.isLetterOrNumber() || taken.contains(letter) ||
                (i > 0 && text[i - 1] == u'&'))
                continue;
            taken.insert(letter);
            item->setText(QString(text).insert(i, u'&'));
            break;
        }
    }
}

} // namespace mnemonics

#include "platform/clipboard.h"

#include "text/EditBuffer.h"

#include <QClipboard>
#include <QGuiApplication>

namespace clipboard {

QString ClipboardText() {
    return toCrLf(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
}

void setClipboardText(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QGuiApplication::clipboard()->setText(plain, QClipboard::Clipboard);
}

} // namespace clipboard

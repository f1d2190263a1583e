#include "platform/clipboard.h"

#include "text/EditBuffer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace clipboard {

QString ClipboardText() {
    return toCrLf(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
}

void setClipboardText(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QGuiApplication::clipboard()->setText(plain, QClipboard::Clipboard);
}

void setClipboardHtml(const QString& html) {
    auto* data = new QMimeData;
    data->setHtml(html);
    data->setText(html);
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

} // namespace clipboard

#include "platform/clipboard.h"

#include "text/EditBuffer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace clipboard {

QString ClipboardText() {
    return toCrLf(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
}

Html ClipboardHtml() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasHtml())
        return {};
    Html html{true, data->html(), QString()};
    // Firefox names the page in its own type: the address, a line break, then the title.
    for (const char* type : {"text/x-moz-url-priv", "chromium/x-source-url"}) {
        const QByteArray source = data->data(QString::fromLatin1(type));
        if (source.isEmpty())
            continue;
        const bool utf16 = source.size() > 1 && source.size() % 2 == 0 && source[1] == '\0';
        const QString text =
            utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t*>(source.constData()),
                                       source.size() / 2)
                  : QString::fromUtf8(source);
        html.sourceUrl = text.section(QLatin1Char('\n'), 0, 0).trimmed();
        break;
    }
    return html;
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

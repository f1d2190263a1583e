#include "platform/clipboard.h"

#include "text/EditBuffer.h"

#include <QClipboard>
#include <QGuiApplication>

namespace clipboard {

QString ClipboardText() {
    return toCrLf(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
}

} // namespace clipboard

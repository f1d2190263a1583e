#include "markup/Commands.h"

#include "markup/EditBuffer.h"
#include "markup/TagPrimitives.h"
#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "settings/NumberReader.h"

namespace commands {

namespace {
constexpr int kMaxListItems = 255;
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

void quote(EditBuffer& buffer, bool autoQuote) {
    if (buffer.SelText().isEmpty() && autoQuote) {
        const int s = buffer.SelStart();
        const QString clip = clipboard::ClipboardText();
        const QString tag = strBuildTag(clip, QStringLiteral("QUOTE"), QString());
        buffer.ReplaceRange(tag, s + 1, 0);
        buffer.setSelStart(s + int(tag.size()));
        buffer.SetFocus();
        return;
    }
    WrapSelection(buffer, QStringLiteral("QUOTE"), QString(), CaretRule::BetweenTags);
}

void bold(EditBuffer& buffer) {
    WrapSelection(buffer, QStringLiteral("B"), QString(), CaretRule::AfterClosingTag);
}

void italic(EditBuffer& buffer) {
    WrapSelection(buffer, QStringLiteral("I"), QString(), CaretRule::AfterClosingTag);
}

QString linkTarget(const QString& clipboardText) {
    if (clipboardText.startsWith(QLatin1String("http://")) ||
        clipboardText.startsWith(QLatin1String("ftp://")))
        return clipboardText;
    if (clipboardText.startsWith(QLatin1String("www.")))
        return QStringLiteral("http://") + clipboardText;
    return QString();
}

void link(EditBuffer& buffer) {
    const QString target = linkTarget(clipboard::ClipboardText());
    WrapSelection(buffer, QStringLiteral("URL"), target, CaretRule::BetweenTags);
}

double listCount(const QString& answer) {
    return roundHalfEven(readNumber(QStringView(answer).left(3), NumberSyntax::Decimal));
}

QString buildList(int n) {
    QString list = kCrLf + QStringLiteral("[LIST]");
    for (int i = 0; i < n; ++i)
        list += kCrLf + QStringLiteral("[*]");
    return list + kCrLf + QStringLiteral("[/LIST]") + kCrLf;
}

void list(EditBuffer& buffer) {
    const double n =
        listCount(boxes::InputBox(QStringLiteral("Wieviele Listenpunkte?"),
                                  QStringLiteral("Liste anlegen")));
    if (n == 0)
        return;
    if (n > kMaxListItems) {
        boxes::MsgBox(QStringLiteral("Zu viele Listenpunkte"));
        return;
    }
    // A negative count gives the frame without items.
    buffer.ReplaceRange(buildList(n < 0 ? 0 : int(n)), buffer.SelStart() + 1, buffer.SelLength());
    buffer.SetFocus();
    buffer.setSelStart(buffer.TextLength());
}

} // namespace commands

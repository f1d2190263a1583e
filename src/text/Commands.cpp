#include "text/Commands.h"

#include "text/EditBuffer.h"
#include "text/NumberReader.h"
#include "text/TagPrimitives.h"

namespace commands {

namespace {
constexpr int kMaxListItems = 255;
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

void quote(EditBuffer& buffer, bool autoQuote, const QString& clipboardText) {
    if (buffer.SelText().isEmpty() && autoQuote) {
        const int s = buffer.SelStart();
        const QString tag = strBuildTag(clipboardText, QStringLiteral("QUOTE"), QString());
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

void link(EditBuffer& buffer, const QString& clipboardText) {
    const QString target = linkTarget(clipboardText);
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

ListResult list(EditBuffer& buffer, const QString& answer) {
    const double n = listCount(answer);
    if (n == 0)
        return ListResult::Nothing;
    if (n > kMaxListItems)
        return ListResult::TooMany;
    // A negative count gives the frame without items.
    buffer.ReplaceRange(buildList(n < 0 ? 0 : int(n)), buffer.SelStart() + 1, buffer.SelLength());
    buffer.SetFocus();
    buffer.setSelStart(buffer.TextLength());
    return ListResult::Inserted;
}

} // namespace commands

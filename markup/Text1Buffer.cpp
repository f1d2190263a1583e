#include "markup/Text1Buffer.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

QString widgetToBuffer(QString text) {
    return text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
}

} // namespace

Text1Buffer::Text1Buffer(QPlainTextEdit* edit) : m_edit(edit) {
    m_changed = QObject::connect(edit->document(), &QTextDocument::contentsChange,
                                 [this](int, int, int) { m_cacheValid = false; });
}

Text1Buffer::~Text1Buffer() {
    QObject::disconnect(m_changed);
}

QString Text1Buffer::Text() const {
    if (!m_cacheValid) {
        m_cache = widgetToBuffer(m_edit->document()->toRawText());
        m_cacheValid = true;
    }
    return m_cache;
}

int Text1Buffer::TextLength() const {
    const QTextDocument* doc = m_edit->document();
    // characterCount() counts the final paragraph break, which is not text.
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

int Text1Buffer::toBuffer(int widgetPos) const {
    return widgetPos + m_edit->document()->findBlock(widgetPos).blockNumber();
}

Text1Buffer::WidgetPos Text1Buffer::toWidget(int offset) const {
    const QTextDocument* doc = m_edit->document();
    offset = std::clamp(offset, 0, TextLength());
    // Block b starts at buffer offset position(b) + b: every earlier break is one character
    // longer in the buffer.
    int lo = 0, hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const int within = offset - (block.position() + lo);
    const int textLength = block.length() - 1;
    if (within <= textLength)
        return {block.position() + within, false};
    return {block.position() + textLength, true};
}

void Text1Buffer::applyChanges(const QList<TextChange>& changes) {
    if (changes.isEmpty())
        return;
    QTextCursor cursor(m_edit->document());
    cursor.beginEditBlock();
    // Back to front, so the offsets of the changes still to come stay valid.
    for (auto it = changes.crbegin(); it != changes.crend(); ++it) {
        const WidgetPos from = toWidget(int(it->pos));
        const WidgetPos to = toWidget(int(it->pos + it->removed));
        // A change that starts or ends inside a CR LF pair takes the whole break and puts back
        // its half, so the result reads as the same characters.
        QString text = it->inserted;
        if (from.midPair)
            text.prepend(QLatin1Char('\r'));
        int end = to.pos;
        if (to.midPair) {
            text.append(QLatin1Char('\n'));
            ++end;
        }
        cursor.setPosition(from.pos);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.insertText(text); // Qt turns CR LF, CR and LF each into one break
    }
    cursor.endEditBlock();
}

void Text1Buffer::setText(const QString& text) {
    applyChanges(smallestChanges(Text(), text));
    setSelStart(0);
}

void Text1Buffer::ReplaceRange(const QString& insert, int lngPos, int lngLen) {
    const int n = TextLength();
    if (lngPos >= 1 && lngPos <= n + 1) {
        const int start = lngPos - 1;
        const int removed = std::clamp(lngLen, 0, n - start);
        applyChanges({TextChange{start, removed, insert}});
    }
    setSelStart(0);
}

int Text1Buffer::SelStart() const {
    return toBuffer(m_edit->textCursor().selectionStart());
}

void Text1Buffer::setSelStart(int offset) {
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(toWidget(offset).pos);
    m_edit->setTextCursor(cursor);
}

int Text1Buffer::SelLength() const {
    const QTextCursor cursor = m_edit->textCursor();
    return toBuffer(cursor.selectionEnd()) - toBuffer(cursor.selectionStart());
}

void Text1Buffer::setSelLength(int length) {
    const int start = SelStart();
    const int end = int(std::min<qint64>(qint64(start) + std::max(length, 0), TextLength()));
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(toWidget(start).pos);
    cursor.setPosition(toWidget(end).pos, QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
}

QString Text1Buffer::SelText() const {
    return widgetToBuffer(m_edit->textCursor().selectedText());
}

void Text1Buffer::SetFocus() {
    m_edit->setFocus(Qt::OtherFocusReason);
}

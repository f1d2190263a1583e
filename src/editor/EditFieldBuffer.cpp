#include "editor/EditFieldBuffer.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace {

// Paragraph breaks become CR LF. One pass into a buffer of the final size: QString::replace
// with a longer replacement is several times slower on a 10 MB text.
QString widgetToBuffer(const QString& text) {
    const QStringView in(text);
    const qsizetype breaks = in.count(QChar::ParagraphSeparator);
    if (breaks == 0)
        return text;
    QString out(text.size() + breaks, Qt::Uninitialized);
    QChar* dst = out.data();
    qsizetype from = 0;
    for (qsizetype at; (at = in.indexOf(QChar::ParagraphSeparator, from)) >= 0; from = at + 1) {
        dst = std::copy(in.begin() + from, in.begin() + at, dst);
        *dst++ = u'\r';
        *dst++ = u'\n';
    }
    std::copy(in.begin() + from, in.end(), dst);
    return out;
}

// Widget positions of the ascending offsets in `offsets`, found by one scan of the buffer's
// text instead of a block search per offset.
QList<EditFieldBuffer::WidgetPos> widgetPositions(QStringView text,
                                                  const QList<qsizetype>& offsets) {
    QList<EditFieldBuffer::WidgetPos> out;
    out.reserve(offsets.size());
    qsizetype scanned = 0, pairs = 0; // pairs = line breaks ending before `scanned`
    for (const qsizetype offset : offsets) {
        pairs += text.mid(scanned, offset - scanned).count(u'\n');
        scanned = offset;
        const bool mid = offset > 0 && offset < text.size() && text[offset] == u'\n';
        out.append({int(mid ? offset - 1 - pairs : offset - pairs), mid});
    }
    return out;
}

} // namespace

EditFieldBuffer::EditFieldBuffer(QPlainTextEdit* edit) : m_edit(edit) {}

// Made afresh each time: a kept copy would double the memory of a large text.
QString EditFieldBuffer::Text() const {
    return widgetToBuffer(m_edit->document()->toRawText());
}

QString EditFieldBuffer::rawText() const {
    return m_edit->document()->toRawText();
}

int EditFieldBuffer::TextLength() const {
    const QTextDocument* doc = m_edit->document();
    // characterCount() counts the final paragraph break, which is not text.
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

int EditFieldBuffer::toBuffer(int widgetPos) const {
    return widgetPos + m_edit->document()->findBlock(widgetPos).blockNumber();
}

EditFieldBuffer::WidgetPos EditFieldBuffer::toWidget(int offset) const {
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

void EditFieldBuffer::applyChanges(const QList<TextChange>& changes,
                                   const QList<WidgetPos>& bounds) {
    if (changes.isEmpty())
        return;
    QTextCursor cursor(m_edit->document());
    cursor.beginEditBlock();
    // Back to front, so the positions of the changes still to come stay valid.
    for (qsizetype i = changes.size() - 1; i >= 0; --i) {
        const TextChange* it = &changes[i];
        const WidgetPos from = bounds[2 * i];
        const WidgetPos to = bounds[2 * i + 1];
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

void EditFieldBuffer::setText(const QString& text) {
    const QString old = Text();
    const QList<TextChange> changes = smallestChanges(old, text);
    QList<qsizetype> offsets;
    offsets.reserve(2 * changes.size());
    for (const TextChange& change : changes)
        offsets << change.pos << change.pos + change.removed;
    applyChanges(changes, widgetPositions(old, offsets));
    setSelStart(0);
}

void EditFieldBuffer::removeFromRawText(const QList<TextChange>& deletions) {
    QList<WidgetPos> bounds;
    bounds.reserve(2 * deletions.size());
    for (const TextChange& deletion : deletions)
        bounds << WidgetPos{int(deletion.pos)} << WidgetPos{int(deletion.pos + deletion.removed)};
    applyChanges(deletions, bounds);
    setSelStart(0);
}

void EditFieldBuffer::ReplaceRange(const QString& insert, int lngPos, int lngLen) {
    const int n = TextLength();
    if (lngPos >= 1 && lngPos <= n + 1) {
        const int start = lngPos - 1;
        const int removed = std::clamp(lngLen, 0, n - start);
        applyChanges({TextChange{start, removed, insert}},
                     {toWidget(start), toWidget(start + removed)});
    }
    if (!m_caretPending) {
        m_caretPending = true;
        QTimer::singleShot(0, &m_timerContext, [this] { placePending(); });
    }
}

void EditFieldBuffer::placePending() {
    if (m_caretPending)
        setSelStart(0);
}

QChar EditFieldBuffer::CharAt(int offset) const {
    const WidgetPos at = toWidget(offset);
    if (at.midPair)
        return u'\n';
    const QChar c = m_edit->document()->characterAt(at.pos);
    return c == QChar::ParagraphSeparator ? QChar(u'\r') : c;
}

int EditFieldBuffer::SelStart() const {
    if (m_caretPending)
        return 0;
    return toBuffer(m_edit->textCursor().selectionStart());
}

void EditFieldBuffer::setSelStart(int offset) {
    m_caretPending = false;
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(toWidget(offset).pos);
    m_edit->setTextCursor(cursor);
}

int EditFieldBuffer::SelLength() const {
    if (m_caretPending)
        return 0;
    const QTextCursor cursor = m_edit->textCursor();
    return toBuffer(cursor.selectionEnd()) - toBuffer(cursor.selectionStart());
}

void EditFieldBuffer::setSelLength(int length) {
    const int start = SelStart();
    const int end = int(std::min<qint64>(qint64(start) + std::max(length, 0), TextLength()));
    m_caretPending = false;
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(toWidget(start).pos);
    cursor.setPosition(toWidget(end).pos, QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
}

QString EditFieldBuffer::SelText() const {
    if (m_caretPending)
        return QString();
    return widgetToBuffer(m_edit->textCursor().selectedText());
}

void EditFieldBuffer::SetFocus() {
    m_edit->setFocus(Qt::OtherFocusReason);
}

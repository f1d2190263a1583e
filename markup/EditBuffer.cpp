#include "markup/EditBuffer.h"

#include "markup/TagPrimitives.h"

#include <algorithm>

void EditBuffer::ReplaceRange(const QString& insert, int lngPos, int lngLen) {
    setText(strReplaceRange(Text(), insert, lngPos, lngLen));
}

void PlainEditBuffer::setText(const QString& text) {
    m_text = text;
    m_selStart = 0;
    m_selLength = 0;
}

void PlainEditBuffer::setSelStart(int offset) {
    m_selStart = std::clamp(offset, 0, TextLength());
    m_selLength = 0;
}

void PlainEditBuffer::setSelLength(int length) {
    m_selLength = std::clamp(length, 0, TextLength() - m_selStart);
}

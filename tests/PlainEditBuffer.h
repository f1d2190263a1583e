#pragma once
#include "text/EditBuffer.h"

#include <algorithm>

// The edit buffer on a plain object, for the text logic without a window; it counts the
// focus requests a window would get.
class PlainEditBuffer : public EditBuffer {
public:
    explicit PlainEditBuffer(QString text = {}) : m_text(std::move(text)) {}

    QString Text() const override { return m_text; }
    int TextLength() const override { return int(m_text.size()); }
    int SelStart() const override { return m_selStart; }
    int SelLength() const override { return m_selLength; }
    QString SelText() const override { return m_text.mid(m_selStart, m_selLength); }
    void SetFocus() override { ++m_focusCalls; }

    int focusCalls() const { return m_focusCalls; }

    void setText(const QString& text) override {
        m_text = text;
        m_selStart = 0;
        m_selLength = 0;
    }

    void setSelStart(int offset) override {
        m_selStart = std::clamp(offset, 0, TextLength());
        m_selLength = 0;
    }

    void setSelLength(int length) override {
        m_selLength = std::clamp(length, 0, TextLength() - m_selStart);
    }

private:
    QString m_text;
    int m_selStart = 0;
    int m_selLength = 0;
    int m_focusCalls = 0;
};

#pragma once
#include "text/EditBuffer.h"
#include "text/TextDiff.h"

#include <QObject>

class QPlainTextEdit;

// The edit buffer bound to the text widget. The widget keeps one paragraph break where the
// buffer has CR LF, so offsets are mapped both ways; a lone CR or LF written into the text
// becomes a line break and reads back as CR LF. Every write is applied as the smallest edit in
// one undo step, so a command is undone with one Ctrl+Z and a splice costs the same for a short
// and for a 10 MB text.
class EditFieldBuffer : public EditBuffer {
public:
    explicit EditFieldBuffer(QPlainTextEdit* edit);
    EditFieldBuffer(const EditFieldBuffer&) = delete;
    EditFieldBuffer& operator=(const EditFieldBuffer&) = delete;

    QString Text() const override;
    void setText(const QString& text) override;
    int TextLength() const override;
    int SelStart() const override;
    void setSelStart(int offset) override;
    int SelLength() const override;
    void setSelLength(int length) override;
    QString SelText() const override;
    void SetFocus() override;
    void ReplaceRange(const QString& insert, int lngPos, int lngLen) override;
    QChar CharAt(int offset) const override;

    // The widget's own text, paragraph breaks as U+2029: no CR LF copy is made (see fileBytes).
    QString rawText() const;
    // Deletes spans of rawText() (ascending, not overlapping) in one undo step and puts the
    // caret at the start, as setText does.
    void removeFromRawText(const QList<TextChange>& deletions);

    // Widget position of a buffer offset; an offset between CR and LF maps to the break and
    // sets midPair.
    struct WidgetPos {
        int pos = 0;
        bool midPair = false;
    };
    WidgetPos toWidget(int offset) const;
    int toBuffer(int widgetPos) const;

private:
    // `bounds` holds the widget positions of each change's start and end.
    void applyChanges(const QList<TextChange>& changes, const QList<WidgetPos>& bounds);

    // After a splice the caret is at 0 for the buffer, but the widget's caret is only moved
    // by the next placement (every command places it right after), so the view does not
    // scroll to the top and back. Left unplaced, it is moved when control returns to the loop.
    void placePending();
    bool m_caretPending = false;
    QObject m_timerContext; // a placement still waiting goes with the buffer

    QPlainTextEdit* m_edit;
};

#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

// The text of the edit field with its selection. Line breaks are CR LF; offsets count UTF-16
// code units. Writing the text leaves the caret at 0 with nothing selected; writing SelStart
// empties the selection.
class EditBuffer {
public:
    virtual ~EditBuffer() = default;

    virtual QString Text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual int TextLength() const = 0;

    virtual int SelStart() const = 0;
    virtual void setSelStart(int offset) = 0;
    virtual int SelLength() const = 0;
    virtual void setSelLength(int length) = 0;
    virtual QString SelText() const = 0;
    virtual void SetFocus() = 0;

    // The character at the offset (0 <= offset < TextLength()), without reading the whole text.
    virtual QChar CharAt(int offset) const { return Text().at(offset); }

    // Text = strReplaceRange(Text, insert, lngPos, lngLen), caret to 0. A binding overrides it
    // to splice in place instead of rebuilding the whole text.
    virtual void ReplaceRange(const QString& insert, int lngPos, int lngLen);
};

// The buffer's line-break rule: lone CR, lone LF and CR LF each become CR LF.
QString toCrLf(const QString& text);

// A text file's text without the one line break (CR LF or LF) that closes the file.
QString withoutClosingBreak(QString text);

// Puts the text in place of the selection (one undo step where the binding has undo); the caret
// goes behind it.
void replaceSelection(EditBuffer& buffer, const QString& text);

// The bytes of a text file written from the edit field's own text: each paragraph break
// (U+2029) as CR LF, UTF-8, and one CR LF at the end. One pass, without a CR LF copy of the
// whole text.
QByteArray fileBytes(QStringView widgetText);

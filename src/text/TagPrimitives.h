#pragma once
#include <QString>

class EditBuffer;

// "[tag]" or "[tag=param]", then the text, then "[/tag]". Nothing is escaped.
QString strBuildTag(const QString& strText, const QString& strTag, const QString& strParam);

// strInsert in place of lngLen characters from the 1-based position lngPos; a position outside
// 1..length+1 leaves the text unchanged.
QString strReplaceRange(const QString& strText, const QString& strInsert, qint64 lngPos,
                        qint64 lngLen);

enum class CaretRule { BetweenTags, AfterClosingTag };

// Applies the tag at the caret or around the selection and places the caret.
void WrapSelection(EditBuffer& buffer, const QString& strTag, const QString& strParam,
                   CaretRule rule);

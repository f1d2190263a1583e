#pragma once
#include <QColor>
#include <QtGlobal>

class QPalette;
class QWidget;

namespace window {

// Colour values: an RGB colour with red in the lowest byte, or a reference to a colour of the
// desktop's scheme (0x80000000 + index, negative as a signed number).
constexpr qint32 systemColor(int index) {
    return qint32(0x80000000u + unsigned(index));
}
constexpr qint32 kButtonFace = systemColor(15);
constexpr qint32 kWindowBackground = systemColor(5);
constexpr qint32 kWindowText = systemColor(8);
QColor resolveColor(qint32 value, const QPalette& desktop);

// A control's background and text colour values; scheme references follow the desktop theme
// (refreshColors re-resolves them after a theme change).
void setBackColor(QWidget* control, qint32 value);
qint32 backColor(const QWidget* control);
void setForeColor(QWidget* control, qint32 value);
qint32 foreColor(const QWidget* control);
void refreshColors(QWidget* root);

} // namespace window

#include "platform/window_colors.h"

#include <QApplication>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <iterator>

namespace window {

QColor resolveColor(qint32 value, const QPalette& desktop) {
    const auto v = quint32(value);
    if ((v & 0x80000000u) == 0)
        return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
    static const QPalette::ColorRole roles[] = {QPalette::Button,
                                                QPalette::Window,
                                                QPalette::Highlight,
                                                QPalette::Mid,
                                                QPalette::Window,
                                                QPalette::Base,
                                                QPalette::Shadow,
                                                QPalette::WindowText,
                                                QPalette::Text,
                                                QPalette::HighlightedText,
                                                QPalette::Window,
                                                QPalette::Window,
                                                QPalette::Dark,
                                                QPalette::Highlight,
                                                QPalette::HighlightedText,
                                                QPalette::Button,
                                                QPalette::Mid,
                                                QPalette::PlaceholderText,
                                                QPalette::ButtonText,
                                                QPalette::WindowText,
                                                QPalette::Light,
                                                QPalette::Shadow,
                                                QPalette::Midlight,
                                                QPalette::ToolTipText,
                                                QPalette::ToolTipBase,
                                                QPalette::Window,
                                                QPalette::Link,
                                                QPalette::Highlight,
                                                QPalette::Mid,
                                                QPalette::Highlight,
                                                QPalette::Window};
    const quint32 index = v & 0xFFFFu;
    return desktop.color(index < std::size(roles) ? roles[index] : QPalette::Window);
}

namespace {

constexpr const char* kBackColor = "backColorValue";
constexpr const char* kForeColor = "foreColorValue";

bool isTextArea(const QWidget* control) {
    return control->inherits("QAbstractScrollArea") || control->inherits("QComboBox");
}

void applyColors(QWidget* control) {
    const QPalette desktop = QApplication::palette();
    QPalette palette = control->palette();
    const QVariant back = control->property(kBackColor);
    if (back.isValid()) {
        const QColor color = resolveColor(back.toInt(), desktop);
        if (isTextArea(control)) {
            palette.setColor(QPalette::Base, color);
            palette.setColor(QPalette::Button, color);
        } else if (control->inherits("QAbstractButton") && !control->inherits("QCheckBox")) {
            palette.setColor(QPalette::Button, color);
        } else {
            palette.setColor(QPalette::Window, color);
            control->setAutoFillBackground(true);
        }
    }
    const QVariant fore = control->property(kForeColor);
    if (fore.isValid()) {
        const QColor color = resolveColor(fore.toInt(), desktop);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::ButtonText, color);
    }
    control->setPalette(palette);
}

} // namespace

void setBackColor(QWidget* control, qint32 value) {
    control->setProperty(kBackColor, value);
    applyColors(control);
}

qint32 backColor(const QWidget* control) {
    const QVariant v = control->property(kBackColor);
    return v.isValid() ? v.toInt() : (isTextArea(control) ? kWindowBackground : kButtonFace);
}

void setForeColor(QWidget* control, qint32 value) {
    control->setProperty(kForeColor, value);
    applyColors(control);
}

qint32 foreColor(const QWidget* control) {
    const QVariant v = control->property(kForeColor);
    return v.isValid() ? v.toInt() : kWindowText;
}

void refreshColors(QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets)
        if (w->property(kBackColor).isValid() || w->property(kForeColor).isValid())
            applyColors(w);
}

} // namespace window

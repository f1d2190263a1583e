#include "platform/boxes.h"

#include "platform/window.h"
#include "version.h"

#include <QApplication>
#include <QColorDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace boxes {

Seam& seam() {
    static Seam s;
    return s;
}

QString appTitle() {
    return QStringLiteral(BEITRAGSBOX_TITLE);
}

void MsgBox(const QString& text, Icon icon, const QString& title) {
    if (seam().active) {
        seam().messages << title + QLatin1Char('|') +
                               QString::number(icon == Icon::Critical ? 16 : 0) + QLatin1Char('|') +
                               text;
        return;
    }
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                    text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    window::execModal(&box);
}

QString InputBox(const QString& prompt, const QString& title) {
    if (seam().active) {
        seam().inputPrompts << title + QLatin1Char('|') + prompt;
        if (seam().inputAnswers.empty())
            return QString();
        QString answer = seam().inputAnswers.front();
        seam().inputAnswers.pop_front();
        return answer;
    }
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    dialog.setWindowModality(Qt::ApplicationModal);
    if (window::execModal(&dialog) != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

ColorChoice ChooseColorDlg(QWidget* owner) {
    if (seam().active) {
        if (seam().colors.empty())
            return ColorChoice{};
        const std::optional<qint32> next = seam().colors.front();
        seam().colors.pop_front();
        return next ? ColorChoice{*next, false} : ColorChoice{};
    }
    // Rebuilt for every call: choices in the custom area are not kept.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(254, 254, 254));
    QColorDialog dialog(QColor(0, 0, 0), owner);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (window::execModal(&dialog) != QDialog::Accepted)
        return ColorChoice{};
    const QColor c = dialog.selectedColor();
    return ColorChoice{qint32(c.red() | (c.green() << 8) | (c.blue() << 16)), false};
}

} // namespace boxes

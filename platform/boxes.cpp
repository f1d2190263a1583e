#include "platform/boxes.h"

#include "version.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace boxes {

Seam& seam() {
    static Seam s;
    return s;
}

QString appTitle() { return QStringLiteral(BEITRAGSBOX_TITLE); }

void MsgBox(const QString& text, Icon icon, const QString& title) {
    if (seam().active) {
        seam().messages << title + QLatin1Char('|') +
                               QString::number(icon == Icon::Critical ? 16 : 0) +
                               QLatin1Char('|') + text;
        return;
    }
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                    text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
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
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

} // namespace boxes

#include "platform/boxes.h"

#include "platform/window_modal.h"
#include "version.h"

#include <QApplication>
#include <QColorDialog>
#include <QDebug>
#include <QInputDialog>
#include <QMessageBox>

namespace boxes {

Seam& seam() {
    static Seam s;
    return s;
}

namespace {
bool g_ending = false;
} // namespace

void closeForEnd() {
    g_ending = true;
    // Innermost first; each closed window returns from its own loop once control gets there.
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (modal->isVisible())
            modal->hide();
    }
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
    if (!g_ending) {
        QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                        text, QMessageBox::Ok, window::modalOwner());
        box.setWindowModality(Qt::ApplicationModal);
        window::execModal(&box);
    }
    // Closed by the end of the program, or shown after it began: nobody read it.
    if (g_ending)
        qWarning().noquote() << title + QStringLiteral(": ") + text;
}

bool AskYesNo(const QString& text, const QString& title) {
    if (seam().active) {
        seam().messages << title + QStringLiteral("|?|") + text;
        if (seam().yesNoAnswers.empty())
            return false;
        const bool answer = seam().yesNoAnswers.front();
        seam().yesNoAnswers.pop_front();
        return answer;
    }
    if (g_ending)
        return false;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    window::modalOwner());
    box.setDefaultButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return window::execModal(&box) == QMessageBox::Yes;
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
    if (g_ending)
        return QString();
    QInputDialog dialog(window::modalOwner());
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
    if (g_ending)
        return ColorChoice{};
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

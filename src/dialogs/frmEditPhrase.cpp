#include "dialogs/frmEditPhrase.h"

#include "platform/boxes.h"
#include "platform/files.h"
#include "platform/window_twips.h"
#include "text/EditBuffer.h"
#include "text/QuickTexts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

frmEditPhrase::frmEditPhrase(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmEditPhrase"));
    setWindowTitle(QStringLiteral("Schnell-Text editieren"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setTabChangesFocus(true);
    Text1->setAccessibleName(QStringLiteral("Schnell-Text"));
    window::placeTwips(Text1, 120, 120, 6135, 3135);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    window::placeTwips(cmdOK, 120, 3360, 1455, 375);
    cmdCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    window::placeTwips(cmdCancel, 4800, 3360, 1455, 375);
    // Neither button answers Enter.
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    setTabOrder(Text1, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    window::fixedSizeTwips(this, 6375, 3840);
    connect(cmdOK, &QPushButton::clicked, this, &frmEditPhrase::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEditPhrase::cmdCancel_Click);
}

frmEditPhrase* frmEditPhrase::Load(QWidget* owner, int n) {
    frmEditPhrase* editor = loadWith([owner] { return new frmEditPhrase(owner); });
    editor->m_number = n;
    // The file, not the table, is the source; a missing file opens an empty editor.
    const files::ReadResult read =
        files::readTextFile(quicktexts::fileName(n), files::kMaxUserText);
    editor->Text1->setPlainText(read.ok ? read.text : QString());
    if (read.tooLarge)
        boxes::MsgBox(QStringLiteral("Die Datei \"%1\" wurde nicht gelesen.\n%2")
                          .arg(quicktexts::fileName(n), read.reason));
    editor->Text1->setFocus();
    return editor;
}

void frmEditPhrase::cmdOk_Click() {
    const int n = m_number;
    const QString t = toCrLf(Text1->toPlainText());
    // The file first: if it cannot be written, the editor stays open with the text.
    const QString name = quicktexts::fileName(n);
    const files::WriteResult written = files::writeTextFile(name, t);
    if (!written.ok) {
        boxes::MsgBox(QStringLiteral("Der Schnell-Text konnte nicht in die Datei \"%1\" "
                                     "gespeichert werden.\n%2")
                          .arg(name, written.reason));
        return;
    }
    emit saved(n, t);
    hide();
}

void frmEditPhrase::cmdCancel_Click() {
    Unload();
}

void frmEditPhrase::keyPressEvent(QKeyEvent* event) {
    // Esc is bound to no button here.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmEditPhrase::closeEvent(QCloseEvent* event) {
    event->accept();
    Unload();
}

#include "snippets/frmEditPhrase.h"

#include "app/Form1.h"
#include "app/modMain.h"
#include "markup/EditBuffer.h"
#include "options/Form2.h"
#include "platform/boxes.h"
#include "platform/files.h"
#include "platform/window.h"
#include "snippets/QuickTexts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
frmEditPhrase* g_editor = nullptr;
} // namespace

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

frmEditPhrase::~frmEditPhrase() {
    if (g_editor == this)
        g_editor = nullptr;
}

frmEditPhrase* frmEditPhrase::instance() {
    return g_editor;
}

frmEditPhrase* frmEditPhrase::Load(QWidget* owner) {
    if (!g_editor)
        g_editor = new frmEditPhrase(owner);
    // The file, not the table, is the source; a missing file opens an empty editor.
    const int n = Form2::instance()->selectedQuickText();
    const files::ReadResult read = files::readTextFile(quicktexts::fileName(n));
    g_editor->Text1->setPlainText(read.ok ? read.text : QString());
    g_editor->Text1->setFocus();
    return g_editor;
}

void frmEditPhrase::Unload() {
    window::unloadLater(g_editor);
}

void frmEditPhrase::cmdOk_Click() {
    Form2* options = Form2::instance();
    const int n = options->selectedQuickText();
    if (n < 0)
        return;
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
    const QString entry = quicktexts::comboEntry(n, t);
    Form1::instance()->Combo1->setItemText(n, entry);
    options->Combo1->setItemText(n, entry);
    strQuickText[n] = t;
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

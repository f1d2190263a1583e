#include "dialogs/InfoWindows.h"

#include "platform/boxes.h"
#include "platform/files.h"
#include "platform/window_colors.h"
#include "platform/window_twips.h"
#include "text/NumberReader.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>

#include <cmath>

namespace {

// The frame between outer size and client area implied by the quick-help window's layout:
// client 4710 x 3135 with a text box 120 narrower and 520 lower than the outer size.
constexpr double kHelpFrameWidth = 105;
constexpr double kHelpFrameHeight = 400;

QPlainTextEdit* makeTextBox(QWidget* parent, const QString& name, bool readOnly) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(readOnly);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    window::setBackColor(box, window::systemColor(10));
    return box;
}

} // namespace

QString readShownFile(const QString& fileName) {
    const files::ReadResult read = files::readTextFile(fileName, files::kMaxUserText);
    if (read.missing)
        files::writeFile(fileName, {}); // an empty file, as the original left behind
    if (read.tooLarge)
        boxes::MsgBox(
            QStringLiteral("Die Datei \"%1\" wurde nicht gelesen.\n%2").arg(fileName, read.reason));
    return read.ok ? read.text : QString();
}

frmAbout::frmAbout(QWidget* owner, const QString& caption) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAccessibleName(QStringLiteral("Programmsymbol"));
    window::placeTwips(picIcon, 120, 120, 615, 495);
    txtInfo = makeTextBox(this, QStringLiteral("txtInfo"), true);
    txtInfo->setAccessibleName(QStringLiteral("Programminformationen"));
    window::placeTwips(txtInfo, 720, 120, 3735, 1335);
    window::fixedSizeTwips(this, 4620, 1530);
    txtInfo->setFocus();
    Form_Load(owner, caption);
}

void frmAbout::Form_Load(QWidget* owner, const QString& caption) {
    setWindowIcon(owner->windowIcon());
    picIcon->setPixmap(owner->windowIcon().pixmap(32, 32));
    setWindowTitle(QStringLiteral("Über ") + caption);
    txtInfo->setPlainText(readShownFile(QStringLiteral("readme.txt")));
}

frmKurzHilfe::frmKurzHilfe(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("frmKurzHilfe"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kurzhilfe"));
    txtKurzHilfe = makeTextBox(this, QStringLiteral("txtKurzHilfe"), false);
    txtKurzHilfe->setAccessibleName(QStringLiteral("Kurzhilfe-Text"));
    window::placeTwips(txtKurzHilfe, 0, 120, 4695, 3015);
    window::resizeTwips(this, 4710, 3135);
    Form_Load(owner);
}

frmKurzHilfe* frmKurzHilfe::Show(QWidget* owner) {
    frmKurzHilfe* help = loadWith([owner] { return new frmKurzHilfe(owner); });
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void frmKurzHilfe::Form_Load(QWidget* owner) {
    setWindowIcon(owner->windowIcon());
    txtKurzHilfe->setPlainText(readShownFile(QStringLiteral("kurzhilfe.txt")));
}

void frmKurzHilfe::Form_Resize() {
    const double tx = window::twipsPerPixelX(this);
    const double ty = window::twipsPerPixelY(this);
    const double h = roundHalfEven(height() * ty + kHelpFrameHeight - 520);
    const double w = roundHalfEven(width() * tx + kHelpFrameWidth - 120);
    const QRect box = txtKurzHilfe->geometry();
    txtKurzHilfe->resize(w > 0 ? int(std::lround(w / tx)) : box.width(),
                         h > 0 ? int(std::lround(h / ty)) : box.height());
}

void frmKurzHilfe::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

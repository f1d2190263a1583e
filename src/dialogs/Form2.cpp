#include "dialogs/Form2.h"

#include "dialogs/frmEditPhrase.h"
#include "platform/SysInfo.h"
#include "platform/boxes.h"
#include "platform/window_modal.h"
#include "platform/window_twips.h"
#include "text/NumberReader.h"
#include "text/QuickTexts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

namespace {
constexpr int kMaxDelaySeconds = 65;

template <typename T> T* make(QWidget* parent, const char* name) {
    auto* control = new T(parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, double left,
                        double top, double width) {
    auto* button = make<QPushButton>(parent, name);
    button->setText(caption);
    button->setAutoDefault(false);
    window::placeTwips(button, left, top, width, 375);
    return button;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, double left,
                     double top, double width, double height) {
    auto* frame = make<QGroupBox>(parent, name);
    frame->setTitle(caption);
    window::placeTwips(frame, left, top, width, height);
    return frame;
}

} // namespace

Form2* Form2::Load(QWidget* owner, const Setup& setup) {
    return loadWith([&] {
        auto* form = new Form2(owner);
        form->Form_Load(setup);
        return form;
    });
}

void Form2::Unload() {
    if (instance())
        frmEditPhrase::Unload(); // owned by the dialog
    SingleInstance<Form2>::Unload();
}

Form2::Form2(QWidget* owner) : QDialog(owner) {
    createControls();
}

void Form2::createControls() {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Optionen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Frame2 = makeFrame(this, "Frame2", QStringLiteral("Farben"), 120, 120, 4455, 735);
    Command3 = makeButton(this, "Command3", QStringLiteral("Fenster"), 240, 360, 735);
    Command4 = makeButton(this, "Command4", QStringLiteral("Text"), 1080, 360, 615);
    Command5 = makeButton(this, "Command5", QStringLiteral("Textfeld"), 1800, 360, 735);
    cmdBtnColor = makeButton(Frame2, "cmdBtnColor", QStringLiteral("Buttons"), 2520, 240, 855);
    Command6 = makeButton(this, "Command6", QStringLiteral("Reset"), 3600, 360, 855);

    Frame6 = makeFrame(this, "Frame6", QStringLiteral("Transparenz"), 120, 960, 4455, 615);
    Frame6->setToolTip(
        QStringLiteral("Transparenz des Hauptfensters festlegen (nur mit einem Compositor)"));
    hsbTransparency = new QScrollBar(Qt::Horizontal, Frame6);
    hsbTransparency->setObjectName(QStringLiteral("hsbTransparency"));
    hsbTransparency->setRange(0, 255);
    hsbTransparency->setSingleStep(1);
    hsbTransparency->setPageStep(25);
    // Scroll bars take no focus by default; this one is in the tab order and answers the keys.
    hsbTransparency->setFocusPolicy(Qt::StrongFocus);
    hsbTransparency->installEventFilter(this);
    window::placeTwips(hsbTransparency, 120, 240, 3615, 255);
    lblTransparency = make<QLabel>(Frame6, "lblTransparency");
    lblTransparency->setText(QStringLiteral("0"));
    window::placeTwips(lblTransparency, 3840, 240, 495, 255);
    lblNoAlphaSupport = make<QLabel>(Frame6, "lblNoAlphaSupport");
    // The window system shows a translucent window only while a compositing manager runs.
    lblNoAlphaSupport->setText(QStringLiteral("Keine Transparenz: nur mit einem Compositor"));
    lblNoAlphaSupport->setToolTip(
        QStringLiteral("Der Fenstermanager zeigt Transparenz nur, wenn ein Compositor läuft.\n"
                       "Beitragsbox prüft das beim Start."));
    window::placeTwips(lblNoAlphaSupport, 120, 240, 3735, 255);

    Frame5 = makeFrame(this, "Frame5", QStringLiteral("Autosave"), 120, 1680, 1815, 735);
    Label1 = make<QLabel>(Frame5, "Label1");
    Label1->setText(QStringLiteral("Intervall in Sek:"));
    window::placeTwips(Label1, 120, 300, 1455, 255);
    Text2 = make<QLineEdit>(this, "Text2");
    Text2->setMaxLength(2);
    window::placeTwips(Text2, 1425, 1920, 375, 285);
    Text2->raise(); // lies over the frame

    Frame4 = makeFrame(this, "Frame4", QStringLiteral("Schnell-Texte"), 2040, 1680, 2535, 735);
    cmdEditPhrase =
        makeButton(Frame4, "cmdEditPhrase", QStringLiteral("Editieren"), 120, 240, 1095);
    Combo1 = make<QComboBox>(Frame4, "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    window::placeTwips(Combo1, 1320, 240, 1095, 315);

    Command1 = makeButton(this, "Command1", QStringLiteral("OK"), 120, 2520, 1455);
    Command1->setDefault(true);
    cmdSysInfo = makeButton(this, "cmdSysInfo", QStringLiteral("System-Info"), 1680, 2520, 1455);
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("Abbrechen"), 3240, 2520, 1335);

    window::fixedSizeTwips(this, 4695, 3015);

    // The colour buttons name only what they colour; a screen reader says what they do.
    Command3->setAccessibleDescription(QStringLiteral("Hintergrundfarbe des Fensters wählen"));
    Command4->setAccessibleDescription(QStringLiteral("Farbe des Beitragstexts wählen"));
    Command5->setAccessibleDescription(
        QStringLiteral("Hintergrundfarbe von Beitragstext, Schnell-Texten und Smilies wählen"));
    cmdBtnColor->setAccessibleDescription(QStringLiteral("Hintergrundfarbe der Buttons wählen"));
    Command6->setAccessibleName(QStringLiteral("Farben zurücksetzen"));
    Command6->setAccessibleDescription(
        QStringLiteral("Setzt alle Farben auf die des Desktops zurück"));
    hsbTransparency->setAccessibleName(QStringLiteral("Transparenz"));
    Text2->setAccessibleName(QStringLiteral("Autosave-Intervall in Sekunden"));
    Combo1->setAccessibleName(QStringLiteral("Schnell-Text zum Editieren"));
    cmdSysInfo->setAccessibleDescription(QStringLiteral("Systeminformationsprogramm starten"));

    QWidget* order[] = {Text2,       Command1,        Command3,      Command4,
                        Command5,    Command6,        cmdEditPhrase, Combo1,
                        cmdBtnColor, hsbTransparency, cmdSysInfo,    cmdCancel};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Command5_Click);
    connect(cmdBtnColor, &QPushButton::clicked, this, &Form2::cmdBtnColor_Click);
    connect(Command6, &QPushButton::clicked, this, &Form2::Command6_Click);
    connect(hsbTransparency, &QScrollBar::valueChanged, this, &Form2::hsbTransparency_Change);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &Form2::cmdCancel_Click);
    connect(cmdEditPhrase, &QPushButton::clicked, this, &Form2::cmdEditPhrase_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &Form2::cmdSysInfo_Click);
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    // Qt's horizontal scroll bar steps backwards on the Right key; a user expects the thumb
    // to move the way the arrow points.
    if (watched == hsbTransparency && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Right || key->key() == Qt::Key_Left)) {
            hsbTransparency->triggerAction(key->key() == Qt::Key_Right
                                               ? QAbstractSlider::SliderSingleStepAdd
                                               : QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form2::Form_Load(const Setup& setup) {
    if (parentWidget())
        setWindowIcon(parentWidget()->windowIcon());
    Combo1->addItems(setup.quickTexts.mid(0, 10));
    Combo1->setCurrentIndex(-1);
    hsbTransparency->setVisible(setup.alphaSupport);
    lblTransparency->setVisible(setup.alphaSupport);
    lblNoAlphaSupport->setVisible(!setup.alphaSupport);
    Text2->setText(QString::number(setup.interval / 1000));
}

void Form2::chooseColor(ColorGroup group) {
    const boxes::ColorChoice choice = boxes::ChooseColorDlg(this);
    if (!choice.blnCancelled)
        emit colorChosen(group, choice.lngColor);
}

void Form2::Command3_Click() {
    chooseColor(ColorGroup::Window);
}

void Form2::Command4_Click() {
    chooseColor(ColorGroup::Text);
}

void Form2::Command5_Click() {
    chooseColor(ColorGroup::TextArea);
}

void Form2::cmdBtnColor_Click() {
    chooseColor(ColorGroup::Buttons);
}

void Form2::Command6_Click() {
    emit colorsReset();
}

void Form2::hsbTransparency_Change() {
    lblTransparency->setText(QString::number(hsbTransparency->value()));
    emit transparencyChanged(hsbTransparency->value());
}

void Form2::Command1_Click() {
    const double v = readNumber(Text2->text(), NumberSyntax::Setting);
    if (v > kMaxDelaySeconds) {
        boxes::MsgBox(QStringLiteral("Autosave-Intervall maximal 65 Sekunden."));
        Text2->setText(QString::number(kMaxDelaySeconds));
    }
    // A negative entry ("-5" fits) would make no sense as an interval: it counts as 0.
    const double seconds = std::max(readNumber(Text2->text(), NumberSyntax::Setting), 0.0);
    emit intervalChosen(int(roundHalfEven(seconds * 1000)));
    hide();
}

void Form2::cmdCancel_Click() {
    Unload();
}

void Form2::reject() {
    // Esc and the close box: as "Abbrechen".
    Unload();
}

int Form2::selectedQuickText() const {
    const int index = Combo1->currentIndex();
    if (index < 0 || Combo1->currentText() != Combo1->itemText(index))
        return -1;
    return index;
}

void Form2::cmdEditPhrase_Click() {
    const int n = selectedQuickText();
    if (n < 0)
        return;
    frmEditPhrase* editor = frmEditPhrase::Load(this, n);
    connect(editor, &frmEditPhrase::saved, this, &Form2::quickTextEdited, Qt::UniqueConnection);
    window::execModal(editor);
}

void Form2::quickTextEdited(int n, const QString& text) {
    Combo1->setItemText(n, quicktexts::comboEntry(n, text));
    emit quickTextSaved(n, text);
}

void Form2::cmdSysInfo_Click() {
    StartSysInfo();
}

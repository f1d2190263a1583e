#include "app/Form1.h"

#include "app/Autosave.h"
#include "app/modMain.h"
#include "markup/Commands.h"
#include "markup/KeyDispatch.h"
#include "markup/QuoteSpacing.h"
#include "markup/Text1Buffer.h"
#include "markup/TextField.h"
#include "options/Transparency.h"
#include "platform/boxes.h"
#include "platform/files.h"
#include "platform/tray.h"
#include "platform/window.h"
#include "settings/Config.h"
#include "settings/clsINIClass.h"
#include "snippets/QuickTexts.h"
#include "snippets/Smilies.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QListWidget>
#include <QPushButton>

namespace {
Form1* g_form1 = nullptr;
int g_unloadRuns = 0;
} // namespace

int Form1::unloadRuns() {
    return g_unloadRuns;
}

Form1::Form1() {
    g_form1 = this;
    createControls();
    m_buffer = std::make_unique<Text1Buffer>(Text1);
    m_autosave = new Autosave(
        [this](bool failing, const QString& reason) { autosaveReport(failing, reason); }, this);
    Text1->keyDown = [this](int KeyCode, int Shift) { return Text1_KeyDown(KeyCode, Shift); };
}

Form1::~Form1() {
    if (g_form1 == this)
        g_form1 = nullptr;
    window::unregisterLoaded(this);
}

Form1* Form1::instance() {
    return g_form1;
}

Form1* Form1::Load() {
    auto* form = new Form1;
    window::registerLoaded(form);
    form->Form_Load();
    return form;
}

void Form1::Form_Load() {
    InitForm();
    m_loaded = true;
}

void Form1::InitForm() {
    const clsINIClass ini;
    setWindowTitle(programCaption());

    for (int n = 0; n < quicktexts::kCount; ++n)
        strQuickText[n] = quicktexts::load(n);
    const auto separators = quicktexts::separators();
    std::copy(separators.begin(), separators.end(), strQuickText.begin() + quicktexts::kCount);
    for (int k = 0; k < int(strQuickText.size()); ++k)
        Combo1->addItem(quicktexts::comboEntry(k, strQuickText[k]));
    Combo1->setCurrentIndex(-1);

    auto read = [this](const config::SettingKey& key) {
        return ReadSetting(QString::fromLatin1(key.name), QString(), QString(), key.maximum,
                           key.minimum, key.fallback);
    };
    auto checkState = [](qint32 v) { return v != 0 ? Qt::Checked : Qt::Unchecked; };
    Check1->setCheckState(checkState(read(config::AutoQuote)));
    Check2->setCheckState(checkState(read(config::AutoSave)));
    Check3->setCheckState(checkState(read(config::AlwaysOnTop))); // on top from here on

    setBackColor(ColorGroup::Window, read(config::FormBackColor));

    Timer1->setInterval(read(config::AutoSaveDelay) * 1000);
    Timer1->setEnabled(Timer1->Interval() > 0);

    window::setForeColor(Text1, read(config::TextColor));
    setBackColor(ColorGroup::TextArea, read(config::TextBackColor));
    setBackColor(ColorGroup::Buttons, read(config::ButtonBackColor));

    bytTransparency = uint8_t(read(config::Transparency));
    if (blnAlphaSupport)
        SetTransparency(this, bytTransparency);

    List1->addItems(smilies::load(ini.strDefaultFileName()));
    AddSysTrayIcon();
}

void Form1::Check3_Click() {
    ToggleAOT(Check3->checkState() != Qt::Unchecked ? 1 : 0);
}

bool Form1::closeBoxHides() const {
    // Hiding is only safe where a tray icon can bring the window back.
    return m_tray && m_tray->isShown() && TrayIcon::available();
}

void Form1::closeEvent(QCloseEvent* event) {
    // Only the window system asks to close: the program itself unloads through Unload. Qt never
    // closes the window by itself; the unload road decides.
    event->ignore();
    Unload(0);
}

void Form1::Unload(int UnloadMode) {
    if (m_unloading)
        return;
    m_unloading = true;
    int Cancel = 0;
    Form_QueryUnload(Cancel, UnloadMode);
    if (Cancel != 0) {
        m_unloading = false;
        return;
    }
    Form_Unload(Cancel);
    hide();
    if (g_form1 == this)
        g_form1 = nullptr;
    window::unregisterLoaded(this);
    deleteLater();
}

void Form1::Form_QueryUnload(int& Cancel, int& UnloadMode) {
    if (UnloadMode == 0 && closeBoxHides()) {
        Cancel = 1;
        hide();
        return;
    }
    RemoveSysTrayIcon();
    EndProgram();
}

void Form1::Form_Unload(int& /*Cancel*/) {
    ++g_unloadRuns;
    RemoveSysTrayIcon();
    Timer1->setEnabled(false);
    finishAutosave();
    SaveSettings();
}

void Form1::finishAutosave() {
    m_autosave->finish();
}

void Form1::Timer1_Timer() {
    m_autosave->save(m_buffer->Text());
}

void Form1::autosaveReport(bool failing, const QString& reason) {
    // Never a modal box: the user may be typing, or away with the window hidden.
    if (failing) {
        setWindowTitle(programCaption() + QStringLiteral(" – Autosave fehlgeschlagen"));
        qWarning().noquote() << QStringLiteral(
                                    "Autosave: \"%1\" konnte nicht geschrieben werden: %2")
                                    .arg(Autosave::fileName(), reason);
    } else {
        setWindowTitle(programCaption());
        qWarning().noquote() << QStringLiteral("Autosave: \"%1\" wird wieder geschrieben.")
                                    .arg(Autosave::fileName());
    }
}

void Form1::Combo1_Click() {
    if (Combo1->currentIndex() < 0)
        Combo1->setCurrentIndex(0);
    quicktexts::insert(*m_buffer, strQuickText[Combo1->currentIndex()]);
}

void Form1::List1_Click() {
    if (QListWidgetItem* item = List1->currentItem())
        smilies::insert(*m_buffer, item->text());
}

void Form1::changeEvent(QEvent* event) {
    // Scheme colours follow a change of the desktop theme.
    if (event->type() == QEvent::ApplicationPaletteChange)
        window::refreshColors(this);
    QWidget::changeEvent(event);
}

void Form1::Command1_Click() {
    commands::quote(*m_buffer, Check1->checkState() != Qt::Unchecked);
}
void Form1::Command2_Click() {
    commands::bold(*m_buffer);
}
void Form1::Command3_Click() {
    commands::italic(*m_buffer);
}
void Form1::Command4_Click() {
    commands::link(*m_buffer);
}
void Form1::Command5_Click() {
    commands::list(*m_buffer);
}

void Form1::markAll() {
    m_buffer->setSelStart(0);
    m_buffer->setSelLength(m_buffer->TextLength());
}

void Form1::jumpToEnd() {
    m_buffer->setSelStart(m_buffer->TextLength());
}

void Form1::formatQuotes() {
    m_buffer->setText(strFormat(m_buffer->Text()));
}

void Form1::saveUserCopy() {
    const QString name = QStringLiteral("usersave.txt");
    const files::WriteResult result = files::writeTextFile(name, m_buffer->Text());
    if (!result.ok)
        boxes::MsgBox(QStringLiteral("Der Text konnte nicht in die Datei \"%1\" gespeichert "
                                     "werden.\n%2\nDer Text im Editor ist unverändert.")
                          .arg(name, result.reason));
}

bool Form1::Text1_KeyDown(int KeyCode, int Shift) {
    switch (Text1KeyAction(KeyCode, Shift)) {
    case KeyAction::None:
        return false;
    case KeyAction::Save:
        saveUserCopy();
        break;
    case KeyAction::Quote:
        Command1_Click();
        break;
    case KeyAction::Link:
        Command4_Click();
        break;
    case KeyAction::MarkAll:
        markAll();
        break;
    case KeyAction::List:
        Command5_Click();
        break;
    case KeyAction::Bold:
        Command2_Click();
        break;
    case KeyAction::Italic:
        Command3_Click();
        break;
    case KeyAction::JumpToEnd:
        jumpToEnd();
        break;
    case KeyAction::Format:
        formatQuotes();
        break;
    }
    return true;
}

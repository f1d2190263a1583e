#include "app/Form1.h"

#include "app/Autosave.h"
#include "app/modMain.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "platform/clsINIClass.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/tray.h"
#include "platform/window_colors.h"
#include "platform/window_loaded.h"
#include "platform/window_modal.h"
#include "spelling/NuspellEngine.h"
#include "text/Commands.h"
#include "text/KeyDispatch.h"
#include "text/QuickTexts.h"
#include "text/QuoteSpacing.h"
#include "text/Smilies.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

Form1::Form1() {
    createControls();
    m_buffer = std::make_unique<EditFieldBuffer>(Text1);
    m_aids = new WritingAids(Text1, new NuspellEngine);
    m_autosave = new Autosave(
        [this](bool failing, const QString& reason) { autosaveReport(failing, reason); }, this);
    Text1->keyDown = [this](int KeyCode, int Shift) {
        keyPressed();
        return Text1_KeyDown(KeyCode, Shift);
    };
    m_tickAfterKey = new QTimer(this);
    m_tickAfterKey->setSingleShot(true);
    connect(m_tickAfterKey, &QTimer::timeout, this, &Form1::autosaveNow);
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(2000);
    connect(m_trayWatch, &QTimer::timeout, this, &Form1::watchTray);
    connect(Text1, &TextField::contextMenuAboutToShow, this, &Form1::addRecoveryItem);
    connect(Text1->document(), &QTextDocument::contentsChanged, this,
            [this] { m_changedSinceAutosave = true; });
}

Form1::~Form1() {
    window::unregisterLoaded(this);
}

Form1* Form1::Load(bool alphaSupport) {
    bool created = false;
    Form1* form = loadWith([] { return new Form1; }, &created);
    if (created) {
        form->m_alphaSupport = alphaSupport;
        window::registerLoaded(form);
        form->Form_Load();
    }
    return form;
}

void Form1::Form_Load() {
    InitForm();
    m_loaded = true;
}

void Form1::InitForm() {
    const clsINIClass ini;
    // One reading of the settings file serves the settings and the smilies.
    const profile::Loaded loaded = profile::load(ini.strDefaultFileName());
    const profile::Document& settings = loaded.document;
    if (!loaded.ok)
        settingsUnreadable(ini.strDefaultFileName(), loaded.reason);
    setWindowTitle(programCaption());

    QStringList tooLarge;
    for (int n = 0; n < quicktexts::kCount; ++n) {
        const files::ReadResult read =
            files::readTextFile(quicktexts::fileName(n), files::kMaxUserText);
        // Files written on Linux have bare LF; the caret arithmetic counts CR LF.
        m_quickTexts[n] = read.ok ? toCrLf(read.text) : QString();
        if (read.tooLarge)
            tooLarge << QStringLiteral("\"%1\": %2").arg(quicktexts::fileName(n), read.reason);
    }
    if (!tooLarge.isEmpty())
        boxes::MsgBox(
            QStringLiteral("Diese Schnell-Texte wurden nicht gelesen und bleiben leer:\n") +
            tooLarge.join(QLatin1Char('\n')));
    const auto separators = quicktexts::separators();
    std::copy(separators.begin(), separators.end(), m_quickTexts.begin() + quicktexts::kCount);
    for (int k = 0; k < int(m_quickTexts.size()); ++k)
        Combo1->addItem(quicktexts::comboEntry(k, m_quickTexts[k]));
    Combo1->setCurrentIndex(-1);

    LoadSettings(settings.values(ini.strDefaultSection()));

    List1->addItems(smilies::load(settings));
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
    // Hidden before the last loaded window goes: quitting asks the visible windows to close.
    SingleInstance<Form1>::Unload();
    window::unregisterLoaded(this);
}

void Form1::Form_QueryUnload(int& Cancel, int& UnloadMode) {
    if (UnloadMode == 0 && closeBoxHides()) {
        Cancel = 1;
        hide();
        m_trayMissing = 0;
        m_trayWatch->start();
        return;
    }
    RemoveSysTrayIcon();
    EndProgram();
}

void Form1::watchTray() {
    if (isVisible()) {
        m_trayWatch->stop();
        return;
    }
    // Two checks in a row: a panel that restarts comes back within them.
    m_trayMissing = TrayIcon::available() ? 0 : m_trayMissing + 1;
    if (m_trayMissing < 2)
        return;
    m_trayWatch->stop();
    show();
    window::activate(this);
}

void Form1::Form_Unload(int& /*Cancel*/) {
    m_trayWatch->stop();
    RemoveSysTrayIcon();
    Timer1->setEnabled(false);
    m_tickAfterKey->stop();
    finishAutosave();
    SaveSettings();
    emit unloaded();
}

void Form1::keepForAbruptEnd() {
    m_unloading = true;
    finishAutosave();
    SaveSettings();
}

void Form1::finishAutosave() {
    m_autosave->finish();
}

namespace {
// Keys closer together than this are typing.
constexpr int kTypingPauseMs = 250;
// After a key, its repaint comes first.
constexpr int kAfterKeyMs = 5;
} // namespace

void Form1::Timer1_Timer() {
    if (m_lastKey.isValid() && m_lastKey.elapsed() < kTypingPauseMs) {
        if (!m_tickAfterKey->isActive())
            m_tickAfterKey->start(kTypingPauseMs);
        return;
    }
    autosaveNow();
}

void Form1::keyPressed() {
    m_lastKey.start();
    if (m_tickAfterKey->isActive() && m_tickAfterKey->remainingTime() > kAfterKeyMs)
        m_tickAfterKey->start(kAfterKeyMs);
}

void Form1::autosaveNow() {
    m_tickAfterKey->stop();
    // An unchanged text is not written again: after a crash, the copy from the last run stays
    // until the user changes the text of this one.
    if (!m_changedSinceAutosave && !m_autosave->failing())
        return;
    m_changedSinceAutosave = false;
    m_autosave->save(m_buffer->rawText());
}

void Form1::addRecoveryItem(QMenu* menu) {
    const QFileInfo file(Autosave::fileName());
    menu->addSeparator();
    QAction* load =
        menu->addAction(QStringLiteral("Automatische Sicherung laden"), this, &Form1::loadAutosave);
    load->setEnabled(file.isFile() && file.size() > 0);
}

void Form1::loadAutosave() {
    const files::ReadResult read = files::readTextFile(Autosave::fileName());
    if (!read.ok) {
        boxes::MsgBox(QStringLiteral("Die automatische Sicherung \"%1\" konnte nicht gelesen "
                                     "werden.\n%2")
                          .arg(Autosave::fileName(), read.reason));
        return;
    }
    // The file is the text and one CR LF; one undo step brings back what was there.
    QString text = toCrLf(read.text);
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    m_buffer->setText(text);
    m_buffer->SetFocus();
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

void Form1::setQuickText(int n, const QString& text) {
    Combo1->setItemText(n, quicktexts::comboEntry(n, text));
    m_quickTexts[n] = text;
}

void Form1::Combo1_Click() {
    if (Combo1->currentIndex() < 0)
        Combo1->setCurrentIndex(0);
    quicktexts::insert(*m_buffer, m_quickTexts[Combo1->currentIndex()]);
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
    const bool autoQuote = Check1->checkState() != Qt::Unchecked;
    // The clipboard counts only with AutoQuote and nothing selected.
    const bool fromClipboard = autoQuote && m_buffer->SelLength() == 0;
    commands::quote(*m_buffer, autoQuote, fromClipboard ? clipboard::ClipboardText() : QString());
}
void Form1::Command2_Click() {
    commands::bold(*m_buffer);
}
void Form1::Command3_Click() {
    commands::italic(*m_buffer);
}
void Form1::Command4_Click() {
    commands::link(*m_buffer, clipboard::ClipboardText());
}
void Form1::Command5_Click() {
    const QString answer =
        boxes::InputBox(QStringLiteral("Wieviele Listenpunkte?"), QStringLiteral("Liste anlegen"));
    if (commands::list(*m_buffer, answer) == commands::ListResult::TooMany)
        boxes::MsgBox(QStringLiteral("Zu viele Listenpunkte"));
}

void Form1::markAll() {
    m_buffer->setSelStart(0);
    m_buffer->setSelLength(m_buffer->TextLength());
}

void Form1::jumpToEnd() {
    m_buffer->setSelStart(m_buffer->TextLength());
}

void Form1::formatQuotes() {
    // Tidied in the edit field's own text: a large post is not copied to CR LF and back.
    const quotespacing::Tidying tidying =
        quotespacing::tidy(m_buffer->rawText(), quotespacing::Breaks::Paragraph);
    if (tidying.failed)
        boxes::MsgBox(QStringLiteral("Fehler in strFormat"), boxes::Icon::Critical,
                      QStringLiteral("Fehler"));
    m_buffer->removeFromRawText(tidying.deletions);
}

void Form1::saveUserCopy() {
    const QString name = QStringLiteral("usersave.txt");
    const files::WriteResult result = files::writeFile(name, fileBytes(m_buffer->rawText()));
    if (!result.ok)
        boxes::MsgBox(QStringLiteral("Der Text konnte nicht in die Datei \"%1\" gespeichert "
                                     "werden.\n%2\nDer Text im Editor ist unverändert.")
                          .arg(name, result.reason));
}

bool Form1::Text1_KeyDown(int KeyCode, int Shift) {
    // By name, not by position: the order of KeyAction's values does not matter.
    switch (EditKeyAction(KeyCode, Shift)) {
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

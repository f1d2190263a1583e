#include "app/Form1.h"

#include "app/DraftKeeper.h"
#include "app/modMain.h"
#include "dialogs/DraftsWindow.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "platform/BackgroundWriter.h"
#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "platform/clsINIClass.h"
#include "platform/draftfolder.h"
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
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

namespace {
// Relative: the working folder the program started in, held for the run.
const QString kAutosaveFile = QStringLiteral("autosave.txt");
// Keys closer together than this are typing.
constexpr int kTypingPauseMs = 250;
// After a key, its repaint comes first.
constexpr int kAfterKeyMs = 5;
constexpr int kTidyAfterStartMs = 250;
} // namespace

Form1::Form1() {
    createControls();
    m_buffer = std::make_unique<EditFieldBuffer>(Text1);
    m_aids = new WritingAids(Text1, new NuspellEngine);
    m_autosave = new BackgroundWriter(
        kAutosaveFile,
        [this](bool failing, const QString& reason) { autosaveReport(failing, reason); }, false,
        this);
    m_drafts = new DraftKeeper(
        draftfolder::path(), QDateTime::currentDateTime(),
        [this](bool failing, const QString& reason) { draftReport(failing, reason); }, this);
    connect(m_drafts, &DraftKeeper::due, this, [this] { copyBetweenKeys(DraftCopy); });
    // After the window is up: the tidying must not take a core from the first paint.
    QTimer::singleShot(kTidyAfterStartMs, m_drafts, &DraftKeeper::tidyInBackground);
    Text1->keyDown = [this](int KeyCode, int Shift) {
        keyPressed();
        return Text1_KeyDown(KeyCode, Shift);
    };
    m_tickAfterKey = new QTimer(this);
    m_tickAfterKey->setSingleShot(true);
    connect(m_tickAfterKey, &QTimer::timeout, this, &Form1::copyPending);
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(2000);
    connect(m_trayWatch, &QTimer::timeout, this, &Form1::watchTray);
    connect(Text1, &TextField::contextMenuAboutToShow, this, &Form1::addRecoveryItem);
    setUpPreview();
    setUpPaste();
    connect(Text1->document(), &QTextDocument::contentsChanged, this, [this] {
        m_changedSinceAutosave = true;
        m_drafts->changed();
    });
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
    m_drafts->saveAtEnd(m_buffer->rawText());
    SaveSettings();
    emit unloaded();
}

void Form1::keepForAbruptEnd() {
    m_unloading = true;
    finishAutosave();
    m_drafts->saveAtEnd(m_buffer->rawText());
    SaveSettings();
}

void Form1::finishAutosave() {
    m_autosave->finish();
}

void Form1::Timer1_Timer() {
    copyBetweenKeys(AutosaveCopy);
}

void Form1::copyBetweenKeys(int copies) {
    m_pendingCopies |= copies;
    if (m_lastKey.isValid() && m_lastKey.elapsed() < kTypingPauseMs) {
        if (!m_tickAfterKey->isActive())
            m_tickAfterKey->start(kTypingPauseMs);
        return;
    }
    copyPending();
}

void Form1::saveDraftNow() {
    m_pendingCopies |= DraftCopy;
    copyPending();
}

void Form1::keyPressed() {
    m_lastKey.start();
    if (m_tickAfterKey->isActive() && m_tickAfterKey->remainingTime() > kAfterKeyMs)
        m_tickAfterKey->start(kAfterKeyMs);
}

void Form1::copyPending() {
    m_tickAfterKey->stop();
    const int copies = std::exchange(m_pendingCopies, 0);
    // An unchanged text is not written again: after a crash, the copy from the last run stays
    // until the user changes the text of this one.
    const bool autosave =
        (copies & AutosaveCopy) && (m_changedSinceAutosave || m_autosave->failing());
    const bool draft = (copies & DraftCopy) && m_drafts->pending();
    if (!autosave && !draft)
        return;
    // One copy of a large text serves both.
    const QString text = m_buffer->rawText();
    if (autosave) {
        m_changedSinceAutosave = false;
        m_autosave->save(text);
    }
    if (draft)
        m_drafts->save(text);
}

void Form1::addRecoveryItem(QMenu* menu) {
    const QFileInfo file(kAutosaveFile);
    menu->addSeparator();
    QAction* load =
        menu->addAction(QStringLiteral("Automatische Sicherung laden"), this, &Form1::loadAutosave);
    load->setEnabled(file.isFile() && file.size() > 0);
    menu->addAction(QStringLiteral("Frühere &Entwürfe…"), this, [this] { showDrafts(); });
    QAction* keep = menu->addAction(QStringLiteral("Entwürfe &behalten"));
    keep->setCheckable(true);
    keep->setChecked(m_drafts->enabled());
    connect(keep, &QAction::toggled, m_drafts, &DraftKeeper::setEnabled);
    menu->addSeparator();
    QAction* preview = menu->addAction(QStringLiteral("&Vorschau"), this, &Form1::togglePreview);
    preview->setCheckable(true);
    preview->setChecked(previewShown());
    preview->setShortcut(QKeySequence(Qt::Key_F5));
    preview->setShortcutContext(Qt::WidgetShortcut); // F5 itself is the window's
    menu->addAction(QStringLiteral("Als HT&ML kopieren"), this, &Form1::copyAsHtml);
    menu->addSeparator();
    QAction* paste =
        menu->addAction(QStringLiteral("Als BBCo&de einfügen"), this, &Form1::pasteAsMarkup);
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    paste->setShortcutContext(Qt::WidgetShortcut); // the key itself is the window's
    QAction* colors = menu->addAction(QStringLiteral("Farben und &Größen übernehmen"));
    colors->setCheckable(true);
    colors->setChecked(m_pasteColors);
    connect(colors, &QAction::toggled, this, &Form1::setPasteColors);
}

DraftsWindow* Form1::showDrafts() {
    if (!m_draftsWindow) {
        m_draftsWindow = new DraftsWindow(m_drafts->folder(), m_drafts->fileName(), this);
        connect(m_draftsWindow, &DraftsWindow::loadRequested, this, &Form1::loadText);
        // The window manager gives the focus to no window of the program otherwise.
        connect(m_draftsWindow, &QDialog::finished, this, [this] {
            window::activate(this);
            m_buffer->SetFocus();
        });
    }
    // The list is read again at each opening: other runs may have written since.
    m_draftsWindow->open();
    return m_draftsWindow;
}

void Form1::loadText(const QString& text) {
    m_buffer->setText(toCrLf(text));
    m_buffer->SetFocus();
}

void Form1::loadAutosave() {
    const files::ReadResult read = files::readTextFile(kAutosaveFile);
    if (!read.ok) {
        boxes::MsgBox(QStringLiteral("Die automatische Sicherung \"%1\" konnte nicht gelesen "
                                     "werden.\n%2")
                          .arg(kAutosaveFile, read.reason));
        return;
    }
    // The file is the text and one CR LF; one undo step brings back what was there.
    loadText(withoutClosingBreak(read.text));
}

// Never a modal box for a background write: the user may be typing, or away with the window
// hidden. The caption tells while writes fail, a warning when they start and stop failing.
void Form1::autosaveReport(bool failing, const QString& reason) {
    if (failing)
        qWarning().noquote() << QStringLiteral(
                                    "Autosave: \"%1\" konnte nicht geschrieben werden: %2")
                                    .arg(kAutosaveFile, reason);
    else
        qWarning().noquote()
            << QStringLiteral("Autosave: \"%1\" wird wieder geschrieben.").arg(kAutosaveFile);
    updateCaption();
}

void Form1::draftReport(bool failing, const QString& reason) {
    if (failing)
        qWarning().noquote() << QStringLiteral(
                                    "Entwurf: \"%1\" konnte nicht geschrieben werden: %2")
                                    .arg(m_drafts->path(), reason);
    else
        qWarning().noquote()
            << QStringLiteral("Entwurf: \"%1\" wird wieder geschrieben.").arg(m_drafts->path());
    updateCaption();
}

void Form1::updateCaption() {
    QString caption = programCaption();
    if (m_autosave->failing())
        caption += QStringLiteral(" – Autosave fehlgeschlagen");
    if (m_drafts->failing())
        caption += QStringLiteral(" – Entwurf nicht gespeichert");
    setWindowTitle(caption);
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

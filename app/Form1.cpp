#include "app/Form1.h"

#include "app/modMain.h"
#include "markup/Commands.h"
#include "markup/KeyDispatch.h"
#include "markup/QuoteSpacing.h"
#include "markup/Text1Buffer.h"
#include "markup/TextField.h"
#include "platform/boxes.h"
#include "platform/files.h"
#include "platform/window.h"

#include <QCheckBox>
#include <QCloseEvent>

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
}

void Form1::InitForm() {
    // Steps whose features are not built yet stay empty hooks, in their place in the order:
    // settings accessor, quick texts and separators, check boxes, colours, autosave interval,
    // transparency, smilies, tray icon.
    setWindowTitle(programCaption());
}

void Form1::Check3_Click() {
    // Always-on-top joins here.
}

bool Form1::closeBoxHides() const {
    // Hiding is only safe where a tray icon can bring the window back.
    return false;
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
    // Tray icon removal joins here; then the rest of the program is unloaded.
    EndProgram();
}

void Form1::Form_Unload(int& /*Cancel*/) {
    ++g_unloadRuns;
    // Tray icon removal and saving the settings join here.
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

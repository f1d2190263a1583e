// The main window's tray icon, always-on-top and the windows it opens.
#include "app/Form1.h"

#include "app/modMain.h"
#include "dialogs/Form2.h"
#include "dialogs/InfoWindows.h"
#include "dialogs/frmMenu.h"
#include "platform/ProgramIcon.h"
#include "platform/Transparency.h"
#include "platform/tray.h"
#include "platform/window_modal.h"
#include "text/QuickTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QWindow>

namespace {

// The tray menu, loaded on first use and wired to the main window.
frmMenu* loadTrayMenu(Form1* form) {
    bool created = false;
    frmMenu* menu = frmMenu::Load(&created);
    if (created) {
        auto suspended = [form](void (Form1::*open)()) {
            return
                [form, open] { form->openWithTopmostSuspended([form, open] { (form->*open)(); }); };
        };
        QObject::connect(menu, &frmMenu::mnuAbout_Click, form, suspended(&Form1::showAbout));
        QObject::connect(menu, &frmMenu::mnuKurzHilfe_Click, form,
                         suspended(&Form1::showKurzHilfe));
        QObject::connect(menu, &frmMenu::mnuOptions_Click, form, suspended(&Form1::showOptions));
        QObject::connect(menu, &frmMenu::mnuBeenden_Click, form, [form] {
            form->setEndReason(EndReason::User);
            EndProgram();
        });
    }
    return menu;
}

} // namespace

void Form1::AddSysTrayIcon() {
    if (!m_tray) {
        m_tray = new TrayIcon(this);
        connect(m_tray, &TrayIcon::notification, this,
                [this](int message) { picSysTrayIcon_MouseMove(message); });
    }
    // A host that draws the menu itself needs it before any click.
    QMenu* hostMenu = TrayIcon::hostDrawsMenu() ? loadTrayMenu(this)->mnuDatei : nullptr;
    m_tray->add(programIcon(), QStringLiteral("Beitragsbox (Rechtsklick für Menü)"), hostMenu);
}

void Form1::RemoveSysTrayIcon() {
    if (m_tray)
        m_tray->remove();
}

void Form1::picSysTrayIcon_MouseMove(int message) {
    if (message == TrayIcon::kLeftButtonUp) {
        // A window manager may have minimised it, although it has no minimise box.
        if (isMinimized())
            setWindowState(windowState() & ~Qt::WindowMinimized);
        setVisible(true);
        window::activate(this);
    } else if (message == TrayIcon::kRightButtonUp) {
        loadTrayMenu(this)->mnuDatei->popup(QCursor::pos());
    }
}

void Form1::ToggleAOT(uint8_t bytStatus) {
    const bool on = bytStatus == 1;
    // The widget's record and the existing native window are changed apart: setWindowFlag
    // would re-create the X window (flicker, and the task-bar state lost).
    overrideWindowFlags(on ? windowFlags() | Qt::WindowStaysOnTopHint
                           : windowFlags() & ~Qt::WindowStaysOnTopHint);
    if (windowHandle())
        windowHandle()->setFlag(Qt::WindowStaysOnTopHint, on);
    // While loading, the start shows the window right after, once the tray icon decides its
    // task-bar state.
    if (!isVisible() && m_loaded) {
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

bool Form1::isTopmost() const {
    // The native window's own flags once it exists: they are what the window manager gets.
    return windowHandle() ? windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint)
                          : windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void Form1::openWithTopmostSuspended(const std::function<void()>& open) {
    const bool onTop = Check3->checkState() != Qt::Unchecked;
    if (onTop)
        ToggleAOT(0);
    open();
    if (onTop)
        ToggleAOT(1);
}

void Form1::cmdInfo_Click() {
    openWithTopmostSuspended([this] { showOptions(); });
}

void Form1::showAbout() {
    auto* about = new frmAbout(this, programCaption());
    window::execModal(about);
}

void Form1::showKurzHilfe() {
    frmKurzHilfe::Show(this);
}

void Form1::showOptions() {
    window::execModal(loadOptions());
}

Form2* Form1::loadOptions() {
    Form2::Setup setup;
    for (int i = 0; i < quicktexts::kCount; ++i)
        setup.quickTexts << Combo1->itemText(i);
    setup.interval = Timer1->Interval();
    setup.alphaSupport = m_alphaSupport;
    Form2* options = Form2::Load(this, setup);
    connect(options, &Form2::colorChosen, this, &Form1::setColor, Qt::UniqueConnection);
    connect(options, &Form2::colorsReset, this, &Form1::resetColors, Qt::UniqueConnection);
    connect(options, &Form2::intervalChosen, this, &Form1::setAutosaveInterval,
            Qt::UniqueConnection);
    connect(options, &Form2::transparencyChanged, this, &Form1::applyTransparency,
            Qt::UniqueConnection);
    connect(options, &Form2::quickTextSaved, this, &Form1::setQuickText, Qt::UniqueConnection);
    options->hsbTransparency->setValue(m_transparency);
    return options;
}

void Form1::setAutosaveInterval(int milliseconds) {
    Timer1->setInterval(milliseconds);
    // Entering an interval asks for autosave; 0 stops the ticks and leaves the box alone.
    if (milliseconds > 0)
        Check2->setCheckState(Qt::Checked);
}

void Form1::keepAutosaveRunning() {
    constexpr int kUsualIntervalMs = 10000;
    if (Check2->checkState() == Qt::Unchecked || Timer1->Interval() > 0)
        return;
    Timer1->setInterval(kUsualIntervalMs);
    if (Form2* options = Form2::instance())
        options->Text2->setText(QString::number(kUsualIntervalMs / 1000));
}

void Form1::applyTransparency(int level) {
    if (!m_alphaSupport)
        return;
    m_transparency = uint8_t(level);
    SetTransparency(this, level);
}

void Form1::keepTransparency(int level) {
    m_transparency = uint8_t(level);
    if (m_alphaSupport)
        SetTransparency(this, level);
}

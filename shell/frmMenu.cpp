#include "shell/frmMenu.h"

#include "app/Form1.h"
#include "app/modMain.h"
#include "platform/window.h"

#include <QMenu>

namespace {
frmMenu* g_menu = nullptr;
} // namespace

frmMenu::frmMenu() {
    setObjectName(QStringLiteral("frmMenu"));
    mnuDatei = new QMenu(QStringLiteral("Datei"), this);
    mnuDatei->setObjectName(QStringLiteral("mnuDatei"));
    mnuAbout =
        mnuDatei->addAction(QStringLiteral("Über Beitragsbox..."), this, &frmMenu::mnuAbout_Click);
    mnuKurzHilfe =
        mnuDatei->addAction(QStringLiteral("Kurzhilfe..."), this, &frmMenu::mnuKurzHilfe_Click);
    mnuOptions =
        mnuDatei->addAction(QStringLiteral("Optionen..."), this, &frmMenu::mnuOptions_Click);
    mnuBeenden = mnuDatei->addAction(QStringLiteral("Beenden"), this, &frmMenu::mnuBeenden_Click);
}

frmMenu::~frmMenu() {
    if (g_menu == this)
        g_menu = nullptr;
}

frmMenu* frmMenu::instance() {
    return g_menu;
}

frmMenu* frmMenu::Load() {
    if (!g_menu)
        g_menu = new frmMenu;
    return g_menu;
}

void frmMenu::Unload() {
    if (g_menu)
        g_menu->mnuDatei->close();
    window::unloadLater(g_menu);
}

void frmMenu::mnuAbout_Click() {
    if (Form1* form = Form1::instance())
        form->openWithTopmostSuspended([form] { form->showAbout(); });
}

void frmMenu::mnuKurzHilfe_Click() {
    if (Form1* form = Form1::instance())
        form->openWithTopmostSuspended([form] { form->showKurzHilfe(); });
}

void frmMenu::mnuOptions_Click() {
    if (Form1* form = Form1::instance())
        form->openWithTopmostSuspended([form] { form->showOptions(); });
}

void frmMenu::mnuBeenden_Click() {
    endReason = EndReason::User;
    EndProgram();
}

#include "dialogs/frmMenu.h"

#include <QMenu>

frmMenu::frmMenu() {
    setObjectName(QStringLiteral("frmMenu"));
    mnuDatei = new QMenu(QStringLiteral("Datei"), this);
    mnuDatei->setObjectName(QStringLiteral("mnuDatei"));
    // Each item has a letter to choose it by from the keyboard (shown underlined).
    mnuAbout =
        mnuDatei->addAction(QStringLiteral("&Über Beitragsbox..."), this, &frmMenu::mnuAbout_Click);
    mnuKurzHilfe =
        mnuDatei->addAction(QStringLiteral("&Kurzhilfe..."), this, &frmMenu::mnuKurzHilfe_Click);
    mnuOptions =
        mnuDatei->addAction(QStringLiteral("&Optionen..."), this, &frmMenu::mnuOptions_Click);
    mnuBeenden = mnuDatei->addAction(QStringLiteral("&Beenden"), this, &frmMenu::mnuBeenden_Click);
}

frmMenu* frmMenu::Load(bool* created) {
    return loadWith([] { return new frmMenu; }, created);
}

void frmMenu::Unload() {
    if (instance())
        instance()->mnuDatei->close();
    SingleInstance<frmMenu>::Unload();
}

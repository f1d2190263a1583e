#pragma once
#include "platform/SingleInstance.h"

#include <QWidget>

class QAction;
class QMenu;

// The never-shown window that carries the tray menu "Datei". Created on first use; each item
// reports its choice, the main window acts on it.
class frmMenu : public QWidget, public SingleInstance<frmMenu> {
    Q_OBJECT
public:
    // The menu and its items, top to bottom.
    QMenu* mnuDatei = nullptr;       // "Datei": the tray menu
    QAction* mnuAbout = nullptr;     // "Über Beitragsbox...": the About window
    QAction* mnuKurzHilfe = nullptr; // "Kurzhilfe...": the quick-help window
    QAction* mnuOptions = nullptr;   // "Optionen...": the options dialog
    QAction* mnuBeenden = nullptr;   // "Beenden": ends the program

    // The loaded menu window, or a new one (then `*created` is set).
    static frmMenu* Load(bool* created = nullptr);
    // Unloads it if loaded, closing the menu if it is open.
    static void Unload();

signals:
    void mnuAbout_Click();
    void mnuKurzHilfe_Click();
    void mnuOptions_Click();
    void mnuBeenden_Click();

private:
    frmMenu();
};
